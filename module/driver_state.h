// driver_state.h: scratch values the per-step driver writes for the record it is working on,
// read later in the same record's turn (the propagation's step control reads weightAccel).
#ifndef KAVREX_MODULE_DRIVER_STATE_H
#define KAVREX_MODULE_DRIVER_STATE_H

#include <Orbitersdk.h>

namespace kavrex {

struct DriverScratch {
    double stepLength;      // s, of the current opcPreStep
    VECTOR3 weightAccel;    // m/s^2, vessel frame: weight / mass of the record in its turn
};

DriverScratch &Driver();

}  // namespace kavrex

#endif
