// flight_picture.h: the picture of a flown transfer, drawn by the host from its own record: the
// ecliptic seen from its north, the Sun, the source and the target with their paths over the
// flight, the flown path with the pilot's actions marked, a scale and the dates.
#ifndef KVHOST_APP_FLIGHT_PICTURE_H
#define KVHOST_APP_FLIGHT_PICTURE_H

#include "flight_record.h"

#include <string>

namespace kvhost {

// Writes `path` as PNG or SVG (by its extension); false with the cause.
bool WriteFlightPicture(const std::string &path, const FlightRecord &record, std::string &error);

}  // namespace kvhost

#endif
