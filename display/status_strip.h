// status_strip.h: two lines of short tags showing one record's drive and autopilot switches and
// a display's settings: four caption and state pairs per line, in fixed columns.
#ifndef KAVREX_DISPLAY_STATUS_STRIP_H
#define KAVREX_DISPLAY_STATUS_STRIP_H

#include <Orbitersdk.h>

#include "../model/ship_table.h"

namespace kavrex {

// Draws the strip of record `r` with the projection flag of its entry `e`, for a display font
// `charWidth` pixels wide; advances two lines.
void DrawStatusStrip(const ShipRecord &r, const MfdEntry &e, DWORD charWidth);

}  // namespace kavrex

#endif
