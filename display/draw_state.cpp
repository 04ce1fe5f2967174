// draw_state.cpp: the shared drawing state and the line primitive.
#include "draw_state.h"

#include "../model/module_state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kavrex {

void DrawLine(int x, COLORREF colour, const char *format, ...) {
    DrawState &d = Draw();
    va_list args;
    va_start(args, format);
    // vsnprintf cuts the text to the buffer: a long name never runs past it.
    std::vsnprintf(d.lineBuffer, sizeof d.lineBuffer, format, args);
    va_end(args);
    SetTextColor(d.currentDc, colour);
    TextOutA(d.currentDc, x, d.lineY, d.lineBuffer, static_cast<int>(std::strlen(d.lineBuffer)));
}

int ValueX() { return 9 * static_cast<int>(Module().lineHeight); }

void NextLine() { Draw().lineY += static_cast<int>(Module().lineHeight); }

}  // namespace kavrex
