// pilot.h: the built-in pilot, flying a transfer as a person at the Kavrex display would.
//
// It reads only what the display shows (DisplayReading) and acts only through what a person
// has: the display's keys, the cockpit's navigation-mode keys and the simulator's time
// acceleration. Its rules:
//  1. Hold on (H). Engage the drive (E) only once the strip reads HOLD. Before any change of
//     aim, abort (A): disengaging alone leaves the engines at their last level, abort cuts them
//     (and the hold, which goes on again), so nothing pushes while the ship turns.
//  2. Choose the moment: with the hold on and aimed at the target, the prediction shows where
//     thrust from here would go. Wait (at time acceleration 10) until it neither hits a body
//     nor dips towards the source (PeS at least 80 % of SourceD) and reaches half an hour ahead
//     (ETA; a prediction whose target recedes from the start ends within a minute), at most
//     two hours. With no such moment, climb along the orbit instead: the cockpit's prograde
//     hold ([) with the drive on and the display's hold off, which raises the orbit from any
//     point of it, until the source lies 100,000 km below; then go on from 4.
//  3. Climb out: thrust at the target (DIR) until the source lies 100,000 km below (SourceD).
//  4. Cancel the velocity relative to the target: aim along it (D: PRO) inverted (V: INV) until
//     TargetV is below 10 m/s.
//  5. A leg: aim at the target and thrust; at the half-way point to the stand-off, early by the
//     distance the ship coasts while it turns (TargetV times 600 s), flip to braking against
//     the relative velocity, and coast until braking at the drive's acceleration against the
//     target's pull just stops the ship at the stand-off; then brake to rest without a break.
//     Late (the hold still seeking when braking is due), burn without waiting for HOLD. Falling
//     behind while braking (to stop needs more than 1 % beyond the ground left), raise the set
//     acceleration (S and the value) by the shortfall and 5 % more, at most eight times.
//  6. The stand-off: where the target's pull (TargetG) is a fifth of the set acceleration, and
//     at least half the target's radius above its surface; the pilot measures the target's GM
//     and radius from the read-outs on the way in (TargetGauge). Stopped well short: another leg.
//  7. Into orbit: abort (the drive and the hold off), level with the horizon (the cockpit's L),
//     wait a minute for the ship to turn, then drive on: the engines push along the horizon.
//     Drive off once TargetV reaches the circular speed there, sqrt(TargetG x distance from the
//     centre); leveling off. The orbit is bound and its closest approach well above the surface.
//  8. Time acceleration: 100 (the most at which the hold stays on) while far from a decision,
//     10 while the drive waits for the strip to read HOLD, 10 below 3 km/s relative while
//     braking, 1 below 300 m/s and into orbit. Where the hold keeps slipping off HOLD with the
//     drive on (120 decisions in a row), the pilot takes a tenth of that from then on, down to 10.
#ifndef KVHOST_PILOT_PILOT_H
#define KVHOST_PILOT_PILOT_H

#include "../session/display_reading.h"
#include "target_gauge.h"

#include <string>

namespace kvhost {

struct PilotAction {
    char key = 0;           // the letter pressed on the display, 0 for none
    std::string input;      // the text typed into the open input box ("" for none)
    char cockpitKey = 0;    // a navigation-mode key of the cockpit: 'L' level, '[' prograde; 0 none
    double warp = 0;        // the time acceleration asked for, 0 to leave it
    std::string what;       // what the pilot did and why, for the log ("" when nothing)
    bool flip = false;      // this action turned the ship round to brake
    bool departed = false;  // this action started the flight's first burn
    bool legBurn = false;   // this action started a leg's burn at the target
    bool arrived = false;   // this action ended the flight
};

class Pilot {
public:
    // One decision from what the display shows now; at most one key per decision, as the
    // display must show its effect before the next.
    PilotAction Decide(const DisplayReading &r, double currentWarp);
    bool done() const { return phase_ == Phase::Done; }
    int legs() const { return legs_; }
    int flips() const { return flips_; }
    double waited() const { return waited_; }  // s spent choosing the moment to leave

