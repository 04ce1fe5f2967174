// flight_record.h: what a piloted flight leaves behind: the log's samples, the moments the
// pilot acted, the paths of the ship and of its source and target, and the figures of the
// summary.
#ifndef KVHOST_RECORD_FLIGHT_RECORD_H
#define KVHOST_RECORD_FLIGHT_RECORD_H

#include "../world/world.h"
#include "../session/display_reading.h"

#include <string>
#include <vector>

namespace kvhost {

struct FlightSample {
    double t = 0, mjd = 0;
    std::string vessel, status;
    std::string statusBody;                        // the body it is landed or crashed on ("" flying)
    VECTOR3 pos = {{0, 0, 0}}, vel = {{0, 0, 0}};  // global
    VECTOR3 sourcePos = {{0, 0, 0}}, targetPos = {{0, 0, 0}}, sunPos = {{0, 0, 0}};
    double sourceRadius = 0, targetRadius = 0;  // m
    double sourceDist = 0, sourceSpeed = 0;     // m above the surface, m/s
    double targetDist = 0, targetSpeed = 0;
    double mainLevel = 0, propellant = 0;
    int refills = 0;
    double attitudeError = 0;  // degrees off the display's steering direction
    DisplayReading display;    // what the display showed last
    std::string action;        // the pilot's, at this moment ("" between)
};

// A text field as CSV has it: quoted, with its quotes doubled, when it holds a comma, a quote
// or a line break.
std::string CsvField(const std::string &text);

class FlightRecord {
public:
    // Takes a sample of the focus vessel against the source and target the display names.
    void Sample(const World &world, double simt, const DisplayReading &display, const std::string &action);
    const std::vector<FlightSample> &samples() const { return samples_; }

    static std::string CsvHeader();
    std::string Csv() const;

    // The ship's predicted path as the display had it (global positions), and when.
    void SetPrediction(const std::vector<VECTOR3> &path, double mjd) {
        predicted_ = path;
        predictedMjd_ = mjd;
    }
    const std::vector<VECTOR3> &prediction() const { return predicted_; }
    double predictionMjd() const { return predictedMjd_; }

private:
    std::vector<FlightSample> samples_;
    std::vector<VECTOR3> predicted_;
    double predictedMjd_ = 0;
};

}  // namespace kvhost

#endif
