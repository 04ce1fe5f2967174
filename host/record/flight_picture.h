// flight_picture.h: the picture of a flown transfer, drawn by the host from its own record: the
// ecliptic seen from its north, the Sun, the source and the target with their paths over the
// flight, the flown path with the pilot's actions marked, a scale and the dates.
#ifndef KVHOST_RECORD_FLIGHT_PICTURE_H
#define KVHOST_RECORD_FLIGHT_PICTURE_H

#include "flight_record.h"

#include <string>
#include <vector>

namespace kvhost {

// Where a picture's labels go: each at the first spot beside its point, or stacked above or below
// it row by row, that covers no label placed before it and stays inside the area (`width` by
// `height`).
class LabelPlacer {
public:
    static constexpr double kLabelHeight = 14;
    static constexpr int kLabelRings = 64;  // rows tried above and below a point
    LabelPlacer(double width, double height) : width_(width), height_(height) {}
    // A label `w` wide for the point (x, y): the left end of its baseline, (bx, by). Where no spot
    // is free it goes beside the point.
    void Place(double x, double y, double w, double &bx, double &by);

private:
    struct Box {
        double x, y, w, h;
    };
    bool Free(double x, double y, double w, double h) const;
    double width_, height_;
    std::vector<Box> taken_;
};

// The legend's lines of the pilot's n-th action: numbered, its date, and its text wrapped at word
// ends, the lines after the first indented.
std::vector<std::string> LegendLines(size_t n, double mjd, const std::string &what);

// Writes `path` as PNG or SVG (by its extension); false with the cause.
bool WriteFlightPicture(const std::string &path, const FlightRecord &record, std::string &error);

// What the picture is drawn about: "Sun", or the source or target the flight stayed near (so
// that an Earth-Moon flight is not drawn as a zig-zag along the Earth's orbit).
std::string FlightPictureCentre(const FlightRecord &record);

}  // namespace kvhost

#endif
