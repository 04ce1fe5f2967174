// flight_picture.h: the picture of a flown transfer, drawn by the host from its own record: the
// ecliptic seen from its north, the Sun, the source and the target with their paths over the
// flight, the flown path with the pilot's actions marked, a scale and the dates.
#ifndef KVHOST_RECORD_FLIGHT_PICTURE_H
#define KVHOST_RECORD_FLIGHT_PICTURE_H

#include "flight_record.h"

#include <string>

namespace kvhost {

// Writes `path` as PNG or SVG (by its extension); false with the cause.
bool WriteFlightPicture(const std::string &path, const FlightRecord &record, std::string &error);

// What the picture is drawn about: "Sun", or the source or target the flight stayed near (so
// that an Earth-Moon flight is not drawn as a zig-zag along the Earth's orbit).
std::string FlightPictureCentre(const FlightRecord &record);

}  // namespace kvhost

#endif
