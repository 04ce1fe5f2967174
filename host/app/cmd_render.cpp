// cmd_render.cpp: "kavrex-sim render": pictures of the open displays after some frames.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../scenario/scenario_write.h"
#include "../session/session.h"

#include <cstdio>
#include <vector>

namespace kvhost {

namespace {

// FILE.png for one display; FILE-<slot>.png for each when there are several.
std::string PathFor(const std::string &out, int slot, bool several) {
    if (!several) return out;
    const size_t dot = out.rfind('.'), slash = out.rfind('/');
    const std::string tag = "-" + std::to_string(slot);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return out + tag;
    return out.substr(0, dot) + tag + out.substr(dot);
}

bool IsJson(const std::string &path) { return path.size() > 5 && path.compare(path.size() - 5, 5, ".json") == 0; }

}  // namespace

int RunRender(const CommandLine &cl) {
    // A picture Cairo can make: at most 32767 pixels a side, and 100 million in all (400 MB).
    const double w = (cl.width + 2 * BezelMargin(cl.height)) * cl.scale, h = cl.height * cl.scale;
    if (!IsJson(cl.out) && (w > 32767 || h > 32767 || w * h > 1e8))
        return Fail(
            FormatText("a picture of a %dx%d display at --scale %g would be %.0fx%.0f pixels, more than a "
                       "picture can hold (32767 a side, 100 million in all): give a smaller --scale or --size",
                       cl.width, cl.height, cl.scale, w, h));
    Session session;
    if (!StartSession(session, cl)) return 1;
    std::string error;
    if (!MakeFoldersFor(cl.out, error)) return Fail(error);
    if (OpenDisplaysOrKavrex(session).empty()) return 1;
    // A display opens on page 3; the pilot's M key cycles 3 -> 1 -> 2 -> 4. The displays open at
    // the start are set to the page asked for; a window the timeline opens shows its own.
    const int presses[5] = {0, 1, 2, 0, 3};
    for (int s = 0; s < kDisplaySlots; ++s)
        for (int i = 0; i < presses[cl.mode] && Slot(s).instance; ++i) PressKey(s, OAPI_KEY_M);
    session.simulation().SetTimeAcceleration(cl.warp);
    // The scenario's timeline is flown over the frames, as a run flies it.
    if (!session.FlyToOneMoment(cl.stepsGiven ? cl.steps : 1, [&] { return session.PlayTimeline(error); }))
        return Fail(error);

    std::vector<int> open;  // every display open now, windows included
    for (int s = 0; s < kDisplaySlots; ++s)
        if (Slot(s).instance) open.push_back(s);
    for (int s : open) {
        const std::string path = PathFor(cl.out, s, open.size() > 1);
        const DisplaySlot &slot = Slot(s);
        bool ok;
        if (IsJson(path)) {
            RecordingDc dc(slot.width, slot.height);
            slot.instance->Update(dc.hdc());
            int replaced = 0;
            ok = WriteWholeFile(path, RecordingJson(dc, ButtonLabels(s), &replaced), error);
            if (ok && replaced > 0) Warn(path + ": " + NotUtf8Note(replaced));
        } else {
            MFD *display = slot.instance;
            ok = WritePicture(
                path, slot.width, slot.height, ButtonLabels(s), cl.scale, [display](HDC hdc) { display->Update(hdc); },
                error);
        }
        if (!ok) return Fail(error);
        std::printf("wrote %s (display %d, %dx%d)\n", path.c_str(), s, slot.width, slot.height);
    }
    return 0;
}

}  // namespace kvhost
