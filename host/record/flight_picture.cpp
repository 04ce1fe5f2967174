// flight_picture.cpp: drawing the flown transfer with Cairo.
#include "flight_picture.h"

#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../world/frames.h"

#include <algorithm>
#include <cmath>

namespace kvhost {

namespace {

constexpr double kSize = 900;  // picture, points
constexpr double kMargin = 60;
constexpr double kLegendWidth = 420;  // the pilot's numbered actions, on the right
constexpr double kLegendTop = 80, kLegendRow = 17;
constexpr size_t kLegendText = 32;  // characters of an action a legend line holds; longer ones wrap
// A flight that stays within this fraction of its body's distance from the Sun is drawn about
// that body: seen about the Sun, the body's own motion would make a zig-zag of the path.
constexpr double kNeighbourhood = 0.05;

// Ecliptic seen from its north pole: x to the right, z up the page, about the frame's origin.
struct View {
    double minX, minZ, scale;
    double X(const VECTOR3 &p) const { return kMargin + (p.x - minX) * scale; }
    double Y(const VECTOR3 &p) const { return kSize - kMargin - (p.z - minZ) * scale; }
};

// A sample taken once the display named its source and target (the first may come before).
bool Named(const FlightSample &s) { return !s.display.source.empty() && !s.display.target.empty(); }

// What the picture is drawn about: the Sun's frame (global positions), or the source's or the
// target's when the whole flight stays in that body's neighbourhood.
enum class Frame { Sun, Source, Target };

VECTOR3 Origin(const FlightSample &s, Frame f) {
    if (f == Frame::Source) return s.sourcePos;
    if (f == Frame::Target) return s.targetPos;
    return _V(0, 0, 0);
}

Frame ChooseFrame(const std::vector<FlightSample> &ss) {
    bool nearSource = true, nearTarget = true, any = false;
    for (const FlightSample &s : ss) {
        if (!Named(s)) continue;
        any = true;
        nearSource &= length(s.pos - s.sourcePos) < kNeighbourhood * length(s.sourcePos - s.sunPos);
        nearTarget &= length(s.pos - s.targetPos) < kNeighbourhood * length(s.targetPos - s.sunPos);
    }
    if (!any) return Frame::Sun;
    if (nearSource && ss.back().display.source != "Sun") return Frame::Source;
    if (nearTarget && ss.back().display.target != "Sun") return Frame::Target;
    return Frame::Sun;
}

// The paths in the chosen frame.
struct Paths {
    std::vector<VECTOR3> ship, source, target;
    VECTOR3 sunDirection = {{0, 0, 0}};
};

Paths InFrame(const std::vector<FlightSample> &ss, Frame f) {
    Paths p;
    // A sample from before the display named its bodies is placed about the first that did.
    const FlightSample *firstNamed = nullptr;
    for (const FlightSample &s : ss)
        if (!firstNamed && Named(s)) firstNamed = &s;
    if (!firstNamed) return p;
    for (const FlightSample &s : ss) {
        const VECTOR3 o = Origin(Named(s) ? s : *firstNamed, f);
        p.ship.push_back(s.pos - o);
        if (!Named(s)) continue;
        if (p.source.empty()) p.sunDirection = s.sunPos - o;
        p.source.push_back(s.sourcePos - o);
        p.target.push_back(s.targetPos - o);
    }
    return p;
}

// The view holds the flown path and the bodies' paths; the prediction may run far past the
// target and does not set it.
View Fit(const Paths &p) {
    double minX = 1e300, maxX = -1e300, minZ = 1e300, maxZ = -1e300;
    auto take = [&](const std::vector<VECTOR3> &points) {
        for (const VECTOR3 &q : points) {
            minX = std::min(minX, q.x), maxX = std::max(maxX, q.x);
            minZ = std::min(minZ, q.z), maxZ = std::max(maxZ, q.z);
        }
    };
    take(p.ship);
    take(p.source);
    take(p.target);
    const double span = std::max({maxX - minX, maxZ - minZ, 1.0});
    const double width = kSize - 2 * kMargin;
    return View{minX - (span - (maxX - minX)) / 2, minZ - (span - (maxZ - minZ)) / 2, width / span};
}

void Path(cairo_t *cr, const View &v, const std::vector<VECTOR3> &points) {
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr, v.X(points[i]), v.Y(points[i]));
        else
            cairo_line_to(cr, v.X(points[i]), v.Y(points[i]));
    }
    cairo_stroke(cr);
}

