// flight_summary.h: the figures of a flight, kept frame by frame, and the summary made of them
// (printed, and written as summary.json).
#ifndef KVHOST_RECORD_FLIGHT_SUMMARY_H
#define KVHOST_RECORD_FLIGHT_SUMMARY_H

#include "../world/world.h"
#include "../session/display_reading.h"
#include "flight_record.h"
#include "../pilot/pilot.h"

#include <string>
#include <utility>
#include <vector>

namespace kvhost {

// Where and how the focus vessel met a surface at more than landing speed.
struct Impact {
    std::string body;
    double mjd = 0, speed = 0;           // m/s relative to the body
    double latitude = 0, longitude = 0;  // degrees, ecliptic, of the point seen from the centre
};

// A figure that may not exist: written as null when it does not.
struct Figure {
    bool known = false;
    double value = 0;
    void Set(double v) {
        known = true;
        value = v;
    }
};

// Where the flight ended about its target: the osculating orbit, and whether it is one a pilot
// would call an orbit (bound, its closest approach above the surface), or why not.
struct FinalOrbit {
    bool known = false, inOrbit = false, bound = false;
    double periapsisKm = 0, apoapsisKm = 0, periodHours = 0;  // above the surface; h
    std::string why;                                          // why it is no orbit ("" when it is)
};

// The distance from a body's centre within which its pull holds a ship against the tide of the
// body it orbits (its Hill radius: Rhea's 6,000 km against Saturn's); without a primary, no
// bound.
double HoldingRadius(const World &w, int body);
FinalOrbit FinalOrbitAbout(const World &world, const Vessel &v, int body);

struct FlightSummary {
    std::string vessel, source, target;
    std::string crashedOn;  // the body the vessel crashed on, if it did
    bool piloted = false, departed = false, arrived = false, interrupted = false;
    std::string refused;  // why the pilot would not fly it ("" flew)
    Figure departureMjd, arrivalMjd;
    double endMjd = 0;
    Figure flightHours, brachistochroneHours, straightLineKm, acceleration;
    Figure closestKm, speedAtClosest;  // above the target's surface, m/s
    Figure restKm, restSpeed;          // from the target's centre once arrived, m/s
    bool crashed = false;
    Impact impact;
    FinalOrbit orbit;
    double propellantUsed = 0;
    int refills = 0, legs = 0, flips = 0;
    double peakSpeedKms = 0;                         // relative to the target
    double predictedEtaMjd = 0, predictedPetKm = 0;  // what the display showed at departure
    bool predictedImpact = false;
    double simulatedHours = 0, wallSeconds = 0;
    long frames = 0, predictions = 0;             // predictions shown on the displays
    std::vector<std::pair<int, long>> refreshes;  // display slot, refreshes
    std::vector<std::string> vesselLines;         // every vessel's state at the end
};

// Keeps what the summary needs as the flight goes.
class FlightTally {
public:
    // The pilot's departure: the display's prediction as it left. The flight itself departs at
    // the first frame in which the main engines thrust, whoever engaged them (Frame).
    void Depart(const World &world, const DisplayReading &display);
    void Arrive(const World &world);
    void Frame(const World &world, const DisplayReading &display);
    void Interrupted() { interrupted_ = true; }
    // How far along the flight is, 0..1, from the target's distance when it began.
    double Progress(const DisplayReading &display);
    FlightSummary Summarise(const World &world, const FlightRecord &record, const Pilot &pilot, double simt,
                            double wall, bool piloted);

private:
    bool departed_ = false, arrived_ = false, interrupted_ = false, predicted_ = false;
    bool crashed_ = false;
    Impact impact_;
    double departureMjd_ = 0, arrivalMjd_ = 0;
    VECTOR3 departurePos_ = {{0, 0, 0}}, arrivalPos_ = {{0, 0, 0}};
    DisplayReading atDeparture_;
    double closest_ = 1e300, speedAtClosest_ = 0, peakSpeed_ = 0, startDist_ = 0;
    double startPropellant_ = -1;
    void DepartAt(const World &world, const DisplayReading &display);
    // The focus vessel's figures at the end; the course's closest approach, times and distance.
    void SummariseFocus(const World &world, FlightSummary &s) const;
    void SummariseCourse(FlightSummary &s) const;
};

// Bytes of the names that are not UTF-8 are written as U+FFFD and counted in *replaced.
std::string SummaryJson(const FlightSummary &s, int *replaced = nullptr);
std::string SummaryText(const FlightSummary &s);

}  // namespace kvhost

#endif
