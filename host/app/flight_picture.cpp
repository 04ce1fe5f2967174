// flight_picture.cpp: drawing the flown transfer with Cairo.
#include "flight_picture.h"

#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../world/frames.h"

#include <algorithm>
#include <cmath>

namespace kvhost {

namespace {

constexpr double kSize = 900;      // picture, points
constexpr double kMargin = 60;

// Ecliptic seen from its north pole: global x to the right, global z up the page.
struct View {
    double minX, minZ, scale;
    double X(const VECTOR3 &p) const { return kMargin + (p.x - minX) * scale; }
    double Y(const VECTOR3 &p) const { return kSize - kMargin - (p.z - minZ) * scale; }
};

// A sample taken once the display named its source and target (the first may come before).
bool Named(const FlightSample &s) { return !s.display.source.empty() && !s.display.target.empty(); }

View Fit(const FlightRecord &rec) {
    double minX = 1e300, maxX = -1e300, minZ = 1e300, maxZ = -1e300;
    auto take = [&](const VECTOR3 &p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minZ = std::min(minZ, p.z), maxZ = std::max(maxZ, p.z);
    };
    for (const FlightSample &s : rec.samples()) {
        take(s.pos);
        if (Named(s)) {
            take(s.sourcePos);
            take(s.targetPos);
        }
    }
    const double span = std::max({maxX - minX, maxZ - minZ, 1.0});
    View v{minX - (span - (maxX - minX)) / 2, minZ - (span - (maxZ - minZ)) / 2, (kSize - 2 * kMargin) / span};
    return v;
}

void Path(cairo_t *cr, const View &v, const std::vector<VECTOR3> &points) {
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0) cairo_move_to(cr, v.X(points[i]), v.Y(points[i]));
        else cairo_line_to(cr, v.X(points[i]), v.Y(points[i]));
    }
    cairo_stroke(cr);
}

void Disc(cairo_t *cr, const View &v, const VECTOR3 &p, double r) {
    cairo_arc(cr, v.X(p), v.Y(p), r, 0, 2 * kPi);
    cairo_fill(cr);
}

void Text(cairo_t *cr, double x, double y, const std::string &t) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, t.c_str());
}

// A round length for the scale bar, about a fifth of the picture.
double ScaleLength(double metresAcross) {
    const double want = metresAcross / 5;
    const double p = std::pow(10.0, std::floor(std::log10(want)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= want) return m * p;
    return p;
}

void Draw(cairo_t *cr, const FlightRecord &rec) {
    const std::vector<FlightSample> &ss = rec.samples();
    const View v = Fit(rec);
    cairo_set_source_rgb(cr, 0.04, 0.05, 0.08);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 13);
    cairo_set_line_width(cr, 1.5);
    std::vector<VECTOR3> ship, source, target;
    const FlightSample *named = nullptr;
    for (const FlightSample &s : ss) {
        ship.push_back(s.pos);
        if (!Named(s)) continue;
        if (!named) named = &s;
        source.push_back(s.sourcePos);
        target.push_back(s.targetPos);
    }
    if (!named) return;
    const FlightSample &first = *named, &last = ss.back();
    // The Sun's direction (it lies far outside the view), then the source (green) and the
    // target (red) with their paths.
    const double cx = kSize / 2, cy = kSize / 2;
    const double dx = v.X(first.sunPos) - cx, dy = v.Y(first.sunPos) - cy, dl = std::hypot(dx, dy);
    if (dl > 0) {
        cairo_set_source_rgb(cr, 1, 0.9, 0.3);
        const double ex = cx + dx / dl * (kSize / 2 - 30), ey = cy + dy / dl * (kSize / 2 - 30);
        cairo_move_to(cr, ex - dx / dl * 40, ey - dy / dl * 40);
        cairo_line_to(cr, ex, ey);
        cairo_stroke(cr);
        Disc(cr, v, first.sunPos, 6);
        Text(cr, ex - dx / dl * 40 + 6, ey - dy / dl * 40 - 6, "to the Sun");
    }
    cairo_set_source_rgb(cr, 0.2, 0.8, 0.3);
    Path(cr, v, source);
    Disc(cr, v, first.sourcePos, 4);
    Disc(cr, v, last.sourcePos, 4);
    Text(cr, v.X(last.sourcePos) + 8, v.Y(last.sourcePos) - 8, first.display.source);
    cairo_set_source_rgb(cr, 0.95, 0.3, 0.25);
    Path(cr, v, target);
    Disc(cr, v, first.targetPos, 4);
    Disc(cr, v, last.targetPos, 4);
    Text(cr, v.X(last.targetPos) + 8, v.Y(last.targetPos) + 16, last.display.target);
    // The prediction the display showed as the first leg's burn began, dotted, beside the
    // flown path; then the flown path, and a cross where the pilot acted.
    if (!rec.prediction().empty()) {
        const double dots[] = {2, 4};
        cairo_set_dash(cr, dots, 2, 0);
        cairo_set_source_rgb(cr, 0.5, 0.75, 1);
        Path(cr, v, rec.prediction());
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    cairo_set_source_rgb(cr, 0.95, 0.65, 0.1);
    Path(cr, v, ship);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_set_line_width(cr, 1);
    for (const FlightSample &s : ss) {
        if (s.action.empty() || s.action.rfind("warp", 0) == 0) continue;
        const double x = v.X(s.pos), y = v.Y(s.pos);
        cairo_move_to(cr, x - 4, y - 4);
        cairo_line_to(cr, x + 4, y + 4);
        cairo_move_to(cr, x - 4, y + 4);
        cairo_line_to(cr, x + 4, y - 4);
        cairo_stroke(cr);
    }
    // Scale and dates.
    const double across = (kSize - 2 * kMargin) / v.scale, bar = ScaleLength(across);
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_move_to(cr, kMargin, kSize - 25);
    cairo_line_to(cr, kMargin + bar * v.scale, kSize - 25);
    cairo_stroke(cr);
    Text(cr, kMargin, kSize - 32, bar >= 1e9 ? FormatText("%g million km", bar / 1e9) : FormatText("%g km", bar / 1e3));
    Text(cr, kMargin, 25, FormatText("%s to %s: MJD %.4f to %.4f, %.1f h", last.display.source.c_str(),
                                     last.display.target.c_str(), ss.front().mjd, last.mjd, (last.t - ss.front().t) / 3600));
    Text(cr, kMargin, 42, "ecliptic seen from the north; flown path orange, x = where the pilot acted");
    if (!rec.prediction().empty())
        Text(cr, kMargin, 59, FormatText("dotted blue: the display's prediction as the first leg began (MJD %.4f)",
                                         rec.predictionMjd()));
}

}  // namespace

bool WriteFlightPicture(const std::string &path, const FlightRecord &rec, std::string &error) {
    if (rec.samples().empty()) {
        error = path + ": no flight to draw";
        return false;
    }
    return WriteCairoPicture(path, kSize, kSize, [&](cairo_t *cr) { Draw(cr, rec); }, error);
}

}  // namespace kvhost
