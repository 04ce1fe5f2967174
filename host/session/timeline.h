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
//     70   CAMERA EXTERNAL    ; or COCKPIT: no display refreshes in the external view
//     80   MENU 0 ON          ; display 0 shows its button menu (OFF: back): no refresh meanwhile
//     90   WINDOW 305419896   ; open a Kavrex display in an external window with that identifier
//                             ; (12 or more), on the focus vessel or on the vessel named after it
//     99   DELETE Courier-2   ; delete a vessel, as the simulator does
//     120  NAV HLEVEL         ; a navigation-mode key of the cockpit: KILLROT, HLEVEL, PROGRADE or
//                             ; RETROGRADE, each turning its hold on or off
//   END_TIMELINE
//
// Only what can happen in the simulator: keys reach displays 0 and 1 only, never with Ctrl (the
// simulator routes Shift+key to the left and right displays, and Ctrl+key elsewhere), and a
// button is pressed with one mouse button at a time.
#ifndef KVHOST_SESSION_TIMELINE_H
#define KVHOST_SESSION_TIMELINE_H

#include "../scenario/scenario.h"
#include "../world/world.h"

#include <string>
#include <vector>

namespace kvhost {

struct TimelineEvent {
    double time = 0;
    int line = 0;  // in the scenario file
    enum Kind { Key, Button, Input, Cancel, Warp, Camera, Menu, Window, Delete, Nav } kind = Key;
    int slot = 0;
    DWORD key = 0;  // KEY's scan code, or NAV's navigation-mode key
    int button = 0, event = 0;
    bool ctrl = false;
    std::string text;  // INPUT's answer, DELETE's and WINDOW's vessel
    double warp = 1;
    bool on = false;  // CAMERA EXTERNAL, MENU ON
    UINT window = 0;  // WINDOW's identifier
};

// Events of the scenario's TIMELINE section in time order; false with "FILE:LINE: reason".
bool ParseTimeline(const Scenario &sc, std::vector<TimelineEvent> &out, std::string &error);

// Refuses, before the flight, what the timeline would fail at on the way: a DELETE or a WINDOW of
// a vessel the scenario lacks (or that an earlier DELETE took), deleting every vessel, more
// windows than the cockpit holds (`windows`). False with "FILE:LINE: cause".
bool CheckTimeline(const std::vector<TimelineEvent> &events, const World &world, int windows, const std::string &path,
                   std::string &error);

// The timeline section `s` as a saved flight keeps it: the first `done` events (carried out) are
// left out, and the rest come `flown` seconds sooner, so that a resumed flight carries them out
// at the moments they were due and replays nothing.
ScenarioSection RemainingTimeline(const ScenarioSection &s, const std::vector<TimelineEvent> &events, size_t done,
                                  double flown);

class Session;
// Carries out one event on the session's cockpit, world and simulation; false with the cause
// (naming the event's line is the caller's) when it cannot be done.
bool Apply(const TimelineEvent &e, Session &session, std::string &error);
// Carries out, from `next` on, every event whose time the session's flight has reached; false with
// "FILE:LINE: cause" for one that cannot be done (`next` then names it).
bool ApplyDue(const std::vector<TimelineEvent> &events, size_t &next, Session &session, std::string &error);

}  // namespace kvhost

#endif
