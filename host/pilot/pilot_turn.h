// pilot_turn.h: the built-in pilot's turn at each refresh of its display, one for a run and for
// the live window alike: it reads the page, looks once whether the transfer can be flown at all,
// decides, and carries its action out in the cockpit (the display key, the navigation-mode key,
// the answer typed into the input box and the time acceleration, in that order).
#ifndef KVHOST_PILOT_PILOT_TURN_H
#define KVHOST_PILOT_PILOT_TURN_H

#include "../sim/simulation.h"
#include "../world/world.h"
#include "pilot.h"

#include <functional>
#include <string>
#include <vector>

namespace kvhost {

constexpr double kMaxPilotedDays = 30;  // a piloted flight that has not arrived by then stops
constexpr int kRefusedStatus = 3;       // exit status when the pilot will not fly the transfer

// The pilot at its display: what it has read and decided so far.
struct PilotSeat {
    int slot = 0;  // the display it flies by
    Pilot pilot;
    DisplayReading reading;  // the page as it last read it
    bool looked = false;     // it has seen read-outs once and judged the transfer
    std::string refusal;     // why it will not fly this transfer ("" while it flies)
};

// The pilot's turn when the displays in `due` have refreshed; nothing unless its own display is
// among them. `page` is what its display's last refresh showed, which it follows even once it
// is done. A
// transfer that cannot be flown is refused at the first read-outs, saying why on standard error,
// and nothing more is decided then or after.
// `beforeHands` sees the action before it is carried out (a run takes its pictures then). Returns
// the action carried out (an empty one when there was none).
PilotAction TakePilotTurn(PilotSeat &seat, const std::vector<int> &due, const DisplayReading *page, const World &world,
                          Simulation &sim, const std::function<void(const PilotAction &)> &beforeHands = nullptr);

}  // namespace kvhost

#endif
