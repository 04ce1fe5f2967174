// fly_view.cpp: the live window's layout and strip text.
#include "fly_view.h"

#include "../cockpit/cockpit.h"
#include "../gdi/picture.h"

#include <erfa.h>

#include <cmath>
#include <cstdio>

namespace kvhost {

FlyView LayOut(const std::vector<int> &slots, double scale) {
    FlyView v;
    v.scale = scale;
    v.slots = slots;
    double x = 0, h = 0;
    for (int s : slots) {
        const DisplaySlot &d = Slot(s);
        v.left.push_back(static_cast<int>(std::lround(x)));
        x += std::ceil((d.width + 2 * BezelMargin(d.height)) * scale);
        h = std::fmax(h, std::ceil(d.height * scale));
    }
    v.width = static_cast<int>(x);
    v.pictureHeight = static_cast<int>(h);
    v.height = v.pictureHeight + kStripHeight;
    return v;
}

ViewPoint Locate(const FlyView &view, int x, int y) {
    ViewPoint p;
    if (y < 0 || y >= view.pictureHeight) return p;
    for (size_t i = 0; i < view.slots.size(); ++i) {
        const DisplaySlot &d = Slot(view.slots[i]);
        const double px = (x - view.left[i]) / view.scale, py = y / view.scale;
        if (px < 0 || px >= d.width + 2 * BezelMargin(d.height) || py >= d.height) continue;
        p.display = static_cast<int>(i);
        p.button = ButtonAtPoint(px, py, d.width, d.height);
        return p;
    }
    return p;
}

namespace {

// "orbiting Earth", "landed on Mars", "crashed on Moon".
std::string VesselState(const World &world, const Vessel &v) {
    const int body = ReferenceBody(v);
    const std::string where = body >= 0 ? world.body(body).name : "nothing";
    switch (v.status) {
    case VesselStatus::Landed: return "landed on " + where;
    case VesselStatus::Crashed: return "crashed on " + where;
    default: return "orbiting " + where;
    }
}

}  // namespace

StripLines StripText(const World &world, const StripFacts &f) {
    int year = 0, month = 0, day = 0;
    double fraction = 0;
    char date[48] = "";
    if (eraJd2cal(2400000.5, world.Mjd(), &year, &month, &day, &fraction) == 0) {
        const long seconds = std::lround(std::floor(fraction * 86400));
        std::snprintf(date, sizeof date, "  %04d-%02d-%02d %02ld:%02ld:%02ld", year, month, day, seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
    }
    char text[128];
    std::snprintf(text, sizeof text, "MJD %.4f%s  x%g  %.0f fps", world.Mjd(), date, f.warp, f.fps);
    StripLines lines;
    lines.time = text;
    if (f.paused) lines.time += "  PAUSED";
    if (world.focus() >= 0) {
        const Vessel &v = world.vessel(world.focus());
        lines.vessel = v.name + "  " + VesselState(world, v);
    }
    if (f.pilot) lines.vessel += "  PILOT (any key takes over)";
    return lines;
}

void EraseLastCharacter(std::string &text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
}

const char *StripKeys() { return "+ - warp  Space pause"; }

}  // namespace kvhost
