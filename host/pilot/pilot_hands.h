// pilot_hands.h: what the built-in pilot's action does in the cockpit: the display key, the
// navigation-mode key, the answer typed into the input box and the time acceleration, in that
// order. One place, so that a run and the live window fly the pilot alike.
#ifndef KVHOST_PILOT_PILOT_HANDS_H
#define KVHOST_PILOT_PILOT_HANDS_H

#include "../sim/simulation.h"
#include "pilot.h"

namespace kvhost {

void CarryOut(const PilotAction &a, int slot, Simulation &sim);

}  // namespace kvhost

#endif
