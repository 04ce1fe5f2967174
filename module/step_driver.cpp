// step_driver.cpp: the work of every simulation step and the time-acceleration hook.
//
// Every claimed record, not only the focus vessel's, is refilled, sampled, steered and driven in
// each step; the focus record alone gets a new prediction, and only once the display has taken
// the previous one (the display buffer's ready flag is clear).
#include <Orbitersdk.h>

#include "../controls/attitude.h"
#include "../engine/propagate.h"
#include "../model/module_state.h"
#include "../model/units.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"
#include "step_driver.h"

#include <cmath>

namespace kavrex {

void RefillTanks(ShipRecord &r) {
    VESSEL *v = r.vessel;
    for (DWORD k = 0; k < v->GetPropellantCount(); ++k) {
        PROPELLANT_HANDLE h = v->GetPropellantHandleByIndex(k);
        const double capacity = v->GetPropellantMaxMass(h);
        // A tank of no capacity gives a non-number or infinity here, never below the mark.
        const double ratio = v->GetPropellantMass(h) / capacity;
        if (!(ratio < 0.002)) continue;
        v->SetPropellantMass(h, r.superthrust == 0 ? capacity : capacity * r.superthrust);
        ++r.tanksRefilled;
    }
}

void SampleShipState(ShipRecord &r) {
    oapiGetGlobalPos(r.vesselHandle, &r.shipPos);
    oapiGetGlobalVel(r.vesselHandle, &r.shipVel);
    const double speed = length(r.shipVel);
    if (speed > r.maxVel) r.maxVel = speed;
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
    const uint32_t T = ListIndex(r, r.targetBody), S = ListIndex(r, r.sourceBody);
    r.targetDist = length(r.bodyRelPos[T]) - r.bodies[T].radius;
    r.sourceDist = length(r.bodyRelPos[S]) - r.bodies[S].radius;
    if (!r.ejected) {
        r.ejectMjd = oapiGetSimMJD();
        r.elapsed = 0;
    } else {
        r.elapsed = (oapiGetSimMJD() - r.ejectMjd) * kSecondsPerDay;
    }
    oapiGetRotationMatrix(r.vesselHandle, &r.rotation);
}

namespace {

double UnitCosine(double c) { return std::fmax(-1.0, std::fmin(1.0, c)); }

}  // namespace

SteeringAngles ComputeSteering(const ShipRecord &r) {
    SteeringAngles a = {0, 0, 0};
    const uint32_t T = ListIndex(r, r.targetBody);
    VECTOR3 d;
    if (r.directionAdjust) {
        d = tmul(r.rotation, r.shipVel - r.bodyVel[T]);
    } else {
        VECTOR3 target, self;
        r.vessel->Global2Local(r.bodyPos[T], target);
        r.vessel->Global2Local(r.shipPos, self);
        d = target - self;
    }
    if (r.invertDirection) d = -d;
    const double len = length(d);
    if (!(len > 0)) return a;
    // The ratios below are cosines of a unit direction, at most 1 in exact arithmetic; rounded,
    // one can come out a hair above 1 (for a direction within a microradian of the nose, about
    // 600 in a million), and asin or acos of it is NaN. Exactly where the hold settles, so each
    // ratio is clamped to [-1, 1].
    const double up = UnitCosine(d.y / len);
    a.pitch = std::asin(up);
    const double sinPolar = std::sin(std::acos(up));
    // Straight up or down every yaw is as good as any other: none is commanded.
    if (sinPolar != 0) a.yaw = std::acos(UnitCosine(d.z / (sinPolar * len)));
    if (d.x < 0) a.yaw = -a.yaw;
    return a;
}

namespace {

void Drive(ShipRecord &r) {
    if (!r.kvEngaged) return;
    r.ejected = true;
    r.thrustLevel = r.mainThrustMax != 0 ? r.artGee * r.mass / r.mainThrustMax : 0;
    r.vessel->SetThrusterGroupLevel(THGROUP_MAIN, r.thrustLevel);
}

}  // namespace

int8_t Predict(ShipRecord &r) {
    const int8_t v = SelectPropagator(r);
    r.work.variant = v;
    Propagator(v)(r);
    HandOverTrajectory(r);
    return v;
}

}  // namespace kavrex

using namespace kavrex;

DLLCLBK void opcPreStep(double /*simt*/, double simdt, double /*mjd*/) {
    const ShipRecord *focus = FocusShip();
    if (!focus) return;
    Driver().stepLength = simdt;
    for (ShipRecord &r : ClaimedShips()) {
        if (!r.autofillOff) RefillTanks(r);
        SampleShipState(r);
        const SteeringAngles a = ComputeSteering(r);
        const bool pitchOk = HoldAttitudeAxis(r, -a.pitch, 0);
        const bool yawOk = HoldAttitudeAxis(r, a.yaw, 1);
        const bool bankOk = HoldAttitudeAxis(r, a.bank, 2);
        r.attitudeAligned = pitchOk && yawOk && bankOk;
        Drive(r);
        if (&r == focus && !r.display.ready) Predict(r);
    }
}

DLLCLBK void opcTimeAccChanged(double new_warp, double /*old_warp*/) {
    // Above 100x the attitude autopilot could not keep up: switch it off for every vessel.
    if (!(new_warp > 100)) return;
    for (ShipRecord &r : ClaimedShips())
        if (r.vessel) r.attitudeHold = false;
}
