// page.h: the whole display page: the title, the status strip, and, once a prediction has been
// handed over, the gravity rose, the read-outs and the plot; or the ships page in mode 4.
#ifndef KAVREX_DISPLAY_PAGE_H
#define KAVREX_DISPLAY_PAGE_H

#include <Orbitersdk.h>

#include "draw_state.h"

namespace kavrex {

constexpr const char *kTitle = "Kavrex 1.5";

// The page's lines, at its longest (after ejection): the title, the two lines of the status strip
// and the read-outs, whose two dates take two lines each. Together they are the page's line
// budget (kPageLines): the line step is chosen so that exactly that many fit, and a read-out
// beyond it would fall off the display's bottom edge.
constexpr unsigned kTitleLines = 1, kStripLines = 2, kReadOutLines = 22;
static_assert(kTitleLines + kStripLines + kReadOutLines == kPageLines, "the page's lines are its line budget");

// Draws the page of `display` (W x H, font cell charWidth) on dc.
void DrawPage(const MFD *display, HDC dc, int width, int height, DWORD charWidth);

struct ShipRecord;

// The trip's progress, percent: the distance from the source over the sum of both; a trip of no
// length (both distances 0) is not begun.
double TripProgress(const ShipRecord &r);

// Length fraction of a gravity rose line for a pull of g (m/s^2).
double RoseLength(double g);

}  // namespace kavrex

#endif
