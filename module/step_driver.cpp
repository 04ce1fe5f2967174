// step_driver.cpp: the work of every simulation step and the time-acceleration hook.
#include <Orbitersdk.h>

#include "driver_state.h"
#include "ship_table.h"
#include "step_driver.h"

namespace kavrex {

void SampleShipState(int ship) {
    ShipRecord &r = Ship(ship);
    oapiGetGlobalPos(r.vesselHandle, &r.shipPos);
    oapiGetGlobalVel(r.vesselHandle, &r.shipVel);
    if (length(r.shipVel) > r.maxVel) r.maxVel = length(r.shipVel);
    r.mass = r.vessel->GetMass();
    VECTOR3 weight;
    r.vessel->GetWeightVector(weight);
    Driver().weightAccel = _V(weight.x / r.mass, weight.y / r.mass, weight.z / r.mass);
    for (uint32_t j = 0; j < r.bodyCount; ++j) {
        oapiGetGlobalPos(r.bodies[j].handle, &r.bodyPos[j]);
        r.bodyRelPos[j] = r.bodyPos[j] - r.shipPos;
        oapiGetGlobalVel(r.bodies[j].handle, &r.bodyVel[j]);
        r.bodyRelVel[j] = r.bodyVel[j] - r.shipVel;
        const double d = length(r.bodyRelPos[j]);
        r.bodyG[j] = r.bodies[j].gm / (d * d);
    }
    r.targetDist = length(r.bodyRelPos[r.targetBody]) - r.bodies[r.targetBody].radius;
    r.sourceDist = length(r.bodyRelPos[r.sourceBody]) - r.bodies[r.sourceBody].radius;
    oapiGetRotationMatrix(r.vesselHandle, &r.rotation);
}

}  // namespace kavrex

using namespace kavrex;

DLLCLBK void opcPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    // Autofill, steering, drive and the focus trajectory come with the flight driver; until
    // then a step changes nothing.
}

DLLCLBK void opcTimeAccChanged(double new_warp, double /*old_warp*/) {
    // Above 100x the attitude autopilot could not keep up: switch it off for every vessel.
    if (!(new_warp > 100)) return;
    for (uint32_t i = 0; i < ShipCount(); ++i) {
        ShipRecord &r = Ship(static_cast<int>(i));
        if (r.vessel) r.attitudeHold = false;
    }
}
