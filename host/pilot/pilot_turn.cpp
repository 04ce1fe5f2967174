// pilot_turn.cpp: the pilot's turn: the page read, the transfer judged once, the action decided and
// carried out in the cockpit.
#include "pilot_turn.h"

#include "../cockpit/cockpit.h"
#include "../cockpit/input_state.h"
#include "../cockpit/key_codes.h"
#include "pilot_refusal.h"

#include <algorithm>
#include <cstdio>

namespace kvhost {

namespace {

void CarryOut(const PilotAction &a, int slot, Simulation &sim) {
    if (a.key) PressKey(slot, KeyCodeForLetter(a.key));
    if (a.cockpitKey) PressVesselKey(a.cockpitKey == 'L' ? kKeyHorizonLevel : kKeyPrograde);
    if (!a.input.empty()) AnswerInputBox(a.input);
    if (a.warp > 0) sim.SetTimeAcceleration(a.warp);
}

}  // namespace

PilotAction TakePilotTurn(PilotSeat &seat, const std::vector<int> &due, const DisplayReading *page, const World &world,
                          Simulation &sim, const std::function<void(const PilotAction &)> &beforeHands) {
    if (std::find(due.begin(), due.end(), seat.slot) == due.end()) return PilotAction();
    FollowRefresh(page, seat.reading);
    if (!seat.refusal.empty() || seat.pilot.done()) return PilotAction();
    if (!seat.looked && seat.reading.readouts) {
        seat.looked = true;
        seat.refusal = WhyNoTransfer(world, seat.reading, kMaxPilotedDays);
        if (!seat.refusal.empty()) {
            std::fprintf(stderr, "kavrex-sim: the pilot will not fly this transfer: %s\n", seat.refusal.c_str());
            return PilotAction();
        }
    }
    const int focus = world.focus(), ref = focus >= 0 ? world.vessel(focus).gravityRef : -1;
    seat.reading.gravityRef = ref >= 0 ? world.body(ref).name : "";
    const PilotAction a = seat.pilot.Decide(seat.reading, sim.timeAcceleration());
    if (beforeHands) beforeHands(a);
    CarryOut(a, seat.slot, sim);
    return a;
}

}  // namespace kvhost
