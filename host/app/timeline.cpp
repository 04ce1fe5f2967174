// timeline.cpp: reading a pilot's timeline and carrying it out.
#include "timeline.h"

#include "../cockpit/cockpit.h"
#include "../cockpit/input_state.h"
#include "../cockpit/key_codes.h"
#include "../scenario/numbers.h"
#include "../sim/simulation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <strings.h>

namespace kvhost {

namespace {

constexpr double kMaxTimelineTime = 1e12;   // s: some 30,000 years

bool Slot(const std::string &s, int &out) {
    double v;
    if (!ParseNumber(s, v) || v != std::floor(v) || v < 0 || v >= kCockpitDisplays) return false;
    out = static_cast<int>(v);
    return true;
}

// Parses one line; an empty `why` means success.
std::string ParseLine(const std::string &line, TimelineEvent &e) {
    const size_t c = line.find(';');
    std::istringstream in(c == std::string::npos ? line : line.substr(0, c));
    std::string time, action;
    if (!(in >> time)) return "skip";
    if (!ParseNumber(time, e.time) || e.time < 0 || e.time > kMaxTimelineTime)
        return "'" + time + "' is no time in seconds (0 to 1e12)";
    if (!(in >> action)) return "the time has no action after it";
    std::vector<std::string> args;
    for (std::string w; in >> w;) args.push_back(w);
    auto ctrl = [&](size_t from) {
        for (size_t i = from; i < args.size(); ++i)
            if (strcasecmp(args[i].c_str(), "CTRL") == 0) e.ctrl = true;
    };
    if (strcasecmp(action.c_str(), "KEY") == 0) {
        e.kind = TimelineEvent::Key;
        if (args.size() < 2 || !Slot(args[0], e.slot)) return "KEY takes a display slot 0-11 and a letter";
        e.key = args[1].size() == 1 ? KeyCodeForLetter(args[1][0]) : 0;
        if (!e.key) return "'" + args[1] + "' is no key letter";
        ctrl(2);
        return "";
    }
    if (strcasecmp(action.c_str(), "BUTTON") == 0) {
        e.kind = TimelineEvent::Button;
        double bt;
        if (args.size() < 3 || !Slot(args[0], e.slot) || !ParseNumber(args[1], bt) || bt != std::floor(bt) || bt < 0 ||
            bt > 11)
            return "BUTTON takes a display slot 0-11, a button 0-11 and LEFT, RIGHT or BOTH";
        e.button = static_cast<int>(bt);
        const std::string &how = args[2];
        if (strcasecmp(how.c_str(), "LEFT") == 0) e.event = PANEL_MOUSE_LBDOWN;
        else if (strcasecmp(how.c_str(), "RIGHT") == 0) e.event = PANEL_MOUSE_RBDOWN;
        else if (strcasecmp(how.c_str(), "BOTH") == 0) e.event = PANEL_MOUSE_LBDOWN | PANEL_MOUSE_RBDOWN;
        else return "'" + how + "' is not LEFT, RIGHT or BOTH";
        ctrl(3);
        return "";
    }
    if (strcasecmp(action.c_str(), "INPUT") == 0) {
        e.kind = TimelineEvent::Input;
        for (size_t i = 0; i < args.size(); ++i) e.text += (i ? " " : "") + args[i];
        return "";
    }
    if (strcasecmp(action.c_str(), "CANCEL") == 0) {
        e.kind = TimelineEvent::Cancel;
        return "";
    }
    if (strcasecmp(action.c_str(), "WARP") == 0) {
        e.kind = TimelineEvent::Warp;
        if (args.size() != 1 || !ParseNumber(args[0], e.warp) || e.warp < kMinWarp || e.warp > kMaxWarp)
            return "WARP takes a time acceleration from 0.1 to 100000";
        return "";
    }
    return "unknown action '" + action + "' (KEY, BUTTON, INPUT, CANCEL or WARP)";
}

}  // namespace

bool ParseTimeline(const Scenario &sc, std::vector<TimelineEvent> &out, std::string &error) {
    std::vector<TimelineEvent> events;
    for (const ScenarioSection &s : sc.otherSections) {
        if (s.name != "TIMELINE") continue;
        for (size_t i = 0; i < s.lines.size(); ++i) {
            TimelineEvent e;
            const std::string why = ParseLine(s.lines[i], e);
            if (why == "skip") continue;
            if (!why.empty()) {
                error = sc.path + ":" + std::to_string(s.lineNumbers[i]) + ": " + why;
                return false;
            }
            events.push_back(e);
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const TimelineEvent &a, const TimelineEvent &b) { return a.time < b.time; });
    out = events;
    return true;
}

void Apply(const TimelineEvent &e, Simulation &sim) {
    SetControlKeyDown(e.ctrl);
    switch (e.kind) {
    case TimelineEvent::Key: PressKey(e.slot, e.key); break;
    case TimelineEvent::Button: PressButton(e.slot, e.button, e.event); break;
    case TimelineEvent::Input: AnswerInputBox(e.text); break;
    case TimelineEvent::Cancel: CancelInputBox(); break;
    case TimelineEvent::Warp: sim.SetTimeAcceleration(e.warp); break;
    }
    SetControlKeyDown(false);
}

}  // namespace kvhost
