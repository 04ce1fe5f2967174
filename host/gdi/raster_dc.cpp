// raster_dc.cpp: drawing the GDI calls with Cairo.
#include "raster_dc.h"

#include <algorithm>
#include <vector>

#include <cmath>

namespace kvhost {

namespace {

// Cairo keeps coordinates in fixed point: anything far beyond the screen is left out or drawn
// as a polygon of nearby points instead.
constexpr double kFar = 1e6;

}  // namespace

void SetColour(cairo_t *cr, COLORREF c) {
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
}

double DisplayFontSize(int height) { return std::max(1.0, 9.0 * height / 200); }

double SelectDisplayFont(cairo_t *cr, int height) {
    const double size = DisplayFontSize(height);
    cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    return size;
}

RasterDc::RasterDc(int width, int height, cairo_t *cr) : DeviceContext(width, height), cr_(cr) {
    cairo_save(cr_);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_rectangle(cr_, 0, 0, width, height);
    cairo_fill(cr_);
    cairo_restore(cr_);
    cairo_rectangle(cr_, 0, 0, width, height);
    cairo_clip(cr_);
    fontSize_ = SelectDisplayFont(cr_, height);
}

void RasterDc::DrawText(int x, int y, const std::string &text, COLORREF color) {
    SetColour(cr_, color);
    cairo_move_to(cr_, x, y + 0.8 * fontSize_);  // top-left corner to baseline
    cairo_show_text(cr_, text.c_str());
    cairo_new_path(cr_);  // else the next shape would start with a line from the text's end
}

void RasterDc::UsePen(const Pen &pen) {
    SetColour(cr_, pen.color);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr_, pen.width > 1 ? pen.width : 1);
    static const double dot[] = {1.0, 2.0}, dash[] = {6.0, 3.0};
    if (pen.style == PS_DOT)
        cairo_set_dash(cr_, dot, 2, 0);
    else if (pen.style == PS_DASH)
        cairo_set_dash(cr_, dash, 2, 0);
    else
        cairo_set_dash(cr_, nullptr, 0, 0);
}

void RasterDc::DrawLine(int x0, int y0, int x1, int y1, const Pen &pen) {
    if (std::abs(x0) > kFar || std::abs(y0) > kFar || std::abs(x1) > kFar || std::abs(y1) > kFar) return;
    UsePen(pen);
    cairo_move_to(cr_, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr_, x1 + 0.5, y1 + 0.5);
    cairo_stroke(cr_);
}

void RasterDc::DrawEllipse(int left, int top, int right, int bottom, const Pen &pen) {
    const double cx = 0.5 * (left + right), cy = 0.5 * (top + bottom);
    const double rx = 0.5 * (right - left), ry = 0.5 * (bottom - top);
    if (!(rx > 0) || !(ry > 0)) return;
    UsePen(pen);
    cairo_new_path(cr_);
    if (rx < kFar && ry < kFar && std::fabs(cx) < kFar && std::fabs(cy) < kFar) {
        cairo_save(cr_);
        cairo_translate(cr_, cx, cy);
        cairo_scale(cr_, rx, ry);
        cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr_);
        cairo_stroke(cr_);
        return;
    }
    // A huge disc: only the stretches of its outline near the screen, at 65,536 points round.
    // Where the outline crosses the near box's edges is solved for, so that only the points of
    // the stretches inside it (and one beyond each end) are visited.
    const int n = 1 << 16;
    const double nearX = 4 * width() + kFar / 1e3, nearY = 4 * height() + kFar / 1e3;
    auto near = [&](int i, double &x, double &y) {
        const double a = 2 * M_PI * i / n;
        x = cx + rx * std::cos(a);
        y = cy + ry * std::sin(a);
        return std::fabs(x) < nearX && std::fabs(y) < nearY;
    };
    std::vector<double> cuts = {0, 2 * M_PI};
    for (const double edge : {-nearX, nearX})
        if (std::fabs((edge - cx) / rx) <= 1) {
            const double a = std::acos((edge - cx) / rx);
            cuts.insert(cuts.end(), {a, 2 * M_PI - a});
        }
    for (const double edge : {-nearY, nearY})
        if (std::fabs((edge - cy) / ry) <= 1) {
            const double a = std::asin((edge - cy) / ry);
            cuts.insert(cuts.end(), {a < 0 ? a + 2 * M_PI : a, M_PI - a});
        }
    std::sort(cuts.begin(), cuts.end());
    std::vector<bool> visit(n + 1, false);
    for (size_t k = 0; k + 1 < cuts.size(); ++k) {
        const double mid = 0.5 * (cuts[k] + cuts[k + 1]);
        if (!(std::fabs(cx + rx * std::cos(mid)) < nearX && std::fabs(cy + ry * std::sin(mid)) < nearY)) continue;
        const int from = std::max(0, static_cast<int>(cuts[k] / (2 * M_PI) * n) - 2);
        const int to = std::min(n, static_cast<int>(cuts[k + 1] / (2 * M_PI) * n) + 2);
        for (int i = from; i <= to; ++i) visit[i] = true;
    }
    bool drawing = false;
    for (int i = 0; i <= n; ++i) {
        double x = 0, y = 0;
        const bool in = visit[i] && near(i, x, y);
        if (in && drawing)
            cairo_line_to(cr_, x, y);
        else if (in)
            cairo_move_to(cr_, x, y);
        drawing = in;
    }
    cairo_stroke(cr_);
}

}  // namespace kvhost
