// plot.cpp: the trajectory plot and the line clipper.
#include "plot.h"

#include "../engine/variants.h"
#include "../model/module_state.h"
#include "../model/portability.h"
#include "../model/ship_table.h"
#include "projection.h"

#include <algorithm>
#include <cmath>

namespace kavrex {

namespace {

// Screen coordinates handed to GDI stay within this: a disc of a body far off screen at a large
// zoom would otherwise not fit an int.
constexpr double kCoordLimit = 1e9;

int ToInt(double v) {
    if (v > kCoordLimit) v = kCoordLimit;
    if (v < -kCoordLimit) v = -kCoordLimit;
    return static_cast<int>(v);  // truncation toward zero
}

// One side of the Liang-Barsky clip: narrows [t0, t1] to where p t <= q holds.
bool ClipSide(double p, double q, double &t0, double &t1) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
        if (t > t1) return false;
        if (t > t0) t0 = t;
    } else {
        if (t < t0) return false;
        if (t < t1) t1 = t;
    }
    return true;
}

// The clipper itself, inlined into the paths' loops (a page sends it thousands of segments).
KAVREX_INLINE void ClipAndDraw(HDC dc, double x0, double y0, double x1, double y1, int W, int H) {
    const double left = 1, right = W - 2, top = 1, bottom = H - 2;
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0, t1 = 1;
    // A segment with both ends inside (so finite) is kept whole, as the four sides would keep it
    // (each of their quotients is then at most 0 or at least 1), without their divisions.
    const bool inside = x0 >= left && x0 <= right && x1 >= left && x1 <= right && y0 >= top && y0 <= bottom &&
                        y1 >= top && y1 <= bottom;
    if (!inside) {
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
        if (!ClipSide(-dx, x0 - left, t0, t1) || !ClipSide(dx, right - x0, t0, t1) ||
            !ClipSide(-dy, y0 - top, t0, t1) || !ClipSide(dy, bottom - y0, t0, t1))
            return;
    }
    // The ends that lie inside are kept exactly; only cut ends are moved to the border.
    const double ax = t0 > 0 ? x0 + t0 * dx : x0, ay = t0 > 0 ? y0 + t0 * dy : y0;
    const double bx = t1 < 1 ? x0 + t1 * dx : x1, by = t1 < 1 ? y0 + t1 * dy : y1;
    // A cut end computed as 0.9999... would truncate to 0, a pixel outside: clamp the pixel.
    auto inX = [&](double v) { return std::min<int>(std::max<int>(ToInt(v), 1), W - 2); };
    auto inY = [&](double v) { return std::min<int>(std::max<int>(ToInt(v), 1), H - 2); };
    const int px0 = inX(ax), py0 = inY(ay), px1 = inX(bx), py1 = inY(by);
    // A line whose ends fall on one pixel draws nothing (its end pixel is never drawn): most of a
    // long path's segments near its end do, and each would still cost a call on the surface.
    if (px0 == px1 && py0 == py1) return;
    MoveToEx(dc, px0, py0, nullptr);
    LineTo(dc, px1, py1);
}

// What the paths are drawn relative to: the centre body's predicted track, point by point, when
// the prediction modelled it; otherwise (its track then holds nothing of this prediction) the
// centre body's present position, the same for every point.
struct CentreReference {
    const VECTOR3 *track;  // null: use `fixed`
    VECTOR3 fixed;
    const VECTOR3 &At(uint32_t k) const { return track ? track[k] : fixed; }
};

CentreReference ReferenceOf(const ShipRecord &r, const TrajectoryBuffer &buf, BodyIndex c) {
    bool modelled = c == 0;  // the star is always modelled
    const VariantBodies vb = ResolveVariant(buf.variant, r);
    for (uint32_t i = 0; i < vb.modelledCount; ++i) modelled = modelled || vb.modelled[i] == c;
    if (modelled) return {buf.bodyTrack[c], _V(0, 0, 0)};
    return {nullptr, r.bodyPos[c]};
}

// One path of the plot: its points, what they are drawn relative to, and up to two crosses, each
// at a point index with its pen (a null pen: no cross).
struct PathSpec {
    const VECTOR3 *track;
    uint32_t count;
    HPEN pen;
    uint32_t crossAt[2];
    HPEN crossPen[2];
};

void Path(HDC dc, const PathSpec &p, const CentreReference &centre, int W, int H) {
    const double cx = W / 2, cy = H / 2;
    // ProjectPoint's view and scale, looked up once for the whole path.
    const ViewRows &rows = Projection();
    const double scale = Plot().plotScale;
    double px = 0, py = 0;
    for (uint32_t k = 0; k < p.count; ++k) {
        const VECTOR3 q = p.track[k] - centre.At(k);
        const double x = dotp(rows.x, q) * scale + cx, y = cy - dotp(rows.y, q) * scale;
        if (k > 0) {
            ClipAndDraw(dc, px, py, x, y, W, H);
            for (int m = 0; m < 2; ++m) {
                if (p.crossAt[m] != k || !p.crossPen[m]) continue;
                SelectObject(dc, p.crossPen[m]);
                DrawClippedLine(dc, x - 4, y, x + 4, y, W, H);
                DrawClippedLine(dc, x, y - 4, x, y + 4, W, H);
                SelectObject(dc, p.pen);
            }
        }
        px = x;
        py = y;
    }
}

}  // namespace

