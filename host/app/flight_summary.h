// flight_summary.h: the figures of a flight, kept frame by frame, and the summary made of them
// (printed, and written as summary.json).
#ifndef KVHOST_APP_FLIGHT_SUMMARY_H
#define KVHOST_APP_FLIGHT_SUMMARY_H

#include "../world/world.h"
#include "display_reading.h"
#include "flight_record.h"
#include "pilot.h"

#include <string>
#include <vector>

namespace kvhost {

struct FlightSummary {
    std::string vessel, source, target;
    std::string crashedOn;                           // the body the vessel crashed on, if it did
    bool piloted = false, departed = false, arrived = false;
    double departureMjd = 0, arrivalMjd = 0, endMjd = 0;
    double flightHours = 0, brachistochroneHours = 0, straightLineKm = 0, acceleration = 0;
    double closestKm = 0, speedAtClosest = 0;        // above the target's surface, m/s
    double restKm = 0, restSpeed = 0;                // from the target's centre at the end, m/s
    double propellantUsed = 0;
    int refills = 0, legs = 0, flips = 0;
    double peakSpeedKms = 0;                         // relative to the target
    double predictedEtaMjd = 0, predictedPetKm = 0;  // what the display showed at departure
    bool predictedImpact = false;
    double simulatedHours = 0, wallSeconds = 0;
    std::vector<std::string> vesselLines;            // every vessel's state at the end
};

// Keeps what the summary needs as the flight goes.
class FlightTally {
public:
    void Depart(const World &world, const DisplayReading &display);
    void Arrive(const World &world);
    void Frame(const World &world, const DisplayReading &display);
    // How far along the flight is, 0..1, from the target's distance when it began.
    double Progress(const DisplayReading &display);
    FlightSummary Summarise(const World &world, const FlightRecord &record, const Pilot &pilot, double simt,
                            double wall, bool piloted);

private:
    bool departed_ = false, arrived_ = false;
    double departureMjd_ = 0, arrivalMjd_ = 0;
    VECTOR3 departurePos_ = {{0, 0, 0}}, arrivalPos_ = {{0, 0, 0}};
    DisplayReading atDeparture_;
    double closest_ = 1e300, speedAtClosest_ = 0, peakSpeed_ = 0, startDist_ = 0;
    double startPropellant_ = -1;
};

std::string SummaryJson(const FlightSummary &s);
std::string SummaryText(const FlightSummary &s);

}  // namespace kvhost

#endif
