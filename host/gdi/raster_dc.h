// raster_dc.h: a device context that draws with Cairo, as the simulator's display surface
// would: aliased one-pixel lines (PS_DOT dotted), ellipse outlines, and text in a monospace font
// (DejaVu Sans Mono) whose line height is H/24, placed by its top-left corner.
#ifndef KVHOST_GDI_RASTER_DC_H
#define KVHOST_GDI_RASTER_DC_H

#include "device_context.h"

#include <cairo.h>

namespace kvhost {

class RasterDc : public DeviceContext {
public:
    // Draws on `cr`, whose user space must already map one display pixel to one unit with the
    // display's top-left corner at the origin. The screen is cleared to black.
    RasterDc(int width, int height, cairo_t *cr);

    void DrawText(int x, int y, const std::string &text, COLORREF color) override;
    void DrawLine(int x0, int y0, int x1, int y1, const Pen &pen) override;
    void DrawEllipse(int left, int top, int right, int bottom, const Pen &pen) override;

private:
    void UsePen(const Pen &pen);
    cairo_t *cr_;
    double fontSize_;
};

// Sets the source colour of a Cairo context from a COLORREF.
void SetColour(cairo_t *cr, COLORREF color);
// Selects the display font at the size of a display of the given height.
double SelectDisplayFont(cairo_t *cr, int height);
// The simulator's display font for a display `height` pixels high: an em of 9 height / 200 pixels.
double DisplayFontSize(int height);

}  // namespace kvhost

#endif
