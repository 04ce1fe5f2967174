// timeline.cpp: reading a pilot's timeline and carrying it out.
#include "timeline.h"

#include "session.h"

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

constexpr double kMaxTimelineTime = 1e12;  // s: some 30,000 years

bool Slot(const std::string &s, int &out) {
    double v;
    if (!ParseNumber(s, v) || v != std::floor(v) || v < 0 || v >= kCockpitDisplays) return false;
    out = static_cast<int>(v);
    return true;
}

// Parses one line; an empty `why` means success.
// Each action's words after the action name; "" when they are right, else why not.
using Args = std::vector<std::string>;

bool HasCtrl(const Args &args, size_t from) {
    for (size_t i = from; i < args.size(); ++i)
        if (strcasecmp(args[i].c_str(), "CTRL") == 0) return true;
    return false;
}

std::string Joined(const Args &args) {
    std::string t;
    for (size_t i = 0; i < args.size(); ++i) t += (i ? " " : "") + args[i];
    return t;
}

std::string KeyAction(const Args &args, TimelineEvent &e) {
    if (args.size() < 2 || !Slot(args[0], e.slot)) return "KEY takes a display slot 0-11 and a letter";
    e.key = args[1].size() == 1 ? KeyCodeForLetter(args[1][0]) : 0;
    if (!e.key) return "'" + args[1] + "' is no key letter";
    if (e.slot > 1)
        return "keys reach only displays 0 and 1 in the simulator (Shift+key: left or right); press "
               "display " +
               std::to_string(e.slot) + "'s buttons instead";
    e.ctrl = HasCtrl(args, 2);
    if (e.ctrl)
        return "a key with Ctrl never reaches a display in the simulator; use the button (RIGHT for the "
               "modified command)";
    return "";
}

std::string ButtonAction(const Args &args, TimelineEvent &e) {
    double bt;
    if (args.size() < 3 || !Slot(args[0], e.slot) || !ParseNumber(args[1], bt) || bt != std::floor(bt) || bt < 0 ||
        bt > 11)
        return "BUTTON takes a display slot 0-11, a button 0-11 and LEFT or RIGHT";
    e.button = static_cast<int>(bt);
    const std::string &how = args[2];
    if (strcasecmp(how.c_str(), "LEFT") == 0)
        e.event = PANEL_MOUSE_LBDOWN;
    else if (strcasecmp(how.c_str(), "RIGHT") == 0)
        e.event = PANEL_MOUSE_RBDOWN;
    else if (strcasecmp(how.c_str(), "BOTH") == 0)
        return "BOTH: the simulator takes one mouse button at a time; press LEFT or RIGHT";
    else
        return "'" + how + "' is not LEFT or RIGHT";
    e.ctrl = HasCtrl(args, 3);
    return "";
}

std::string InputAction(const Args &args, TimelineEvent &e) {
    e.text = Joined(args);
    return "";
}

std::string CancelAction(const Args &, TimelineEvent &) { return ""; }

std::string WarpAction(const Args &args, TimelineEvent &e) {
    if (args.size() != 1 || !ParseNumber(args[0], e.warp) || e.warp < kMinWarp || e.warp > kMaxWarp)
        return "WARP takes a time acceleration from 0.1 to 100000";
    return "";
}

// One word out of two: `on` when it is the first.
std::string Either(const Args &args, size_t at, const char *on, const char *off, bool &out, const std::string &why) {
    if (args.size() != at + 1 || (strcasecmp(args[at].c_str(), on) != 0 && strcasecmp(args[at].c_str(), off) != 0))
        return why;
    out = strcasecmp(args[at].c_str(), on) == 0;
    return "";
}

std::string CameraAction(const Args &args, TimelineEvent &e) {
    return Either(args, 0, "EXTERNAL", "COCKPIT", e.on, "CAMERA takes EXTERNAL or COCKPIT");
}

std::string MenuAction(const Args &args, TimelineEvent &e) {
    const std::string why = "MENU takes a display slot 0-11 and ON or OFF";
    if (args.empty() || !Slot(args[0], e.slot)) return why;
    return Either(args, 1, "ON", "OFF", e.on, why);
}

