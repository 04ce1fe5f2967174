// draw_state.h: the drawing state every display routine shares while one Update runs: the
// device context, the one text line being composed, and where the next line goes.
#ifndef KAVREX_DISPLAY_DRAW_STATE_H
#define KAVREX_DISPLAY_DRAW_STATE_H

#include <Orbitersdk.h>

#include "../model/module_state.h"
#include "../model/portability.h"

#include <cstddef>

namespace kavrex {

constexpr int kLabelX = 5;
constexpr unsigned kPageLines = 25;  // the most lines a page draws, title and strip included

// Where the values start: nine line heights, 90 pixels on a 256-pixel display. The font follows
// the display's height, so the column moves with it and a label never runs into its value.
int ValueX();

// Text colours (0xBBGGRR).
constexpr COLORREF kGrey = 0xC0C0C0, kWhite = 0xFFFFFF, kGreen = 0x00FF00, kRed = 0x0000FF, kYellow = 0x00FFFF,
                   kCyan = 0xFFFF00, kDarkRed = 0x0000C0, kDarkGreen = 0x00C000, kOlive = 0x00C0C0, kOrange = 0x0080C0;

// Composes a line in the line buffer, cut to fit it (63 characters), and draws it at (x, lineY).
void DrawLine(int x, COLORREF colour, const char *format, ...) KAVREX_PRINTF_FORMAT(3, 4);
// lineY += lineHeight.
void NextLine();

}  // namespace kavrex

#endif
