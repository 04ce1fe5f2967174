// pilot_hands.cpp: the pilot's action carried out in the cockpit.
#include "pilot_hands.h"

#include "../cockpit/cockpit.h"
#include "../cockpit/input_state.h"
#include "../cockpit/key_codes.h"

namespace kvhost {

void CarryOut(const PilotAction &a, int slot, Simulation &sim) {
    if (a.key) PressKey(slot, KeyCodeForLetter(a.key));
    if (a.cockpitKey) PressVesselKey(a.cockpitKey == 'L' ? kKeyHorizonLevel : kKeyPrograde);
    if (!a.input.empty()) AnswerInputBox(a.input);
    if (a.warp > 0) sim.SetTimeAcceleration(a.warp);
}

}  // namespace kvhost
