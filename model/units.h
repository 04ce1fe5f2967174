// units.h: the module's angle and time units. Everything inside the module is in radians,
// metres and seconds; dates are Modified Julian Dates, in days.
#ifndef KAVREX_MODEL_UNITS_H
#define KAVREX_MODEL_UNITS_H

namespace kavrex {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegree = 0.017453292519943278;  // one degree in radians, as the module has always held it
constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerDay = 86400.0;

}  // namespace kavrex

#endif
