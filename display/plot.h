// plot.h: the trajectory plot: the predicted path of the ship and the paths of its source and
// target, each relative to the centre body's own predicted motion; discs for the bodies, link
// lines, and crosses at the closest approaches. Also the line clipper every line goes through.
#ifndef KAVREX_DISPLAY_PLOT_H
#define KAVREX_DISPLAY_PLOT_H

#include <Orbitersdk.h>

#include "../model/module_state.h"
#include "../model/ship_table.h"

namespace kavrex {

// Screen position of a global vector about a centre: x along viewRowX, up along viewRowY.
void ProjectPoint(const VECTOR3 &p, double cx, double cy, double &sx, double &sy);

// Draws the part of the segment inside [1, W - 2] x [1, H - 2] (bounds included) with the
// selected pen; nothing of a segment that misses it, of one with a non-number end, or of one
// whose two ends fall on the same pixel (which would draw nothing).
void DrawClippedLine(HDC dc, double x0, double y0, double x1, double y1, int width, int height);

void DrawBodyLink(const ShipRecord &r, HDC dc, BodyIndex a, BodyIndex b, int width, int height);

// The whole plot for record `r` and its entry `e` on a W x H display.
void DrawPlot(const ShipRecord &r, const MfdEntry &e, HDC dc, int width, int height);

}  // namespace kavrex

#endif