// WINDOW <identifier> [<vessel>]: a vessel's name may hold spaces, so it is the rest of the line.
std::string WindowAction(const Args &args, TimelineEvent &e) {
    double id;
    if (args.empty() || !ParseNumber(args[0], id) || id != std::floor(id) || id < 0 || id > 4294967295.0)
        return "WINDOW takes a display identifier from 12 to 4294967295 and a vessel's name (default: the focus)";
    if (id < kCockpitDisplays)
        return "WINDOW " + args[0] +
               ": identifiers 0 to 11 are the cockpit's displays; the simulator gives an "
               "external window an identifier of its own (12 to 4294967295)";
    e.window = static_cast<UINT>(id);
    e.text = Joined(Args(args.begin() + 1, args.end()));
    if (e.text.size() > kMaxNameLength) return "WINDOW: a vessel's name has 1 to 63 characters";
    return "";
}

std::string DeleteAction(const Args &args, TimelineEvent &e) {
    e.text = Joined(args);
    if (e.text.empty() || e.text.size() > kMaxNameLength) return "DELETE takes a vessel's name (1 to 63 characters)";
    return "";
}

// The cockpit's navigation-mode keys, by the mode's name.
std::string NavAction(const Args &args, TimelineEvent &e) {
    static const struct {
        const char *name;
        DWORD key;
    } modes[] = {{"KILLROT", kKeyKillRot},
                 {"HLEVEL", kKeyHorizonLevel},
                 {"PROGRADE", kKeyPrograde},
                 {"RETROGRADE", kKeyRetrograde}};
    for (const auto &m : modes)
        if (args.size() == 1 && strcasecmp(args[0].c_str(), m.name) == 0) {
            e.key = m.key;
            return "";
        }
    return "NAV takes KILLROT, HLEVEL, PROGRADE or RETROGRADE";
}

const struct {
    const char *name;
    TimelineEvent::Kind kind;
    std::string (*parse)(const Args &, TimelineEvent &);
} kActions[] = {{"KEY", TimelineEvent::Key, KeyAction},          {"BUTTON", TimelineEvent::Button, ButtonAction},
                {"INPUT", TimelineEvent::Input, InputAction},    {"CANCEL", TimelineEvent::Cancel, CancelAction},
                {"WARP", TimelineEvent::Warp, WarpAction},       {"CAMERA", TimelineEvent::Camera, CameraAction},
                {"MENU", TimelineEvent::Menu, MenuAction},       {"WINDOW", TimelineEvent::Window, WindowAction},
                {"DELETE", TimelineEvent::Delete, DeleteAction}, {"NAV", TimelineEvent::Nav, NavAction}};

std::string ParseLine(const std::string &line, TimelineEvent &e) {
    const size_t c = line.find(';');
    std::istringstream in(c == std::string::npos ? line : line.substr(0, c));
    std::string time, action;
    if (!(in >> time)) return "skip";
    if (!ParseNumber(time, e.time) || e.time < 0 || e.time > kMaxTimelineTime)
        return "'" + time + "' is no time in seconds (0 to 1e12)";
    if (!(in >> action)) return "the time has no action after it";
    Args args;
    for (std::string w; in >> w;) args.push_back(w);
    for (const auto &a : kActions)
        if (strcasecmp(action.c_str(), a.name) == 0) {
            e.kind = a.kind;
            return a.parse(args, e);
        }
    return "unknown action '" + action + "' (KEY, BUTTON, INPUT, CANCEL, WARP, CAMERA, MENU, WINDOW, DELETE or NAV)";
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
            e.line = s.lineNumbers[i];
            events.push_back(e);
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const TimelineEvent &a, const TimelineEvent &b) { return a.time < b.time; });
    out = events;
    return true;
}

