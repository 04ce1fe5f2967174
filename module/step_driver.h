// step_driver.h: the parts of a simulation step's work that other parts call on their own.
#ifndef KAVREX_MODULE_STEP_DRIVER_H
#define KAVREX_MODULE_STEP_DRIVER_H

namespace kavrex {

// Samples the record's vessel and every listed body: positions, velocities, relative states,
// gravity terms, distances to the source's and target's surfaces, mass, weight and rotation.
void SampleShipState(int ship);

// Tops up every tank below 0.2 % of its capacity (to full, or to the superthrust fraction).
void RefillTanks(int ship);
// The steering direction in the vessel frame and the three angles the autopilot gets.
void ComputeSteering(int ship);

}  // namespace kavrex

#endif
