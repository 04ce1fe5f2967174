// step_driver.h: the parts of a simulation step's work that other parts call on their own.
#ifndef KAVREX_MODULE_STEP_DRIVER_H
#define KAVREX_MODULE_STEP_DRIVER_H

#include <cstdint>

namespace kavrex {

struct ShipRecord;

// Samples the record's vessel and every listed body: positions, velocities, relative states,
// gravity terms, distances to the source's and target's surfaces, mass, weight and rotation.
void SampleShipState(ShipRecord &r);

// The focus record's prediction in a step: selects the variant, computes the trajectory into
// `work` and hands it over to `display`. Returns the variant.
int8_t Predict(ShipRecord &r);

// Tops up every tank below 0.2 % of its capacity (to full, or to the superthrust fraction).
void RefillTanks(ShipRecord &r);
// How far the vessel is off its steering direction, radians, as the autopilot gets it.
struct SteeringAngles {
    double pitch, yaw, bank;
};
// From the record's present sample. A direction of no length (the target at the ship's
// position, or no motion relative to it) gives no angles at all: the vessel is held still.
SteeringAngles ComputeSteering(const ShipRecord &r);

}  // namespace kavrex

#endif
