// survey_picture.cpp: drawing the survey's picture with Cairo.
#include "survey_picture.h"

#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../world/frames.h"

#include <algorithm>
#include <map>

namespace kvhost {

namespace {

constexpr double kPictureWidth = 900, kPictureHeight = 620;

void Label(cairo_t *cr, double x, double y, const std::string &text) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

// The cases in columns by target: the x of case k of a target's n, and each target's name below.
std::vector<double> Columns(cairo_t *cr, const std::vector<SurveyCase> &cases, double left, double right,
                            double labelY) {
    std::map<std::string, std::vector<size_t>> byTarget;
    for (size_t i = 0; i < cases.size(); ++i) byTarget[cases[i].target].push_back(i);
    std::vector<double> x(cases.size());
    const double column = (right - left) / std::max<size_t>(1, byTarget.size());
    double x0 = left;
    for (const auto &t : byTarget) {
        cairo_set_source_rgb(cr, 0.8, 0.8, 0.85);
        Label(cr, x0 + 6, labelY, t.first);
        for (size_t k = 0; k < t.second.size(); ++k) x[t.second[k]] = x0 + (k + 0.5) * column / t.second.size();
        x0 += column;
    }
    return x;
}

void Gridline(cairo_t *cr, double left, double right, double y, const std::string &label, bool marked) {
    cairo_set_source_rgb(cr, marked ? 0.8 : 0.35, marked ? 0.7 : 0.35, 0.4);
    cairo_move_to(cr, left, y);
    cairo_line_to(cr, right, y);
    cairo_stroke(cr);
    Label(cr, 8, y + 4, label);
}

void Dot(cairo_t *cr, double x, double y, bool good) {
    if (good)
        cairo_set_source_rgb(cr, 0.3, 0.85, 0.4);
    else
        cairo_set_source_rgb(cr, 0.95, 0.3, 0.25);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, 4, 0, 2 * kPi);
    cairo_fill(cr);
}

// Above: each transfer's flight time over the brachistochrone, by target (green in orbit, red
// not, drawn at the top). Below: its final orbit, periapsis to apoapsis above the surface.
void Paint(cairo_t *cr, const std::vector<SurveyCase> &cases, const std::vector<Outcome> &out) {
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_set_line_width(cr, 1);
    size_t inOrbit = 0;
    for (const Outcome &o : out) inOrbit += o.inOrbit;
    const double left = 60, right = kPictureWidth - 20;
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.9);
    Label(cr, left, 20,
          FormatText("%zu transfers, %zu in orbit (%.0f %%): flight time / brachistochrone", out.size(), inOrbit,
                     100.0 * inOrbit / std::max<size_t>(1, out.size())));
    // The ratio, 0.9 to 2 (more is drawn at 2).
    const double top = 40, bottom = 300, lo = 0.9, hi = 2.0;
    auto Y = [&](double r) { return bottom - (std::min(hi, std::max(lo, r)) - lo) / (hi - lo) * (bottom - top); };
    for (double r : {1.0, 1.15, 1.5, 2.0}) Gridline(cr, left, right, Y(r), FormatText("%.2f", r), r == 1.15);
    const std::vector<double> x = Columns(cr, cases, left, right, bottom + 18);
    for (size_t i = 0; i < out.size(); ++i) {
        const double ratio = out[i].hours / out[i].brachistochrone;
        Dot(cr, x[i], out[i].inOrbit && std::isfinite(ratio) ? Y(ratio) : top, out[i].inOrbit);
    }
    // The final orbit on a log scale of km above the surface, 100 km to 1,000,000 km.
    const double top2 = 350, bottom2 = kPictureHeight - 40;
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.9);
    Label(cr, left, top2 - 14, "final orbit: periapsis to apoapsis above the surface (km)");
    auto Y2 = [&](double km) {
        const double l = std::log10(std::min(1e6, std::max(100.0, km)));
        return bottom2 - (l - 2) / 4 * (bottom2 - top2);
    };
    for (double km : {100.0, 1e3, 1e4, 1e5, 1e6}) Gridline(cr, left, right, Y2(km), FormatText("%.0e", km), false);
    Columns(cr, cases, left, right, bottom2 + 18);
    for (size_t i = 0; i < out.size(); ++i) {
        if (!out[i].inOrbit) continue;
        cairo_set_source_rgb(cr, 0.3, 0.85, 0.4);
        cairo_move_to(cr, x[i], Y2(out[i].periapsis));
        cairo_line_to(cr, x[i], Y2(out[i].apoapsis));
        cairo_stroke(cr);
        Dot(cr, x[i], Y2(out[i].periapsis), true);
    }
}

}  // namespace

bool WriteSurveyPicture(const std::string &path, const std::vector<SurveyCase> &cases,
                        const std::vector<Outcome> &outcomes, std::string &error) {
    return WriteCairoPicture(
        path, kPictureWidth, kPictureHeight, [&](cairo_t *cr) { Paint(cr, cases, outcomes); }, error);
}

}  // namespace kvhost
