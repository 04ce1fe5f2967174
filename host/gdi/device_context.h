// device_context.h: the surface behind an HDC. The GDI functions keep the context's state
// (selected pen, text colour, current point) here and hand finished shapes to a subclass:
// the recording context keeps them for tests and tools, the raster context draws them.
#ifndef KVHOST_GDI_DEVICE_CONTEXT_H
#define KVHOST_GDI_DEVICE_CONTEXT_H

#include "gdi_objects.h"

#include <string>

namespace kvhost {

class DeviceContext {
public:
    DeviceContext(int width, int height);
    virtual ~DeviceContext();
    DeviceContext(const DeviceContext &) = delete;
    DeviceContext &operator=(const DeviceContext &) = delete;

    HDC hdc() { return reinterpret_cast<HDC>(this); }
    static DeviceContext *FromHdc(HDC hdc);  // null for an HDC that is no live context

    int width() const { return width_; }
    int height() const { return height_; }

    // Shapes, in the context's state at the time of the call.
    virtual void DrawText(int x, int y, const std::string &text, COLORREF color) = 0;
    virtual void DrawLine(int x0, int y0, int x1, int y1, const Pen &pen) = 0;
    virtual void DrawEllipse(int left, int top, int right, int bottom, const Pen &pen) = 0;

    HGDIOBJ selectedPen = StockBlackPen();
    COLORREF textColor = 0;
    int curX = 0, curY = 0;

    // The pen to draw with: the selected one, or black when it has been deleted meanwhile.
    const Pen &CurrentPen() const;

private:
    int width_, height_;
};

}  // namespace kvhost

#endif