// A body's disc: to scale where it is bigger than the dot `least` (points) that marks it.
void Disc(cairo_t *cr, const View &v, const VECTOR3 &p, double least, double radius = 0) {
    cairo_new_sub_path(cr);  // no line from where the last text ended
    cairo_arc(cr, v.X(p), v.Y(p), std::max(least, radius * v.scale), 0, 2 * kPi);
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

std::string Distance(double metres) {
    if (metres >= 1e9) return FormatText("%g million km", metres / 1e9);
    if (metres >= 1e3) return FormatText("%g km", metres / 1e3);
    return FormatText("%g m", metres);
}

// A label drawn where the placer puts it, with a thin line back to its point when it had to
// move away.
void PlaceLabel(cairo_t *cr, LabelPlacer &placer, double x, double y, const std::string &text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    double bx, by;
    placer.Place(x, y, e.x_advance, bx, by);
    if (std::hypot(bx - x, by - y) > 30) {
        cairo_save(cr);
        cairo_set_line_width(cr, 0.5);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, bx < x ? bx + e.x_advance : bx, by - 4);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    cairo_move_to(cr, bx, by);
    cairo_show_text(cr, text.c_str());
}

void DrawBodies(cairo_t *cr, const View &v, const Paths &p, const FlightSample &first, const FlightSample &last,
                Frame frame, LabelPlacer &labels) {
    // The Sun's direction (it lies far outside the view), then the source (green) and the
    // target (red) with their paths, each body to scale where it is more than a dot.
    const double cx = kSize / 2, cy = kSize / 2;
    const VECTOR3 sunMark = p.sunDirection;
    const double dx = v.X(sunMark) - cx, dy = v.Y(sunMark) - cy, dl = std::hypot(dx, dy);
    if (dl > 0) {
        cairo_set_source_rgb(cr, 1, 0.9, 0.3);
        const double ex = cx + dx / dl * (kSize / 2 - 30), ey = cy + dy / dl * (kSize / 2 - 30);
        cairo_move_to(cr, ex - dx / dl * 40, ey - dy / dl * 40);
        cairo_line_to(cr, ex, ey);
        cairo_stroke(cr);
        if (frame == Frame::Sun) Disc(cr, v, sunMark, 6);
        PlaceLabel(cr, labels, ex - dx / dl * 40, ey - dy / dl * 40, "to the Sun");
    }
    cairo_set_source_rgb(cr, 0.2, 0.8, 0.3);
    Path(cr, v, p.source);
    Disc(cr, v, p.source.front(), 4, first.sourceRadius);
    Disc(cr, v, p.source.back(), 4, first.sourceRadius);
    PlaceLabel(cr, labels, v.X(p.source.back()), v.Y(p.source.back()), first.display.source);
    if (last.display.target == first.display.source) return;
    cairo_set_source_rgb(cr, 0.95, 0.3, 0.25);
    Path(cr, v, p.target);
    Disc(cr, v, p.target.front(), 4, last.targetRadius);
    Disc(cr, v, p.target.back(), 4, last.targetRadius);
    PlaceLabel(cr, labels, v.X(p.target.back()), v.Y(p.target.back()), last.display.target);
}

}  // namespace

std::vector<std::string> LegendLines(size_t n, double mjd, const std::string &what) {
    std::vector<std::string> lines;
    std::string rest = what, prefix = FormatText("%2zu MJD %.4f ", n, mjd);
    while (!rest.empty()) {
        size_t cut = rest.size();
        if (cut > kLegendText) {
            cut = rest.rfind(' ', kLegendText);
            if (cut == std::string::npos || cut == 0) cut = kLegendText;
        }
        lines.push_back(prefix + rest.substr(0, cut));
        rest = cut < rest.size() ? rest.substr(rest.find_first_not_of(' ', cut) == std::string::npos
                                                   ? rest.size()
                                                   : rest.find_first_not_of(' ', cut))
                                 : "";
        prefix = std::string(prefix.size(), ' ');
    }
    if (lines.empty()) lines.push_back(prefix);
    return lines;
}

