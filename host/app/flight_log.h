// flight_log.h: a CSV log of every vessel's state, one row per vessel per sample.
#ifndef KVHOST_APP_FLIGHT_LOG_H
#define KVHOST_APP_FLIGHT_LOG_H

#include "../world/world.h"

#include <string>

namespace kvhost {

// The header line and one row per vessel: time, date, name, gravity reference, altitude above
// it, distance and speed relative to it, mass, fuel fraction, main engine level, status.
std::string FlightLogHeader();
std::string FlightLogRows(const World &world, double simt);
// A text field quoted as CSV needs it (commas, quotes, line breaks).
std::string CsvField(const std::string &text);

}  // namespace kvhost

#endif
