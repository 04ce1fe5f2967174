// step_driver.h: the parts of a simulation step's work that other parts call on their own.
#ifndef KAVREX_MODULE_STEP_DRIVER_H
#define KAVREX_MODULE_STEP_DRIVER_H

namespace kavrex {

// Samples the record's vessel and every listed body: positions, velocities, relative states,
// gravity terms, distances to the source's and target's surfaces, mass, weight and rotation.
void SampleShipState(int ship);

}  // namespace kavrex

#endif