void LabelPlacer::Place(double x, double y, double w, double &bx, double &by) {
    const double h = kLabelHeight;
    bx = x + 8, by = y - 6;
    // Beside the point first, then stacked above and below it, right and left, a row at a time.
    for (int ring = 0; ring < kLabelRings; ++ring) {
        const double up = y - 6 - h * ring, down = y + 18 + h * ring;
        const double spots[4][2] = {{x + 8, up}, {x + 8, down}, {x - 8 - w, up}, {x - 8 - w, down}};
        for (const auto &spot : spots)
            if (Free(spot[0], spot[1] - h + 3, w, h)) {
                bx = spot[0], by = spot[1];
                taken_.push_back({bx, by - h + 3, w, h});
                return;
            }
    }
    taken_.push_back({bx, by - h + 3, w, h});
}

bool LabelPlacer::Free(double x, double y, double w, double h) const {
    if (x < 2 || y < 2 || x + w > width_ - 2 || y + h > height_ - 2) return false;
    for (const Box &b : taken_)
        if (x < b.x + b.w + 2 && b.x < x + w + 2 && y < b.y + b.h && b.y < y + h) return false;
    return true;
}

namespace {

// The pilot's actions, counted as the legend counts them (warp changes left out).
bool Counted(const FlightSample &s) { return !s.action.empty() && s.action.rfind("warp", 0) != 0; }

// A cross at each moment the pilot acted, numbered (the actions at one place together, "14-18"),
// and the numbers explained on the right, every one of them.
void DrawActions(cairo_t *cr, const View &v, const std::vector<FlightSample> &ss, const Paths &p, LabelPlacer &labels) {
    cairo_set_line_width(cr, 1);
    size_t n = 0, groupFirst = 0, row = 0;
    double gx = -1e9, gy = -1e9;
    auto label = [&]() {
        if (groupFirst == 0) return;
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        PlaceLabel(cr, labels, gx, gy, groupFirst == n ? std::to_string(n) : FormatText("%zu-%zu", groupFirst, n));
    };
    for (size_t i = 0; i < ss.size(); ++i) {
        const FlightSample &s = ss[i];
        if (!Counted(s)) continue;
        ++n;
        const double x = v.X(p.ship[i]), y = v.Y(p.ship[i]);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        cairo_move_to(cr, x - 4, y - 4);
        cairo_line_to(cr, x + 4, y + 4);
        cairo_move_to(cr, x - 4, y + 4);
        cairo_line_to(cr, x + 4, y - 4);
        cairo_stroke(cr);
        if (std::hypot(x - gx, y - gy) > 12) {
            if (n > 1) {
                --n;
                label();
                ++n;
            }
            groupFirst = n;
            gx = x;
            gy = y;
        }
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        for (const std::string &line : LegendLines(n, s.mjd, s.action))
            Text(cr, kSize + 10, kLegendTop + kLegendRow * static_cast<double>(row++), line);
    }
    label();
    if (n > 0) Text(cr, kSize + 10, 60, "the pilot's actions");
}

void DrawEnds(cairo_t *cr, const View &v, const std::vector<FlightSample> &ss, const Paths &p, LabelPlacer &labels) {
    const FlightSample &last = ss.back();
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    PlaceLabel(cr, labels, v.X(p.ship.front()), v.Y(p.ship.front()), FormatText("start MJD %.4f", ss.front().mjd));
    if (last.status == "crashed") {
        // A crash: a red ring and its body and date where the flight ended.
        const double x = v.X(p.ship.back()), y = v.Y(p.ship.back());
        cairo_set_source_rgb(cr, 1, 0.2, 0.2);
        cairo_set_line_width(cr, 2.5);
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, 9, 0, 2 * kPi);
        cairo_stroke(cr);
        PlaceLabel(cr, labels, x + 6, y - 6, FormatText("crashed on %s, MJD %.4f", last.statusBody.c_str(), last.mjd));
        return;
    }
    PlaceLabel(cr, labels, v.X(p.ship.back()), v.Y(p.ship.back()), FormatText("end MJD %.4f", last.mjd));
}

