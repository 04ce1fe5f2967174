// timeline.h: a pilot's timeline, the program's own scenario section. Each line is an action
// at a simulated time (seconds from the start of the run):
//
//   BEGIN_TIMELINE
//     0    KEY 0 H            ; key H on display 0 (add CTRL to hold Ctrl)
//     0    BUTTON 0 0 RIGHT   ; button 0 of display 0: LEFT, RIGHT or BOTH (and CTRL)
//     1    KEY 0 S
//     1    INPUT 19.6         ; the answer to the open input box
//     2    CANCEL             ; or close it unanswered
//     60   WARP 10            ; time acceleration
//   END_TIMELINE
#ifndef KVHOST_APP_TIMELINE_H
#define KVHOST_APP_TIMELINE_H

#include "../scenario/scenario.h"

#include <string>
#include <vector>

namespace kvhost {

struct TimelineEvent {
    double time = 0;
    enum Kind { Key, Button, Input, Cancel, Warp } kind = Key;
    int slot = 0;
    DWORD key = 0;
    int button = 0, event = 0;
    bool ctrl = false;
    std::string text;
    double warp = 1;
};

// Events of the scenario's TIMELINE section in time order; false with "FILE:LINE: reason".
bool ParseTimeline(const Scenario &sc, std::vector<TimelineEvent> &out, std::string &error);

class Simulation;
// Carries out one event on the cockpit and the simulation.
void Apply(const TimelineEvent &e, Simulation &sim);

}  // namespace kvhost

#endif
