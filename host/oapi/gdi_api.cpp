// gdi_api.cpp: the Windows GDI and USER subset, over the host's device contexts.
#include <Orbitersdk.h>

#include "../cockpit/input_state.h"
#include "../gdi/device_context.h"

#include <cstring>
#include <string>

using kvhost::DeviceContext;

HPEN CreatePen(int style, int width, COLORREF color) { return kvhost::NewPen(style, width, color); }

BOOL DeleteObject(HGDIOBJ obj) { return kvhost::DeletePen(obj) ? TRUE : FALSE; }

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
    DeviceContext *dc = DeviceContext::FromHdc(hdc);
    if (!dc || !kvhost::ResolvePen(obj)) return nullptr;
    HGDIOBJ previous = dc->selectedPen;
    dc->selectedPen = obj;
    return previous;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    DeviceContext *dc = DeviceContext::FromHdc(hdc);
    if (!dc) return 0xFFFFFFFF;  // CLR_INVALID
    COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

BOOL TextOutA(HDC hdc, int x, int y, const char *text, int length) {
    DeviceContext *dc = DeviceContext::FromHdc(hdc);
    if (!dc || !text || length < 0) return FALSE;
    // The string is taken as `length` bytes, but never past its terminating NUL.
    const size_t n = strnlen(text, static_cast<size_t>(length));
    dc->DrawText(x, y, std::string(text, n), dc->textColor);
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT *previous) {
    DeviceContext *dc = DeviceContext::FromHdc(hdc);
    if (!dc) return FALSE;
    if (previous) {
        previous->x = dc->curX;
        previous->y = dc->curY;
    }
    dc->curX = x;
    dc->curY = y;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext *dc = DeviceContext::FromHdc(hdc);
    if (!dc) return FALSE;
    dc->DrawLine(dc->curX, dc->curY, x, y, dc->CurrentPen());
    dc->curX = x;
    dc->curY = y;
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext *dc = DeviceContext::FromHdc(hdc);
    if (!dc) return FALSE;
    dc->DrawEllipse(left, top, right, bottom, dc->CurrentPen());
    return TRUE;
}

SHORT GetAsyncKeyState(int vkey) {
    if (vkey == VK_CONTROL && kvhost::ControlKeyDown()) return static_cast<SHORT>(0x8000);
    return 0;
}