// The legend's height: every action's lines.
double LegendBottom(const std::vector<FlightSample> &ss) {
    size_t rows = 0, n = 0;
    for (const FlightSample &s : ss)
        if (Counted(s)) rows += LegendLines(++n, s.mjd, s.action).size();
    return kLegendTop + kLegendRow * static_cast<double>(rows) + 20;
}

void Draw(cairo_t *cr, const FlightRecord &rec) {
    const std::vector<FlightSample> &ss = rec.samples();
    cairo_set_source_rgb(cr, 0.04, 0.05, 0.08);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 13);
    cairo_set_line_width(cr, 1.5);
    const Frame frame = ChooseFrame(ss);
    const Paths p = InFrame(ss, frame);
    if (p.source.empty()) return;
    const View v = Fit(p);
    const FlightSample *first = nullptr;
    for (const FlightSample &s : ss)
        if (!first && Named(s)) first = &s;
    const FlightSample &last = ss.back();
    LabelPlacer labels(kSize, kSize);
    DrawBodies(cr, v, p, *first, last, frame, labels);
    // The prediction the display showed as the first leg's burn began, dotted, beside the flown
    // path (about the Sun only: its points are where the ship would be, not where the body
    // would be then); then the flown path.
    const bool prediction = !rec.prediction().empty() && frame == Frame::Sun;
    if (prediction) {
        const double dots[] = {2, 4};
        cairo_set_dash(cr, dots, 2, 0);
        cairo_set_source_rgb(cr, 0.5, 0.75, 1);
        Path(cr, v, rec.prediction());
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    cairo_set_source_rgb(cr, 0.95, 0.65, 0.1);
    Path(cr, v, p.ship);
    DrawEnds(cr, v, ss, p, labels);
    DrawActions(cr, v, ss, p, labels);
    // Scale and dates.
    const double across = (kSize - 2 * kMargin) / v.scale, bar = ScaleLength(across);
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, kMargin, kSize - 25);
    cairo_line_to(cr, kMargin + bar * v.scale, kSize - 25);
    cairo_stroke(cr);
    Text(cr, kMargin, kSize - 32, Distance(bar));
    Text(cr, kMargin, 25,
         FormatText("%s to %s: MJD %.4f to %.4f, %.1f h", last.display.source.c_str(), last.display.target.c_str(),
                    ss.front().mjd, last.mjd, (last.t - ss.front().t) / 3600));
    const std::string about = frame == Frame::Sun      ? "the Sun"
                              : frame == Frame::Source ? first->display.source
                                                       : last.display.target;
    Text(cr, kMargin, 42, "ecliptic seen from the north, about " + about + "; flown path orange");
    if (prediction)
        Text(
            cr, kMargin, 59,
            FormatText("dotted blue: the display's prediction as the first leg began (MJD %.4f)", rec.predictionMjd()));
}

}  // namespace

std::string FlightPictureCentre(const FlightRecord &rec) {
    const std::vector<FlightSample> &ss = rec.samples();
    if (ss.empty()) return "Sun";
    const Frame f = ChooseFrame(ss);
    return f == Frame::Sun ? "Sun" : f == Frame::Source ? ss.back().display.source : ss.back().display.target;
}

bool WriteFlightPicture(const std::string &path, const FlightRecord &rec, std::string &error) {
    if (rec.samples().empty()) {
        error = path + ": no flight to draw";
        return false;
    }
    // As tall as the legend needs, so that it shows every action.
    return WriteCairoPicture(
        path, kSize + kLegendWidth, std::max(kSize, LegendBottom(rec.samples())), [&](cairo_t *cr) { Draw(cr, rec); },
        error);
}

}  // namespace kvhost
