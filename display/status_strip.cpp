// status_strip.cpp: the status strip.
#include "status_strip.h"

#include "../model/ship_table.h"
#include "draw_state.h"

namespace kavrex {

namespace {

// The x of column k (0..7): (k + 1) h + 4 k c with h = c / 2.
int StripColumn(int k, DWORD charWidth) {
    const int c = static_cast<int>(charWidth), h = c / 2;
    return (k + 1) * h + 4 * k * c;
}

void Cell(int k, DWORD c, COLORREF colour, const char *text) { DrawLine(StripColumn(k, c), colour, "%s", text); }

}  // namespace

void DrawStatusStrip(const ShipRecord &r, const MfdEntry &e, DWORD c) {
    Cell(0, c, kWhite, "hold");
    if (!r.attitudeHold)
        Cell(1, c, kRed, "OFF");
    else if (!r.attitudeAligned)
        Cell(1, c, kYellow, "SEEK");
    else
        Cell(1, c, kGreen, "HOLD");
    Cell(2, c, kWhite, " aim");
    if (r.directionAdjust)
        Cell(3, c, kGreen, "PRO");
    else
        Cell(3, c, BodyAt(r, r.targetBody).colour, "DIR");
    Cell(4, c, kWhite, " inv");
    Cell(5, c, r.invertDirection ? kGreen : kRed, r.invertDirection ? "INV" : "OFF");
    Cell(6, c, kWhite, "  KV");
    Cell(7, c, r.kvEngaged ? kGreen : kRed, r.kvEngaged ? "ON" : "OFF");
    NextLine();

    const bool super = r.superthrust != 0;
    Cell(0, c, kWhite, "fill");
    Cell(1, c, r.autofillOff ? kRed : kGreen, r.autofillOff ? "OFF" : "AUTO");
    Cell(2, c, kWhite, super ? " SUP" : " set");
    DrawLine(StripColumn(3, c), super ? kRed : kGreen, "%2.1f", r.artGee);
    Cell(4, c, kWhite, "zoom");
    Cell(5, c, r.autozoomOff ? kRed : kGreen, r.autozoomOff ? "OFF" : "AUTO");
    Cell(6, c, kWhite, "proj");
    const bool shipView = e.shipProjection;
    Cell(7, c, shipView ? kOrange : kYellow, shipView ? "SHIP" : "ECLP");
    NextLine();
}

}  // namespace kavrex
