// format.h: labelled read-out lines: a green label at x = 5 and a value at x = 90 in the
// display's number formats: the metric ladder, counts, dates with their calendar line, and
// durations.
#ifndef KAVREX_DISPLAY_FORMAT_H
#define KAVREX_DISPLAY_FORMAT_H

#include <Orbitersdk.h>

#include <cstdint>

namespace kavrex {

// The ladder text of v: "%.2f", "k", "M", "G", then astronomical units, with `decimals` 2 or 4.
void LadderText(char *out, size_t size, double v, int decimals);

void PrintDistance(HDC dc, const char *label, double v);
// The same with the label in a colour of its own (the PeT / IMPACT line).
void PrintDistanceLabelled(HDC dc, const char *label, COLORREF labelColour, double v);
void PrintAccel(HDC dc, const char *label, double v);
void PrintCount(HDC dc, const char *label, int32_t n);
void PrintMjd(HDC dc, const char *label, double mjd, bool highlight);
void PrintDuration(HDC dc, const char *label, double seconds);

// "Sat Jan 01 12:00" for MJD 51544.5; valid until the next call.
const char *MjdToText(double mjd);
// The "%d:%02d:%02d" text of a duration in seconds.
void DurationText(char *out, size_t size, double seconds);

}  // namespace kavrex

#endif
