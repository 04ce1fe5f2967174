// step_driver.cpp: the work of every simulation step and the time-acceleration hook.
#include <Orbitersdk.h>

#include "ship_table.h"

using namespace kavrex;

DLLCLBK void opcPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    // Autofill, snapshots, steering, drive and the focus trajectory come with the flight
    // driver; until then a step changes nothing.
}

DLLCLBK void opcTimeAccChanged(double new_warp, double /*old_warp*/) {
    // Above 100x the attitude autopilot could not keep up: switch it off for every vessel.
    if (!(new_warp > 100)) return;
    for (uint32_t i = 0; i < ShipCount(); ++i) {
        ShipRecord &r = Ship(static_cast<int>(i));
        if (r.vessel) r.attitudeHold = false;
    }
}
