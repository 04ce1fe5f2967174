// format.cpp: the read-out formats.
#include "format.h"

#include "draw_state.h"

#include "../model/units.h"

#include <cmath>
#include <cstdio>

namespace kavrex {

namespace {

const char *const kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const kMonths[14] = {"",    "",    "Jan", "Feb", "Mar", "Apr", "May",
                                 "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr double kAstronomicalUnit = 149598000000.0;

// The label at x = 5 (green unless said), then the value text at x = 90 in its colour, then
// the next line.
void LabelAndValue(HDC dc, const char *label, const char *value, COLORREF colour, COLORREF labelColour = kGreen) {
    Draw().currentDc = dc;
    DrawLine(kLabelX, labelColour, "%s", label);
    DrawLine(ValueX(), colour, "%s", value);
    NextLine();
}

long Trunc(double x) { return static_cast<long>(std::trunc(x)); }
double Real(long n) { return static_cast<double>(n); }

}  // namespace

void LadderText(char *out, size_t size, double v, int decimals) {
    const double a = std::fabs(v);
    const char *suffix = "";
    double shown = v;
    if (a >= 1e12) {
        shown = v / kAstronomicalUnit;
        suffix = "AU";
    } else if (a >= 1e9) {
        shown = v / 1e9;
        suffix = "G";
    } else if (a >= 1e6) {
        shown = v / 1e6;
        suffix = "M";
    } else if (a >= 1000) {
        shown = v / 1000;
        suffix = "k";
    }
    std::snprintf(out, size, decimals == 4 ? "%.4f%s" : "%.2f%s", shown, suffix);
}

void PrintDistanceLabelled(HDC dc, const char *label, COLORREF labelColour, double v) {
    char value[kLineBuffer];
    LadderText(value, sizeof value, v, 2);
    LabelAndValue(dc, label, value, v >= 0 ? kWhite : kRed, labelColour);
}

void PrintDistance(HDC dc, const char *label, double v) { PrintDistanceLabelled(dc, label, kGreen, v); }

void PrintAccel(HDC dc, const char *label, double v) {
    char value[kLineBuffer];
    LadderText(value, sizeof value, v, 4);
    LabelAndValue(dc, label, value, kWhite);
}

void PrintCount(HDC dc, const char *label, int32_t n) {
    char value[kLineBuffer];
    std::snprintf(value, sizeof value, "%d", n);
    LabelAndValue(dc, label, value, kWhite);
}

void PrintMjd(HDC dc, const char *label, double mjd, bool highlight) {
    const COLORREF colour = highlight ? kYellow : kWhite;
    char value[kLineBuffer];
    std::snprintf(value, sizeof value, "%5.6f", mjd);
    LabelAndValue(dc, label, value, colour);
    DrawLine(ValueX(), colour, "%s", MjdToText(mjd));
    NextLine();
}

// Durations the clock can show: 100 million hours (some 11,000 years) keeps the hours within a
// 32-bit long, as on Windows; a longer or non-number duration has no clock time to show.
constexpr double kMaxShownSeconds = kSecondsPerHour * 1e8;

void DurationText(char *out, size_t size, double s) {
    if (!(std::fabs(s) < kMaxShownSeconds)) {
        std::snprintf(out, size, "--:--:--");
        return;
    }
    const long h = Trunc(s / kSecondsPerHour);
    const long m = Trunc((s - kSecondsPerHour * Real(h)) / 60);
    const long sec = Trunc(s - kSecondsPerHour * Real(h) - 60.0 * Real(m));
    std::snprintf(out, size, "%ld:%02ld:%02ld", h, m, sec);
}

void PrintDuration(HDC dc, const char *label, double seconds) {
    char value[kLineBuffer];
    DurationText(value, sizeof value, seconds);
    LabelAndValue(dc, label, value, kWhite);
}

const char *MjdToText(double mjd) {
    // Dates the display can show: a non-number or one beyond the calendar's reach has no date.
    char *text = Module().dateBuffer;
    const size_t size = sizeof Module().dateBuffer;
    if (!(std::fabs(mjd) < 1e9)) {
        std::snprintf(text, size, "--- --- -- --:--");
        return text;
    }
    const long Z = Trunc(mjd);
    const double F = mjd - static_cast<double>(Z);
    const double hours = 24 * F;
    long B;
    if (Z < -100840) {
        B = Z + 2401525;
    } else {
        const long alpha = Trunc((Real(Z) + 532784.75) / 36524.25);
        B = Z + 2401526 + alpha - alpha / 4;
    }
    const long Q = Trunc((Real(B) - 122.1) / 365.25);
    const long D = 365 * Q + Q / 4;
    const long E = Trunc(Real(B - D) / 30.6001);
    const long day = Trunc(Real(B - D) + 0.5) - Trunc(30.6001 * Real(E));
    const long month = E < 14 ? E : E - 12;
    const long hour = Trunc(hours);
    const long minute = Trunc((hours - Real(hour)) * 60);
    // The weekday in 0..6 whatever the sign of the date (MJD 0 was a Wednesday).
    const long weekday = ((Z + 3) % 7 + 7) % 7;
    const char *monthName = month >= 2 && month <= 13 ? kMonths[month] : "???";
    std::snprintf(text, size, "%s %s %02ld %02ld:%02ld", kWeekdays[weekday], monthName, day, hour, minute);
    return text;
}

}  // namespace kavrex
