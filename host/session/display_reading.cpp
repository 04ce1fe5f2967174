// display_reading.cpp: reading the strip and the read-outs off the drawn texts.
#include "display_reading.h"

#include "../scenario/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kvhost {

namespace {

constexpr double kAu = 149598000000.0;  // the display's astronomical unit

// A page's texts, the only calls a person reads (a plot's thousands of lines are passed over once).
using Texts = std::vector<const DrawOp *>;

// The text drawn right of `op` on the same line (the next cell or the value), or null.
const DrawOp *RightOf(const Texts &ops, const DrawOp &op) {
    const DrawOp *best = nullptr;
    for (const DrawOp *o : ops)
        if (o->y0 == op.y0 && o->x0 > op.x0 && (!best || o->x0 < best->x0)) best = o;
    return best;
}

const DrawOp *Labelled(const Texts &ops, const char *label) {
    for (const DrawOp *o : ops)
        if (o->text == label) return RightOf(ops, *o);
    return nullptr;
}

bool LadderValue(const Texts &ops, const char *label, double &out) {
    const DrawOp *v = Labelled(ops, label);
    return v && ReadLadderNumber(v->text, out);
}

}  // namespace

bool ReadLadderNumber(const std::string &text, double &out) {
    const struct {
        const char *suffix;
        double scale;
    } ladder[] = {{"AU", kAu}, {"G", 1e9}, {"M", 1e6}, {"k", 1e3}};
    for (const auto &step : ladder) {
        const std::string s = step.suffix;
        if (text.size() > s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0) {
            double v;
            if (!ParseNumber(text.substr(0, text.size() - s.size()), v)) return false;
            out = v * step.scale;
            return true;
        }
    }
    return ParseNumber(text, out);
}

double LadderStep(double v) {
    // Distances print two decimals of their unit: AU from 1e12 m, then G, M and k.
    const double a = std::fabs(v);
    return 0.01 * (a >= 1e12 ? kAu : a >= 1e9 ? 1e9 : a >= 1e6 ? 1e6 : a >= 1e3 ? 1e3 : 1);
}

bool ReadDuration(const std::string &text, double &seconds) {
    int h = 0, m = 0, s = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &h, &m, &s, &tail) != 3 || h < 0 || m < 0 || s < 0) return false;
    seconds = h * 3600.0 + m * 60.0 + s;
    return true;
}

bool ReadSwitches(const std::string &hold, const std::string &aim, const std::string &invert, const std::string &drive,
                  DisplayReading &out) {
    const bool known = (hold == "OFF" || hold == "SEEK" || hold == "HOLD") && (aim == "DIR" || aim == "PRO") &&
                       (invert == "OFF" || invert == "INV") && (drive == "ON" || drive == "OFF");
    if (!known) return false;
    out.hold = hold == "HOLD" ? HoldState::Hold : hold == "SEEK" ? HoldState::Seek : HoldState::Off;
    out.prograde = aim == "PRO";
    out.inverted = invert == "INV";
    out.driveOn = drive == "ON";
    return true;
}

bool ReadDisplay(const std::vector<DrawOp> &page, DisplayReading &out) {
    Texts ops;
    for (const DrawOp &op : page)
        if (op.kind == DrawOp::Text) ops.push_back(&op);
    DisplayReading r;
    const DrawOp *hold = Labelled(ops, "hold"), *aim = Labelled(ops, " aim"), *inv = Labelled(ops, " inv"),
                 *drive = Labelled(ops, "  KV");
    if (!hold || !aim || !inv || !drive || !ReadSwitches(hold->text, aim->text, inv->text, drive->text, r))
        return false;
    r.strip = true;
    if (const DrawOp *fill = Labelled(ops, "fill")) r.autofillOff = fill->text == "OFF";
    const DrawOp *gee = Labelled(ops, " set");
    if (!gee) gee = Labelled(ops, " SUP");
    if (gee) ParseNumber(gee->text, r.setGee);

    const DrawOp *target = Labelled(ops, "Target"), *source = Labelled(ops, "Source");
    const DrawOp *tanks = Labelled(ops, "Tanks"), *eta = Labelled(ops, "ETA");
    r.impact = Labelled(ops, "IMPACT") != nullptr;
    r.readouts = target && source && tanks && eta && LadderValue(ops, "TargetD", r.targetDist) &&
                 LadderValue(ops, "TargetV", r.targetSpeed) && LadderValue(ops, "SourceD", r.sourceDist) &&
                 LadderValue(ops, "SourceV", r.sourceSpeed) && (r.impact || LadderValue(ops, "PeT", r.closest)) &&
                 LadderValue(ops, "PeS", r.closestSource) && LadderValue(ops, "TargetG", r.targetG) &&
                 ParseNumber(eta->text, r.etaMjd);
    if (const DrawOp *clock = Labelled(ops, "Elapsed")) ReadDuration(clock->text, r.elapsed);
    if (const DrawOp *eject = Labelled(ops, "Eject")) ParseNumber(eject->text, r.ejectMjd);
    if (r.readouts) {
        r.target = target->text;
        r.source = source->text;
        r.tanks = std::atoi(tanks->text.c_str());
        if (const DrawOp *center = Labelled(ops, "Center")) r.center = center->text;
    }
    out = r;
    return true;
}

void FollowRefresh(const DisplayReading *shown, DisplayReading &reading) {
    if (!shown) return;
    DisplayReading now = *shown;
    if (!now.readouts) {
        DisplayReading strip = reading;
        strip.strip = true;
        strip.hold = now.hold;
        strip.prograde = now.prograde;
        strip.inverted = now.inverted;
        strip.driveOn = now.driveOn;
        strip.autofillOff = now.autofillOff;
        now = strip;
    }
    reading = now;
}

}  // namespace kvhost