    static constexpr double kSlow = 10;               // m/s: "stopped" relative to the target
    static constexpr double kClimb = 100e6;           // m above the source before the first cancel
    static constexpr double kTurnTime = 600;          // s a flip may take, drive off, before braking
    static constexpr double kPullShare = 0.2;         // the target's pull at the stand-off, of the drive's
    static constexpr double kLeastHeight = 0.5;       // the stand-off's least height, in target radii
    static constexpr double kDeepestHeight = 0.1;     // ... and where the gravity reference asks, in radii
    static constexpr double kDeeper = 3;              // each hop towards it divides the height by this
    static constexpr int kMostHops = 6;               // hops at most (the radius unmeasured: 1/729 of the height)
    static constexpr double kDefaultStandOff = 10e6;  // m, while the target's pull is unmeasured
    static constexpr int kMostRaises = 8;             // times the set acceleration is changed in a leg's brake
    static constexpr double kMeasureTime = 600;       // s of braking over which the brake is measured
    static constexpr double kStraight = 0.98;         // a course this straight at the target can be mended
    static constexpr double kLevelTime = 60;          // s for the ship to level before the orbit burn
    static constexpr int kSlipLimit = 120;            // decisions in a row off HOLD before slowing down
    static constexpr double kLeastLookAhead = 1800;   // s: a prediction to judge the climb by
    static constexpr double kLongestWait = 2 * 3600;  // s of choosing the moment at most
    static constexpr int kMostCentreSteps = 64;       // presses of C to bring the target to the centre
    static constexpr double kOnTheGround = 1000;      // m of SourceD: standing on the source

private:
    enum class Phase { Wait, Prograde, Climb, Cancel, Accelerate, Brake, Orbit, Done };
    struct BrakeMeasure {
        double share = 0;     // what the drive gives, of the set value (0: not measured)
        double straight = 0;  // the distance's fall over the speed: 1 straight at the target (0: unknown)
    };
    struct BrakeWindow {
        double t = -1, speed = 0, dist = 0, gee = 0;  // the measure's start (display clock, s; -1: none)
    };
    PilotAction Configure(const DisplayReading &r, bool pro, bool inv, bool engage = true, bool urgent = false);
    PilotAction Transfer(const DisplayReading &r);
    PilotAction WaitForMoment(const DisplayReading &r);
    PilotAction Braking(const DisplayReading &r);
    PilotAction IntoOrbit(const DisplayReading &r);
    PilotAction ProgradeClimb(const DisplayReading &r);
    PilotAction Resume(const DisplayReading &r);
    bool NavBurn(const DisplayReading &r, char key, bool enough, PilotAction &a);
    double StandOff(const DisplayReading &r) const;
    double PullStandOff(const DisplayReading &r) const;
    BrakeMeasure MeasureBrake(const DisplayReading &r);
    double Gee(const DisplayReading &r) const;
    static double Slack(double standOff);
    bool Beside(const DisplayReading &r) const;
    double WarpFor(const DisplayReading &r, double currentWarp);

    Phase phase_ = Phase::Wait;
    TargetGauge gauge_;
    double legStart_ = 0;  // TargetD when the leg began
    int legs_ = 0, flips_ = 0;
    bool departed_ = false;
    double waitStartMjd_ = -1, waited_ = 0;
    bool braking_ = false;        // the leg's braking has begun (after its coast)
    int raise_ = 0, raises_ = 0;  // setting a new acceleration: 1 while the input box is open; in this brake
    int navStep_ = 0;             // how far into a burn held by a navigation mode (0: not begun)
    double navStart_ = 0;         // s: the display's clock when that mode went on
    double warpCap_ = 100;        // the most time acceleration at which the hold keeps HOLD
    int slipping_ = 0;            // decisions in a row with the drive on and the hold seeking
    bool lookedAtFall_ = false;   // the first prediction has been read for a fall into the source
    int centreSteps_ = 0;         // presses of C so far
    BrakeWindow brakeFrom_;       // where the brake's measure started
    BrakeMeasure brake_;          // the leg's brake, measured
    double typedGee_ = 0;         // m/s^2: the set acceleration the pilot last typed (0: none)
    double flightGee_ = 0;        // m/s^2: the set acceleration before the pilot first changed it
    double pulseTo_ = 0;          // m/s: the speed a pulse of the burn into orbit runs to
    int looks_ = 0;               // refreshes read since a pulse ended
    int hops_ = 0;                // hops made towards a moon's own pull
    double hopHeight_ = 0;        // m: the stand-off of a hop where another body pulls harder (0: none)
};

}  // namespace kvhost

#endif
