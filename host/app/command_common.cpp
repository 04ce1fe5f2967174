// command_common.cpp: what the commands share: starting a session and reporting failures.
#include "../cockpit/cockpit.h"
#include "commands.h"
#include "../session/display_lines.h"
#include "../session/session.h"

#include "../world/vessel_classes.h"

#include <strings.h>

#include <cstdio>

namespace kvhost {

std::string OutputFolder(const CommandLine &cl, const Session &session) {
    if (!cl.out.empty()) return cl.out;
    const std::string &path = session.scenario().path;
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0) name = name.substr(0, dot);
    return "out/" + name;
}

int Fail(const std::string &error) {
    std::fprintf(stderr, "kavrex-sim: %s\n", error.c_str());
    return 1;
}

void Warn(const std::string &text) { std::fprintf(stderr, "kavrex-sim: warning: %s\n", text.c_str()); }

std::string NotUtf8Note(int count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes") +
           " of its texts are not UTF-8 and are written as U+FFFD (JSON is UTF-8)";
}

bool StartSession(Session &session, const CommandLine &cl) {
    std::string error;
    session.SetDisplaySize(cl.width, cl.height);
    FrameProfile profile;
    profile.minFps = cl.fps;
    profile.maxFps = cl.fpsMax;
    profile.seed = cl.seed;
    session.SetFrameProfile(profile);
    session.refreshInterval = cl.mfdRefresh;
    const std::string scenario =
        !cl.scenario.empty() ? cl.scenario
                             : DefaultScenarioPath(cl.command == "run" || cl.pilot ? "earth-mars.scn" : "default.scn");
    if (!session.Start(scenario, cl.plugin, error)) {
        Fail(error);
        return false;
    }
    for (const std::string &w : DisplayLineWarnings(session)) Warn(w);
    if (session.externalCamera) {
        // Outside, the simulator refreshes no display. A plain run flies it so; what looks at the
        // displays (the pilot, a picture, the window) looks from the cockpit.
        const bool stays = cl.command == "run" && !cl.pilot;
        std::fprintf(stderr, "kavrex-sim: %s starts in the external view, where no display is refreshed: %s\n",
                     session.scenario().path.c_str(),
                     stays ? "the displays stay as they are until the timeline's CAMERA COCKPIT"
                           : "kavrex-sim looks at them from the cockpit");
        session.externalCamera = stays;
    }
    return true;
}

namespace {

// A Kavrex display on a focus vessel of a class the stand-in only carries as a passive body (the
// focus can come to one when the vessel before it is deleted, and a run saves it so) shows it as
// the simulator would, with nothing to fly: said once, and the pilot refuses it for its engines.
void NotePassiveFocus(Session &session, const std::vector<int> &open) {
    const World &w = session.world();
    if (w.focus() < 0 || !w.vessel(w.focus()).passive) return;
    for (int s : open)
        if (strcasecmp(Slot(s).mode.c_str(), "Kavrex") == 0) {
            Warn(session.scenario().path + ": " + w.vessel(w.focus()).name +
                 ", which the Kavrex display shows, is of class '" + w.vessel(w.focus()).className +
                 "', which the stand-in carries as a passive body: no engines to fly");
            return;
        }
}

}  // namespace

std::vector<int> OpenDisplaysOrKavrex(Session &session, bool *passiveFocus) {
    std::vector<int> open;
    for (int s = 0; s < kDisplaySlots; ++s)
        if (Slot(s).instance) open.push_back(s);
    if (!open.empty()) {
        NotePassiveFocus(session, open);
        return open;
    }
    const World &w = session.world();
    if (passiveFocus && w.focus() >= 0 && w.vessel(w.focus()).passive) {
        // A station or a shuttle stack the stand-in does not build: nothing for Kavrex to fly.
        std::fprintf(stderr,
                     "kavrex-sim: %s: the focus vessel %s is of class '%s', which the stand-in does not build: "
                     "no Kavrex display is opened for it\n",
                     session.scenario().path.c_str(), w.vessel(w.focus()).name.c_str(),
                     w.vessel(w.focus()).className.c_str());
        *passiveFocus = true;
        return open;
    }
    // The first cockpit display the scenario leaves unused: one of a type the stand-in does not
    // draw (an Orbit display, say) keeps its block.
    int slot = 0;
    for (bool taken = true; taken && slot < kCockpitDisplayCount; slot += taken) {
        taken = false;
        for (const ScenarioDisplay &d : session.scenario().displays) taken = taken || d.slot == slot;
    }
    std::string error;
    if (slot >= kCockpitDisplayCount) {
        Fail(session.scenario().path +
             ": every cockpit display is taken by a block the stand-in keeps: none is free "
             "for Kavrex");
        return open;
    }
    if (!OpenDisplay(slot, "Kavrex", error, session.displayWidth(), session.displayHeight())) {
        Fail(error);
        return open;
    }
    open.push_back(slot);
    // Said, since the saved flight keeps it: final.scn opens with the display the flight had.
    std::fprintf(stderr,
                 "kavrex-sim: %s opens no display the stand-in draws: Kavrex is opened in display %d, and "
                 "final.scn keeps it (BEGIN_MFD %s) so that the saved flight opens as it flew\n",
                 session.scenario().path.c_str(), slot, DisplayBlockName(slot).c_str());
    NotePassiveFocus(session, open);
    return open;
}

}  // namespace kvhost
