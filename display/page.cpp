// page.cpp: the display page.
//
// The ready flag of the display buffer is the hand-shake with the per-step driver: the page clears
// it after drawing, and the driver computes the next trajectory only while it is clear. Every
// page draws the last trajectory handed over, whether or not another display has drawn it
// already: the simulator refreshes all its displays in the same frame, so a second Kavrex display
// of the vessel would otherwise never find the flag set. The driver still computes once per
// refresh cycle, since one clear serves all displays of the cycle.
#include "page.h"

#include "../model/module_state.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"
#include "../model/units.h"
#include "draw_state.h"
#include "format.h"
#include "plot.h"
#include "ships_page.h"
#include "status_strip.h"

#include <cmath>

namespace kavrex {

namespace {

void GravityRose(const ShipRecord &r, HDC dc, int W, int H) {
    const int R = W / 8, Xc = (7 * W) / 8 - 5, Yc = (7 * H) / 8 - 5;
    SelectObject(dc, Module().whitePen);
    Ellipse(dc, Xc - R, Yc - R, Xc + R, Yc + R);
    const BodyIndex S = ListIndex(r, r.sourceBody), T = ListIndex(r, r.targetBody);
    const BodyIndex bodies[5] = {0, S, r.bodies[S].parent, T, r.bodies[T].parent};
    for (int k = 0; k < 5; ++k) {
        const BodyIndex b = ListIndex(r, bodies[k]);
        if ((k == 2 || k == 4) && bodies[k] == 0) continue;  // a planet's parent, the star: drawn first
        SelectObject(dc, r.bodies[b].solidPen);
        VECTOR3 v;
        oapiGetRelativePos(r.bodies[b].handle, r.vesselHandle, &v);
        const VECTOR3 u = tmul(r.rotation, v) / length(v);
        const double f = RoseLength(r.bodyG[b]);
        DrawClippedLine(dc, Xc, Yc, Xc + R * f * u.x, Yc - R * f * u.z, W, H);
    }
}

// The read-outs, kReadOutLines at most (page.h): a new one needs a line of the budget.
void ReadOuts(const ShipRecord &r, const MfdEntry &e, HDC dc) {
    const TrajectoryBuffer &buf = r.display;
    const BodyEntry &target = BodyAt(r, r.targetBody), &source = BodyAt(r, r.sourceBody);
    const BodyEntry &centre = BodyAt(r, e.centerBody);
    const uint32_t T = ListIndex(r, r.targetBody), S = ListIndex(r, r.sourceBody);

    const COLORREF targetLabel = !r.attitudeHold ? kDarkRed : r.attitudeAligned ? kDarkGreen : kOlive;
    DrawLine(kLabelX, targetLabel, "Target");
    DrawLine(ValueX(), target.colour, "%s", target.name);
    NextLine();
    DrawLine(kLabelX, kGreen, "Source");
    DrawLine(ValueX(), source.colour, "%s", source.name);
    NextLine();
    DrawLine(kLabelX, kGreen, "Center");
    DrawLine(ValueX(), centre.colour, "%s", centre.name);
    NextLine();
    PrintMjd(dc, "Eject", r.ejectMjd, r.ejected);
    PrintMjd(dc, "ETA", buf.arrivalMjd, true);
    if (r.ejected) {
        DrawLine(kLabelX, kOlive, "complete: %3.1f%c", TripProgress(r), '%');
        NextLine();
    }
    PrintDuration(dc, "Elapsed", r.elapsed);
    const double remains = (buf.arrivalMjd - r.ejectMjd) * kSecondsPerDay - r.elapsed;
    PrintDuration(dc, "Remains", remains > 0 ? remains : 0.0);
    PrintDistanceLabelled(dc, buf.impact ? "IMPACT" : "PeT", buf.impact ? kRed : kGreen,
                          length(buf.closestRel[T]) - target.radius);
    PrintDistance(dc, "PeS", length(buf.closestRel[S]) - source.radius);
    PrintDistance(dc, "TargetD", r.targetDist);
    PrintDistance(dc, "SourceD", r.sourceDist);
    PrintDistance(dc, "TargetV", length(r.bodyRelVel[T]));
    PrintDistance(dc, "SourceV", length(r.bodyRelVel[S]));
    PrintAccel(dc, "TargetG", r.bodyG[T]);
    PrintAccel(dc, "SourceG", r.bodyG[S]);
    PrintAccel(dc, "SolarG", r.bodyG[0]);
    PrintDistance(dc, "Max Vel", r.maxVel);
    PrintCount(dc, "NumSteps", static_cast<int32_t>(buf.pointCount));
    PrintCount(dc, "Tanks", static_cast<int32_t>(r.tanksRefilled));
}

}  // namespace

double TripProgress(const ShipRecord &r) {
    const double total = r.targetDist + r.sourceDist;
    const double p = 100 * r.sourceDist / total;
    return std::isfinite(p) ? p : 0.0;
}

double RoseLength(double g) {
    const ShipRecord *focus = FocusShip();
    if (!focus) return 1.0;
    if (g <= 0) return 0.75;
    const double L = std::log10(focus->artGee / g);
    return L > 4 ? 0.0 : (4 - L) / 4;
}

void DrawPage(const MFD *display, HDC dc, int W, int H, DWORD cw) {
    DrawState &d = Draw();
    d.currentDc = dc;
    d.lineY = 0;
    ShipRecord *focus = FocusShip();
    if (!focus) {
        DrawLine(kLabelX, kGrey, "Error! [Version %s] Kavrex::Update -> FindShip failed", kTitle);
        return;
    }
    ShipRecord &r = *focus;
    MfdEntry *entry = FindEntry(r, display);
    if (!entry && IsOpenDisplay(display)) {
        // Every window entry of the vessel belongs to another open display: no settings to show.
        DrawLine(kLabelX, kGrey, "%s", kTitle);
        NextLine();
        DrawLine(kLabelX, kGrey, "All display entries in use:");
        NextLine();
        DrawLine(kLabelX, kGrey, "close another external display.");
        return;
    }
    if (!entry) {
        DrawLine(kLabelX, kGrey, "Error! [Version %s] Kavrex::Update -> FindMFD failed", kTitle);
        return;
    }
    const MfdEntry &e = *entry;
    const char *name = r.vessel->GetName();
    DrawLine(kLabelX, kGrey, "%s %s", kTitle, name ? name : "");
    NextLine();
    const uint32_t mode = e.mode;
    if (mode == 4) {
        DrawShipsPage(r, e, cw);
        return;
    }
    DrawStatusStrip(r, e, cw);
    if (r.display.handOvers == 0) return;  // nothing computed for this record yet
    GravityRose(r, dc, W, H);
    if (mode & 1) ReadOuts(r, e, dc);
    if (mode & 2) DrawPlot(r, e, dc, W, H);
    r.display.ready = false;
}

}  // namespace kavrex
