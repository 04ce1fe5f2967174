// pilot.h: the built-in pilot, flying a transfer as a person at the Kavrex display would.
//
// It reads only what the display shows (DisplayReading) and acts only through what a person
// has: the display's keys and the simulator's time acceleration. Its rules:
//  1. Hold on (H). Engage the drive (E) only once the strip reads HOLD. Before any change of
//     aim, abort (A): disengaging alone leaves the engines at their last level, abort cuts them
//     (and the hold, which goes on again), so nothing pushes while the ship turns.
//  2. Climb out: thrust at the target (DIR, not inverted) until the source lies 100,000 km
//     below (SourceD). A burn against the relative velocity while still in a low orbit can
//     point into the planet; the start orbit is taken to face the target, as a pilot would
//     choose the moment to leave.
//  3. Cancel the velocity relative to the target: aim along it (D: PRO) inverted (V: INV) until
//     TargetV is below 10 m/s.
//  4. A leg: aim at the target (DIR, not inverted) and thrust; at the half-way point of the leg,
//     judged from TargetD against a stand-off of 10,000 km above the surface and early by the
//     distance the ship coasts while it turns (TargetV times 300 s), flip to braking against
//     the relative velocity (PRO, INV) until TargetV is below 10 m/s again.
//  5. Stopped within 15,000 km of the surface: abort (A), which cuts every engine. Stopped
//     farther out: fly another leg.
//  6. Time acceleration: 100 (the most at which the hold stays on) while far from a decision,
//     10 while the drive waits for the strip to read HOLD, 10 below 3 km/s relative while
//     braking, 1 below 300 m/s.
#ifndef KVHOST_APP_PILOT_H
#define KVHOST_APP_PILOT_H

#include "display_reading.h"

#include <string>

namespace kvhost {

struct PilotAction {
    char key = 0;          // the letter pressed on the display, 0 for none
    double warp = 0;       // the time acceleration asked for, 0 to leave it
    std::string what;      // what the pilot did and why, for the log ("" when nothing)
    bool flip = false;     // this action turned the ship round to brake
    bool departed = false; // this action started the flight's first burn
    bool legBurn = false;  // this action started a leg's burn at the target
    bool arrived = false;  // this action ended the flight
};

class Pilot {
public:
    // One decision from what the display shows now; at most one key per decision, as the
    // display must show its effect before the next.
    PilotAction Decide(const DisplayReading &r, double currentWarp);
    bool done() const { return phase_ == Phase::Done; }
    int legs() const { return legs_; }
    int flips() const { return flips_; }

    static constexpr double kSlow = 10;          // m/s: "stopped" relative to the target
    static constexpr double kStandOff = 10e6;    // m above the surface where a leg aims to stop
    static constexpr double kClose = 15e6;       // m above the surface: close enough to end
    static constexpr double kClimb = 100e6;      // m above the source before the first cancel
    static constexpr double kTurnTime = 300;     // s a flip may take, drive off, before braking

private:
    enum class Phase { Climb, Cancel, Accelerate, Brake, Done };
    PilotAction Configure(const DisplayReading &r, bool pro, bool inv);
    double WarpFor(const DisplayReading &r) const;

    Phase phase_ = Phase::Climb;
    double legStart_ = 0;   // TargetD when the leg began
    int legs_ = 0, flips_ = 0;
    bool departed_ = false;
};

}  // namespace kvhost

#endif
