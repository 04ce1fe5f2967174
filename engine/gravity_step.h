// gravity_step.h: the gravity model of a prediction and one explicit-midpoint step of it.
//
// The ship feels every modelled body and a constant thrust acceleration; a modelled body feels
// only its ancestors (a planet the star, a moon the star and its planet); the star coasts. A zero
// distance has no direction, so a pull across it is left out rather than turned into NaN.
#ifndef KAVREX_ENGINE_GRAVITY_STEP_H
#define KAVREX_ENGINE_GRAVITY_STEP_H

#include <Orbitersdk.h>

#include "../model/module_state.h"

namespace kavrex {

// The accelerations at a step's start, and the ship's distance from each modelled slot there
// (a prediction's closest-approach test reads them rather than working them out again).
struct StepStart {
    VECTOR3 shipAcc;
    VECTOR3 bodyAcc[kMaxModelled];
    double shipDistance[kMaxModelled];
};

// Advances ship and bodies by dt with the explicit midpoint method under `thrust` (m/s^2):
// StartStep then FinishStep, which a prediction calls apart to read the start between them.
void MidpointStep(ModelState &s, const VECTOR3 &thrust, double dt);
void StartStep(const ModelState &s, const VECTOR3 &thrust, StepStart &out);
void FinishStep(ModelState &s, const VECTOR3 &thrust, const StepStart &start, double dt);

}  // namespace kavrex

#endif