void ProjectPoint(const VECTOR3 &p, double cx, double cy, double &sx, double &sy) {
    const ViewRows &rows = Projection();
    sx = dotp(rows.x, p) * Plot().plotScale + cx;
    sy = cy - dotp(rows.y, p) * Plot().plotScale;
}

void DrawClippedLine(HDC dc, double x0, double y0, double x1, double y1, int W, int H) {
    ClipAndDraw(dc, x0, y0, x1, y1, W, H);
}

void DrawBodyLink(const ShipRecord &r, HDC dc, BodyIndex a, BodyIndex b, int W, int H) {
    const PlotState &p = Plot();
    SelectObject(dc, r.bodies[b].dotPen);
    DrawClippedLine(dc, p.bodyScreenX[b] + p.plotOffsetX, p.bodyScreenY[b] + p.plotOffsetY,
                    p.bodyScreenX[a] + p.plotOffsetX, p.bodyScreenY[a] + p.plotOffsetY, W, H);
}

void DrawPlot(const ShipRecord &r, const MfdEntry &e, HDC dc, int W, int H) {
    const TrajectoryBuffer &buf = r.display;
    PlotState &p = Plot();
    const BodyIndex c = ListIndex(r, e.centerBody);
    const BodyIndex T = ListIndex(r, r.targetBody), S = ListIndex(r, r.sourceBody);
    const uint32_t N = buf.pointCount < kMaxPoints ? buf.pointCount : kMaxPoints;

    const CentreReference centre = ReferenceOf(r, buf, c);
    const double d = length(buf.shipTrack[0] - centre.At(0));
    double base = 1e-6;
    if (d != 0) {
        if (r.autozoomOff) {
            base = p.autoBase;
        } else {
            base = (W / 2) / (2 * d);  // the start distance spans a quarter of the width
            p.autoBase = base;
        }
    }
    p.plotScale = base * e.zoom;
    ProjectPoint(r.shipPos, 0, 0, p.shipScreenX, p.shipScreenY);
    for (uint32_t i = 0; i < r.bodyCount; ++i) ProjectPoint(r.bodyPos[i], 0, 0, p.bodyScreenX[i], p.bodyScreenY[i]);
    p.plotOffsetX = W / 2 - p.bodyScreenX[c];
    p.plotOffsetY = H / 2 - p.bodyScreenY[c];

    // Discs at the bodies' present positions.
    for (uint32_t i = 0; i < r.bodyCount; ++i) {
        SelectObject(dc, r.bodies[i].solidPen);
        const double rho = oapiGetSize(r.bodies[i].handle) * p.plotScale;
        const double X = p.bodyScreenX[i] + p.plotOffsetX, Y = p.bodyScreenY[i] + p.plotOffsetY;
        if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(rho)) continue;
        Ellipse(dc, ToInt(std::floor(X - rho)), ToInt(std::floor(Y - rho)), ToInt(std::floor(X + rho)),
                ToInt(std::floor(Y + rho)));
    }
    // Target and source paths relative to the centre body.
    SelectObject(dc, r.bodies[T].solidPen);
    Path(dc, {buf.bodyTrack[T], N, r.bodies[T].solidPen, {0, 0}, {nullptr, nullptr}}, centre, W, H);
    SelectObject(dc, r.bodies[S].solidPen);
    Path(dc, {buf.bodyTrack[S], N, r.bodies[S].solidPen, {0, 0}, {nullptr, nullptr}}, centre, W, H);
    // Links: every body to the star when the star is the centre, else source to target.
    if (c == 0) {
        for (BodyIndex i = 1; i < r.bodyCount; ++i) DrawBodyLink(r, dc, 0, i, W, H);
    } else if (c == T) {
        DrawBodyLink(r, dc, T, S, W, H);
    } else {
        DrawBodyLink(r, dc, S, T, W, H);
    }
    SelectObject(dc, Module().whitePen);
    DrawClippedLine(dc, W / 2, H / 2, p.shipScreenX + p.plotOffsetX, p.shipScreenY + p.plotOffsetY, W, H);
    SelectObject(dc, r.bodies[0].dotPen);
    DrawClippedLine(dc, W / 2, H / 2, p.plotOffsetX, p.plotOffsetY, W, H);
    // The ship's path, with crosses at the closest approaches to target and source.
    const HPEN pathPen = r.kvEngaged ? Module().trajectoryPen : Module().trajectoryDotPen;
    SelectObject(dc, pathPen);
    const PathSpec shipPath = {buf.shipTrack,
                               N,
                               pathPen,
                               {buf.closestIndex[T], buf.closestIndex[S]},
                               {r.bodies[T].solidPen, r.bodies[S].solidPen}};
    Path(dc, shipPath, centre, W, H);
}

}  // namespace kavrex
