// picture.h: pictures of a display as a pilot sees it: the screen with the twelve button labels
// around it (buttons 0-5 down the left side, 6-11 down the right), as PNG or SVG, drawn at a
// scale factor so that text stays sharp; and the recording of a page as JSON.
#ifndef KVHOST_GDI_PICTURE_H
#define KVHOST_GDI_PICTURE_H

#include "recording_dc.h"

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace kvhost {

constexpr double kDefaultPictureScale = 3;

// The bezel beside each side of a display's screen, in display pixels: room for a three-letter
// label and some air.
double BezelMargin(int height);
// Which button (0..11) a point of a display picture falls on, the point given in display pixels
// from the picture's top-left corner (bezel included); -1 for the screen or outside. Each side's
// six buttons share its height equally, as the labels do.
int ButtonAtPoint(double x, double y, int width, int height);
// Paints a display picture on `cr` with its top-left corner at the origin: the bezel with the
// labels and the screen drawn through `draw` (given the HDC of a raster context), at `scale`
// picture pixels per display pixel. The button `pressed` (-1 for none) is shown held down.
void PaintDisplayPicture(cairo_t *cr, int width, int height, const std::vector<std::string> &labels, double scale,
                         const std::function<void(HDC)> &draw, int pressed = -1);

// Draws the display through `draw` (given the HDC of a raster context) and writes the picture
// to `path`, PNG or SVG by its ending. False with the cause on failure.
bool WritePicture(const std::string &path, int width, int height, const std::vector<std::string> &labels, double scale,
                  const std::function<void(HDC)> &draw, std::string &error);

// Any picture of width x height points drawn by `paint` on a Cairo context, written to `path` as
// PNG or SVG by its ending. False with the cause on failure.
bool WriteCairoPicture(const std::string &path, double width, double height,
                       const std::function<void(cairo_t *)> &paint, std::string &error);

// A text as the inside of a JSON string: quotes and backslashes escaped, control characters
// written as \u00XX, and every byte that begins no UTF-8 character (a Latin-1 name, say) written
// as \ufffd, counted in *replaced: JSON is UTF-8, and strict readers refuse anything else.
std::string JsonEscape(const std::string &s, int *replaced = nullptr);

// The recorded calls of a page (every text with position and colour, every line and ellipse
// with its pen) as JSON; bytes replaced as JsonEscape does are counted in *replaced.
std::string RecordingJson(const RecordingDc &dc, const std::vector<std::string> &labels, int *replaced = nullptr);

}  // namespace kvhost

#endif