bool Apply(const TimelineEvent &e, Session &session, std::string &error) {
    SetControlKeyDown(e.ctrl);
    bool ok = true;
    switch (e.kind) {
    // While the input box is open the keyboard does not reach the simulation, as there.
    case TimelineEvent::Key:
        if (!PendingInputBox().open) PressKey(e.slot, e.key);
        break;
    // The glass cockpit's first event of a press: down and pressed at once; the frames it is
    // held send pressed alone, and no release follows.
    case TimelineEvent::Button: PressButton(e.slot, e.button, e.event | (e.event << 4)); break;
    case TimelineEvent::Input: AnswerInputBox(e.text); break;
    case TimelineEvent::Cancel: CancelInputBox(); break;
    case TimelineEvent::Warp: session.simulation().SetTimeAcceleration(e.warp); break;
    case TimelineEvent::Camera: session.externalCamera = e.on; break;
    case TimelineEvent::Menu: Slot(e.slot).menuShown = e.on; break;
    case TimelineEvent::Window: {
        const int v = e.text.empty() ? -1 : session.world().FindVessel(e.text);
        if (!e.text.empty() && v < 0) {
            error = "WINDOW: there is no vessel named '" + e.text + "'";
            ok = false;
        } else {
            ok = OpenWindowDisplay(e.window, v, "Kavrex", error, session.displayWidth(), session.displayHeight()) >= 0;
        }
        break;
    }
    case TimelineEvent::Nav: PressVesselKey(e.key); break;
    case TimelineEvent::Delete: {
        const int v = session.world().FindVessel(e.text);
        if (v < 0) {
            error = "DELETE: there is no vessel named '" + e.text + "'";
            ok = false;
        } else {
            ok = session.DeleteVessel(v, error);
        }
        break;
    }
    }
    SetControlKeyDown(false);
    return ok;
}

bool ApplyDue(const std::vector<TimelineEvent> &events, size_t &next, Session &session, std::string &error) {
    for (; next < events.size() && events[next].time <= session.simulation().simt(); ++next)
        if (!Apply(events[next], session, error)) {
            error = session.scenario().path + ":" + std::to_string(events[next].line) + ": " + error;
            return false;
        }
    return true;
}

bool CheckTimeline(const std::vector<TimelineEvent> &events, const World &world, int windows, const std::string &path,
                   std::string &error) {
    std::vector<std::string> vessels;
    for (int v = 0; v < world.VesselCount(); ++v) vessels.push_back(world.vessel(v).name);
    auto present = [&](const std::string &name) {
        for (size_t i = 0; i < vessels.size(); ++i)
            if (strcasecmp(vessels[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
        return -1;
    };
    int opened = 0;
    for (const TimelineEvent &e : events) {
        std::string why;
        const bool named = e.kind == TimelineEvent::Delete || (e.kind == TimelineEvent::Window && !e.text.empty());
        const int v = named ? present(e.text) : -1;
        const char *action = e.kind == TimelineEvent::Delete ? "DELETE" : "WINDOW";
        if (named && v < 0)
            why = FormatText("%s: there is no vessel named '%s' by then", action, e.text.c_str());
        else if (e.kind == TimelineEvent::Delete && vessels.size() == 1)
            why = "DELETE: '" + e.text + "' is the only vessel left: the scenario would have none";
        else if (e.kind == TimelineEvent::Window && ++opened > windows)
            why = FormatText("WINDOW: the cockpit holds %d external windows, and this is window %d", windows, opened);
        if (!why.empty()) {
            error = path + ":" + std::to_string(e.line) + ": " + why;
            return false;
        }
        if (e.kind == TimelineEvent::Delete) vessels.erase(vessels.begin() + v);
    }
    return true;
}

ScenarioSection RemainingTimeline(const ScenarioSection &s, const std::vector<TimelineEvent> &events, size_t done,
                                  double flown) {
    ScenarioSection out = s;
    out.lines.clear();
    out.lineNumbers.clear();
    for (size_t i = 0; i < s.lines.size(); ++i) {
        const TimelineEvent *e = nullptr;
        size_t k = 0;
        for (; k < events.size() && !e; ++k)
            if (events[k].line == s.lineNumbers[i]) e = &events[k];
        if (e && k - 1 < done) continue;  // carried out
        std::string line = s.lines[i];
        if (e) {
            // The time is the line's first word; what follows it stays as written.
            const size_t from = line.find_first_not_of(" \t"), to = line.find_first_of(" \t", from);
            line = line.substr(0, from) + ExactNumberText(std::max(0.0, e->time - flown)) + line.substr(to);
        }
        out.lines.push_back(line);
        out.lineNumbers.push_back(s.lineNumbers[i]);
    }
    return out;
}

}  // namespace kvhost
