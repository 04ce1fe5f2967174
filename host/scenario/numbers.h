// numbers.h: numbers as the host reads them from its text inputs (scenario files, timelines,
// command-line options) and writes them back.
//
// A number is the whole text or nothing: no trailing garbage (a NUL byte included), nothing
// beyond a double, no infinity or NaN. Every door then checks its own range.
#ifndef KVHOST_SCENARIO_NUMBERS_H
#define KVHOST_SCENARIO_NUMBERS_H

#include <string>

namespace kvhost {

// True with the value when `text` is one finite number and nothing else.
bool ParseNumber(const std::string &text, double &out);

// The shortest text that reads back as exactly `value` (finite values only).
std::string ExactNumberText(double value);

// printf-style formatting into a string of whatever length the result needs.
std::string FormatText(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvhost

#endif
