// propagate.h: predicting a constant-acceleration flight.
//
// From the ship's present state the prediction steps forward with the explicit midpoint method
// under the gravity of the variant's modelled bodies and a thrust of artGee in one fixed
// direction, writing every point into the record's `work` buffer. It stops 128 points after the
// closest approach to the target, at an impact on a watched body, or at numSteps points.
#ifndef KAVREX_ENGINE_PROPAGATE_H
#define KAVREX_ENGINE_PROPAGATE_H

#include "variants.h"

namespace kavrex {

constexpr uint32_t kPointsAfterClosest = 128;

// Computes a whole trajectory of the given bodies into the record's `work` (all but `ready`
// and `variant`).
void Propagate(ShipRecord &r, const VariantBodies &bodies);
// Advances the step counter, moves the stop bound (pointCount) and chooses the next step length.
void UpdateStepControl(TrajectoryBuffer &work);

// The thrust acceleration of a prediction, from the driver's present snapshot (m/s^2, global).
// Zero with both thrust flags off, and zero when the direction has no length.
VECTOR3 PredictionThrust(const ShipRecord &r);

// The date of point k of the last computation.
double PredictionPointMjd(uint32_t k);

// Copies the last computation from `work` into `display` and marks it ready. Only what that
// computation wrote is copied (header, valid points of the ship and of its modelled bodies): the
// rest of `display` already equals `work`, since every earlier computation was handed over too.
void HandOverTrajectory(ShipRecord &r);

}  // namespace kavrex

#endif
