// pilot.cpp: the built-in pilot's rules.
#include "pilot.h"

#include "../scenario/numbers.h"

#include <algorithm>
#include <cmath>

namespace kvhost {

// Brings the strip to the wanted aim and inversion with the hold on and, with `engage`, the
// drive on, one key at a time: hold first, the drive off before any change of aim, the drive
// on again once the hold has settled.
PilotAction Pilot::Configure(const DisplayReading &r, bool pro, bool inv, bool engage, bool urgent) {
    PilotAction a;
    const bool aimRight = r.prograde == pro, invRight = r.inverted == inv;
    if (r.hold == HoldState::Off) {
        a.key = 'H';
        a.what = "hold on";
    } else if ((!aimRight || !invRight) && r.driveOn) {
        // Disengaging leaves the engines at their last level; abort cuts them (and the hold,
        // which the next decision turns on again).
        a.key = 'A';
        a.what = "abort to turn: engines cut";
    } else if (!aimRight) {
        a.key = 'D';
        a.what = pro ? "aim along the relative velocity" : "aim at the target";
    } else if (!invRight) {
        a.key = 'V';
        a.what = inv ? "invert: against it" : "invert off";
    } else if (engage && !r.driveOn && (r.hold == HoldState::Hold || (urgent && r.hold == HoldState::Seek))) {
        a.key = 'E';
        a.what = "drive on";
        if (!departed_) {
            departed_ = true;
            a.departed = true;
        }
    } else if (!engage && r.driveOn) {
        a.key = 'A';  // the drive off and the engines cut; the hold goes on again next
        a.what = "abort: coast";
    }
    return a;
}

// Where the target's pull is a share of the drive's, at least half its radius up; or, beside a
// moon whose planet pulls harder, the height the last hop aimed at, down to a tenth of the radius.
double Pilot::StandOff(const DisplayReading &r) const {
    return hopHeight_ > 0 ? std::max(hopHeight_, kDeepestHeight * gauge_.radius()) : PullStandOff(r);
}

// The set acceleration: the strip prints it to a tenth, so one the pilot typed itself is known
// to all its digits while the strip shows it.
double Pilot::Gee(const DisplayReading &r) const {
    return typedGee_ > 0 && std::fabs(r.setGee - typedGee_) <= 0.051 ? typedGee_ : r.setGee;
}

// Stopped within this of the stand-off, the ship goes into orbit where it is; farther out, it
// flies another leg.
double Pilot::Slack(double standOff) { return 0.5 * standOff + 1e6; }

bool Pilot::Beside(const DisplayReading &r) const {
    const double standOff = StandOff(r);
    return r.targetDist < standOff + Slack(standOff);
}

double Pilot::PullStandOff(const DisplayReading &r) const {
    // The flight's own acceleration, not one typed to mend a brake: the stand-off stays put.
    const double distance = gauge_.DistanceWithPull(kPullShare * (flightGee_ > 0 ? flightGee_ : r.setGee));
    if (!(distance > 0)) return kDefaultStandOff;
    const double radius = gauge_.radius();
    return std::max(distance - radius, kLeastHeight * radius);
}

double Pilot::WarpFor(const DisplayReading &r, double currentWarp) {
    // The hold settles to HOLD only at moderate warp (at 100 it circles a degree off); where it
    // keeps slipping with the drive on, this frame rate needs less.
    slipping_ = r.driveOn && r.hold == HoldState::Seek ? slipping_ + 1 : 0;
    if (slipping_ > kSlipLimit && currentWarp > 10) {
        warpCap_ = std::max(10.0, currentWarp / 10);
        slipping_ = 0;
    }
    double warp;
    if (phase_ == Phase::Orbit || (phase_ == Phase::Prograde && navStep_ < 2))
        warp = 1;
    else if (phase_ == Phase::Wait)
        warp = 10;
    else if (r.hold != HoldState::Hold && !r.driveOn)
        warp = 10;
    else if (phase_ == Phase::Climb || phase_ == Phase::Accelerate || r.targetSpeed >= 3000)
        warp = 100;
    else
        warp = r.targetSpeed >= 300 ? 10 : 1;
    return std::min(warp, warpCap_);
}

// Before the first burn: hold on, aimed at the target, and wait until the prediction of a burn
// from here neither hits a body nor dips towards the source.
PilotAction Pilot::WaitForMoment(const DisplayReading &r) {
    // First, with the hold and the drive off the prediction is the ship's own fall: an orbit
    // that meets the source (a launch not yet circularised) leaves no time to wait.
    if (!lookedAtFall_ && r.readouts) {
        lookedAtFall_ = true;
        if (r.elapsed > 0) return Resume(r);
        if (r.hold == HoldState::Off && !r.driveOn && r.impact && r.closestSource <= 0) {
            phase_ = Phase::Prograde;
            PilotAction climb = ProgradeClimb(r);
            // On the ground (SourceD a few metres): the lift-off, along the turning ground's
            // motion and up as the speed grows, by the same climb.
            climb.what = (r.sourceDist < kOnTheGround
                              ? "on the ground of " + r.source + ": lift off along it; "
                              : "the orbit falls into " + r.source + " (IMPACT with the drive off): climb now; ") +
                         climb.what;
            return climb;
        }
    }
    PilotAction a = Configure(r, false, false, false);
    if (a.key || r.hold != HoldState::Hold || !r.readouts) return a;
    if (waitStartMjd_ < 0) waitStartMjd_ = r.ejectMjd;
    waited_ = (r.ejectMjd - waitStartMjd_) * 86400;
    // A prediction that ends within minutes has the target's distance growing from the start:
    // it shows too little of the climb to judge it by.
    const bool reaches = (r.etaMjd - r.ejectMjd) * 86400 >= kLeastLookAhead;
    const bool clear = reaches && !r.impact && r.closestSource >= 0.8 * r.sourceDist;
    if (!clear && waited_ < kLongestWait) return a;
    if (!clear) {
        phase_ = Phase::Prograde;
        a = ProgradeClimb(r);
        a.what = FormatText("no clear climb at the target in %.0f min: climb along the orbit; ", waited_ / 60) + a.what;
        return a;
    }
    phase_ = Phase::Climb;
    a.what = FormatText("a clear climb from here (PeS %.0f km)", r.closestSource / 1e3);
    if (waited_ > 0) a.what += FormatText(" after waiting %.0f min", waited_ / 60);
    return a;
}

// A flight saved half flown (the display's clock runs): the phase it was in, read off the display
// (the drive, the steering, TargetD, TargetV, SourceD), taken up where it stands. The cockpit's
// holds are not saved with a scenario, so a burn they held is begun again.
PilotAction Pilot::Resume(const DisplayReading &r) {
    departed_ = true;
    const bool near = Beside(r), navBurn = r.hold == HoldState::Off && r.driveOn;
    PilotAction a;
    std::string what;
    // Beside the target with the drive and the hold off, the display predicts the ship's own
    // fall: an orbit that neither meets the target nor dips below a third of the height is the
    // flight's end, reached (the pilot's own orbits are out of round by about that).
    if (near && !r.driveOn && r.hold == HoldState::Off && !r.impact && r.closest >= r.targetDist / 3) {
        phase_ = Phase::Done;
        a.departed = a.arrived = true;  // departed at the display's Eject, long before
        a.what = FormatText("resumed in orbit %.0f km above %s (PeT %.0f km)", r.targetDist / 1e3, r.target.c_str(),
                            r.closest / 1e3);
        return a;
    }
    if (near && (r.targetSpeed < kSlow || navBurn)) {
        phase_ = Phase::Orbit;
        navStep_ = 0;
        a = IntoOrbit(r);
        what = "resumed beside " + r.target;
    } else if (navBurn && r.sourceDist < kClimb) {
        phase_ = Phase::Prograde;
        navStep_ = 0;
        a = ProgradeClimb(r);
        what = "resumed in the climb along the orbit";
    } else {
        if (r.prograde && r.inverted && r.targetDist > r.sourceDist) {
            phase_ = Phase::Cancel;
            what = "resumed cancelling the velocity relative to " + r.target;
        } else if (r.prograde && r.inverted) {
            phase_ = Phase::Brake;
            braking_ = r.driveOn;
            legs_ = flips_ = 1;
            what = "resumed after the flip";
        } else {
            // Thrusting at the target: where the leg began, from the speed it has gained.
            phase_ = Phase::Accelerate;
            legStart_ = r.targetDist + r.targetSpeed * r.targetSpeed / (2 * std::max(r.setGee, 0.01));
            legs_ = 1;
            what = FormatText("resumed in a leg that began %.0f km out", legStart_ / 1e3);
        }
        a = Transfer(r);
    }
    a.what = what + (a.what.empty() ? "" : "; " + a.what);
    return a;
}

// After a flip: coast until braking from here, at the drive's acceleration against the
// target's pull, just stops the ship at the stand-off; then brake to rest without a break (the
// hold takes minutes to settle again after a pause, and the ship covers too much ground).
PilotAction Pilot::Braking(const DisplayReading &r) {
    const double standOff = StandOff(r), gap = r.targetDist - standOff, radius = gauge_.radius();
    // The work of the drive over the gap, less what the target's pull adds on the way in.
    const double pullWork = gauge_.Gm() * (1 / (standOff + radius) - 1 / (r.targetDist + radius));
    const double gee = Gee(r), need = 0.5 * r.targetSpeed * r.targetSpeed, have = gee * gap - pullWork;
    if (!braking_) braking_ = need >= have;
    // Falling behind (the drive gives a little less than set, the target pulls harder near in)
    // or running ahead so far that the ship would stop where another leg is needed (about a
    // moon the frame the read-outs are taken in falls about the planet, which the moon's pull
    // on the ship does not match): a new set acceleration, as a pilot types one (S, then the
    // value). More than the engines give runs them at full thrust. What the drive really gives
    // is measured once the brake has burnt a while (the set value before). Stopping short is
    // mended only on a course straight at the target: off it the ship would only go on past,
    // and a new leg aims again.
    const double slack = Slack(standOff);
    const BrakeMeasure m = MeasureBrake(r);
    const double drive = (m.share > 0 ? m.share : 1) * gee, reach = drive * gap - pullWork;
    if (raise_ == 1) {
        PilotAction a;
        // Measured: to stop a quarter of the slack short of the stand-off. Unmeasured: by the
        // shortfall (at most twice; twice if the stand-off is already passed) and 5 % more.
        const double room = gap - 0.25 * slack;
        const double by = m.share > 0 && room > 0 ? std::min(2.0, (need + pullWork) / (drive * room))
                                                  : std::min(2.0, have > 0 ? need / have : 2.0) * 1.05;
        typedGee_ = std::round(gee * by * 1e4) / 1e4;
        a.input = FormatText("%.4f", typedGee_);
        a.what = "set " + a.input + " m/s^2 to stop " + (by > 1 ? "in time" : "at the stand-off");
        raise_ = 0;
        ++raises_;
        return a;
    }
    // A percent either way counts, beyond what TargetV's printed digits leave unknown (above a
    // million m/s it prints three: the speed's square moves by a percent a step); stopping short
    // counts by more than the slack, too.
    const double unsure = 0.01 + 2 * LadderStep(r.targetSpeed) / std::max(r.targetSpeed, 1.0);
    const bool behind = need > (1 + unsure) * reach;
    const bool ahead = m.share > 0 && m.straight > kStraight && reach - need > drive * std::max(slack, unsure * gap);
    if (braking_ && r.driveOn && have > 0 && (behind || ahead) && raises_ < kMostRaises) {
        PilotAction a;
        a.key = 'S';
        a.what = FormatText("braking %s (%.0f km to stop in, %.0f km to go)", behind ? "falls behind" : "runs ahead",
                            (need + pullWork) / drive / 1e3, gap / 1e3);
        raise_ = 1;
        return a;
    }
    // Late (the hold slow to settle at speed): burn while it still seeks; a degree or two off
    // costs less than the ground the ship covers while it waits.
    return Configure(r, true, true, braking_, braking_ && need >= 0.9 * have);
}

// The brake as it burns, from TargetV and TargetD over the display's clock: what the drive gives
// (the speed's fall plus the target's pull it overcame, a share of the set value) and how
// straight at the target the ship moves (the distance's fall over the speed). Each once it has
// burnt kMeasureTime and its read-out has fallen by fifty of its printed steps (at 1.5 million
// m/s TargetV prints in steps of 10 km/s); taken afresh every five of those times, kept through
// a new setting (as a share) and a pause; nothing until the leg's brake has been measured.
Pilot::BrakeMeasure Pilot::MeasureBrake(const DisplayReading &r) {
    const double now = r.ejectMjd * 86400 + r.elapsed;
    const double gee = Gee(r);
    const bool burning = braking_ && r.driveOn && r.prograde && r.inverted && gee > 0;
    if (!burning || brakeFrom_.t < 0 || now < brakeFrom_.t || gee != brakeFrom_.gee) {
        brakeFrom_ = {burning ? now : -1, r.targetSpeed, r.targetDist, gee};
        return brake_;
    }
    const double span = now - brakeFrom_.t, slowed = brakeFrom_.speed - r.targetSpeed,
                 fell = brakeFrom_.dist - r.targetDist;
    if (span < kMeasureTime || slowed < 50 * LadderStep(brakeFrom_.speed)) return brake_;
    brake_.share = (slowed / span + r.targetG) / gee;
    brake_.straight =
        fell >= 50 * LadderStep(brakeFrom_.dist) ? fell / span / (0.5 * (brakeFrom_.speed + r.targetSpeed)) : 0;
    if (span >= 5 * kMeasureTime) brakeFrom_ = {now, r.targetSpeed, r.targetDist, gee};
    return brake_;
}

// A burn held by one of the cockpit's navigation modes (`key`), the display's hold off: abort,
// the mode on, a minute for the ship to turn, the drive on until `enough`, abort, the mode off.
// True once the mode is off again.
bool Pilot::NavBurn(const DisplayReading &r, char key, bool enough, PilotAction &a) {
    // The display's clock: Eject is the present date until departure, then Elapsed runs.
    const double now = r.ejectMjd * 86400 + r.elapsed;
    switch (navStep_) {
    case 0:
        if (r.driveOn || r.hold != HoldState::Off) {
            a.key = 'A';
            return false;
        }
        a.cockpitKey = key;
        navStart_ = now;
        navStep_ = 1;
        return false;
    case 1:
        if (now < navStart_ + kLevelTime) return false;
        a.key = 'E';
        if (!departed_) departed_ = a.departed = true;
        navStep_ = 2;
        return false;
    case 2:
        if (!enough) return false;
        a.key = 'A';
        navStep_ = 3;
        return false;
    default:
        a.cockpitKey = key;
        navStep_ = 0;
        return true;
    }
}

// Rest beside the target: level with the horizon and push along it to the circular speed.
PilotAction Pilot::IntoOrbit(const DisplayReading &r) {
    PilotAction a;
    // With the target's radius unmeasured (a flight taken up beside it) the circular speed is
    // not known: the burn goes in pulses of a few percent, and after each, with the drive and
    // the display's hold off, the display predicts the ship's own fall. An orbit that neither
    // meets the target (IMPACT) nor dips below 70 % of the height ends it.
    const bool measured = gauge_.known();
    if (!measured && navStep_ == 3) {
        if (r.driveOn || ++looks_ < 2) return a;  // a refresh of the prediction without the drive
        looks_ = 0;
        if (r.impact || r.closest < 0.7 * r.targetDist) {
            pulseTo_ = r.targetSpeed * 1.03 + 20;
            navStep_ = 1;
            navStart_ = r.ejectMjd * 86400 + r.elapsed - kLevelTime;
            a.what = r.impact ? "the orbit meets " + r.target + ": another pulse"
                              : FormatText("the orbit dips to %.0f km: another pulse", r.closest / 1e3);
            return a;
        }
    }
    if (!measured && navStep_ <= 1 && pulseTo_ <= r.targetSpeed) pulseTo_ = r.targetSpeed * 1.03 + 20;
    const double circular =
        measured ? std::sqrt(std::max(0.0, r.targetG * (r.targetDist + gauge_.radius()))) : pulseTo_;
    const int step = navStep_;
    const bool done = NavBurn(r, 'L', r.targetSpeed >= circular, a);
    if (step == 0 && a.key)
        a.what = FormatText("at rest %.0f km above %s: abort, into orbit", r.targetDist / 1e3, r.target.c_str());
    else if (step == 0)
        a.what = "level with the horizon";
    else if (step == 1 && a.key)
        a.what = FormatText("drive on along the horizon to %.0f m/s", circular);
    else if (step == 2 && a.key)
        a.what = FormatText("abort at %.0f m/s: in orbit %.0f km above %s", r.targetSpeed, r.targetDist / 1e3,
                            r.target.c_str());
    if (done) {
        a.what = "leveling off";
        a.arrived = true;
        phase_ = Phase::Done;
    }
    return a;
}

// No clear moment: climb along the orbital velocity (the cockpit's prograde hold), which raises
// the orbit from any point of it, until the source lies 100,000 km below.
PilotAction Pilot::ProgradeClimb(const DisplayReading &r) {
    PilotAction a;
    const int step = navStep_;
    const bool done = NavBurn(r, '[', r.sourceDist >= kClimb, a);
    if (step == 0 && !a.key)
        a.what = "prograde hold";
    else if (step == 1 && a.key)
        a.what = "drive on: climb along the orbit";
    else if (step == 2 && a.key)
        a.what = FormatText("clear of %s: abort, cancel %.0f m/s relative to %s", r.source.c_str(), r.targetSpeed,
                            r.target.c_str());
    if (done) {
        a.what = "prograde hold off";
        phase_ = Phase::Cancel;
    }
    return a;
}

// The transfer's phase changes, judged from the read-outs while the drive runs as the phase
// wants, and the keys that bring the strip to what the phase wants.
PilotAction Pilot::Transfer(const DisplayReading &r) {
    PilotAction a;
    const bool configured = r.readouts && r.driveOn;
    const bool stopped = r.readouts && r.targetSpeed < kSlow && r.prograde && r.inverted;
    if (configured && phase_ == Phase::Climb && !r.prograde && !r.inverted && r.sourceDist >= kClimb) {
        phase_ = Phase::Cancel;
        a.what = FormatText("clear of %s: cancel %.0f m/s relative to %s", r.source.c_str(), r.targetSpeed,
                            r.target.c_str());
    } else if (stopped && (phase_ == Phase::Cancel ? configured : phase_ == Phase::Brake)) {
        const bool near = phase_ == Phase::Brake && Beside(r);
        // At rest beside a moon whose planet still pulls harder (the gravity reference says so):
        // a hop to a third of the height, as deep as the moon allows, so that the orbit, a little
        // out of round, stays where the moon is the reference.
        const bool deeper = near && !r.gravityRef.empty() && r.gravityRef != r.target && hops_ < kMostHops &&
                            r.targetDist > 1.2 * kDeepestHeight * gauge_.radius();
        if (near && !deeper) {
            phase_ = Phase::Orbit;
            return IntoOrbit(r);
        }
        if (deeper) {
            hopHeight_ = r.targetDist / kDeeper;
            ++hops_;
            a.what = FormatText("%s pulls harder than %s here: lower, to %.0f km; ", r.gravityRef.c_str(),
                                r.target.c_str(), StandOff(r) / 1e3);
        }
        phase_ = Phase::Accelerate;
        legStart_ = r.targetDist;
        ++legs_;
        a.what += FormatText("leg %d: %.0f km to go", legs_, (legStart_ - StandOff(r)) / 1e3);
    } else if (configured && phase_ == Phase::Accelerate && !r.prograde && !r.inverted &&
               r.targetDist <= (legStart_ + StandOff(r)) / 2 + r.targetSpeed * kTurnTime) {
        phase_ = Phase::Brake;
        braking_ = false;
        brake_ = BrakeMeasure();
        raises_ = 0;
        ++flips_;
        a.flip = true;
        a.what = FormatText("flip %d at %.0f km", flips_, r.targetDist / 1e3);
    }
    const bool brake = phase_ == Phase::Cancel || phase_ == Phase::Brake;
    PilotAction key = phase_ == Phase::Brake && r.readouts ? Braking(r) : Configure(r, brake, brake);
    key.legBurn = key.key == 'E' && phase_ == Phase::Accelerate;
    if (key.key || !key.input.empty()) {
        key.flip = a.flip;
        if (!a.what.empty()) key.what = a.what + "; " + key.what;
        a = key;
    }
    return a;
}

PilotAction Pilot::Decide(const DisplayReading &r, double currentWarp) {
    if (phase_ == Phase::Done || !r.strip) return PilotAction();
    if (r.readouts) gauge_.Read(r.target, r.targetDist, r.targetG);
    if (typedGee_ == 0 && raise_ == 0) flightGee_ = r.setGee;
    PilotAction a = phase_ == Phase::Wait       ? WaitForMoment(r)
                    : phase_ == Phase::Prograde ? ProgradeClimb(r)
                    : phase_ == Phase::Orbit    ? IntoOrbit(r)
                                                : Transfer(r);
    // Nearer the target than the source: the plot centred on the target, as a pilot would have
    // it, so that the arrival shows (key C steps the centre through the bodies).
    if (!a.key && a.input.empty() && !a.cockpitKey && r.readouts && !r.center.empty() && r.center != r.target &&
        r.targetDist < r.sourceDist && centreSteps_ < kMostCentreSteps) {
        a.key = 'C';
        ++centreSteps_;
        if (a.what.empty()) a.what = "centre the plot towards " + r.target;
    }
    const double warp = r.readouts ? WarpFor(r, currentWarp) : std::min(10.0, warpCap_);
    if (warp != currentWarp && !a.arrived) {
        a.warp = warp;
        if (a.what.empty()) a.what = FormatText("warp %g", warp);
    }
    return a;
}

}  // namespace kvhost
