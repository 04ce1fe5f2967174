// pilot.cpp: the built-in pilot's rules.
#include "pilot.h"

#include "../scenario/numbers.h"

namespace kvhost {

// Brings the strip to the wanted aim and inversion with the drive on, one key at a time: hold
// first, the drive off before any change of aim, the drive on again once the hold has settled.
PilotAction Pilot::Configure(const DisplayReading &r, bool pro, bool inv) {
    PilotAction a;
    const bool aimRight = (r.aim == "PRO") == pro, invRight = (r.invert == "INV") == inv;
    if (r.hold == "OFF") {
        a.key = 'H';
        a.what = "hold on";
    } else if ((!aimRight || !invRight) && r.drive == "ON") {
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
    } else if (r.drive == "OFF" && r.hold == "HOLD") {
        a.key = 'E';
        a.what = "drive on";
        if (!departed_) {
            departed_ = true;
            a.departed = true;
        }
    }
    return a;
}

double Pilot::WarpFor(const DisplayReading &r) const {
    // The hold settles to HOLD only at moderate warp (at 100 it circles a degree off).
    if (r.hold != "HOLD" && r.drive == "OFF") return 10;
    if (phase_ == Phase::Climb || phase_ == Phase::Accelerate || r.targetSpeed >= 3000) return 100;
    return r.targetSpeed >= 300 ? 10 : 1;
}

PilotAction Pilot::Decide(const DisplayReading &r, double currentWarp) {
    PilotAction a;
    if (phase_ == Phase::Done || !r.strip) return a;
    const bool configured = r.readouts && r.drive == "ON";
    // Phase changes, judged from the read-outs while the drive runs as the phase wants.
    if (configured && phase_ == Phase::Climb && r.aim == "DIR" && r.invert == "OFF" && r.sourceDist >= kClimb) {
        phase_ = Phase::Cancel;
        a.what = FormatText("clear of %s: cancel %.0f m/s relative to %s", r.source.c_str(), r.targetSpeed,
                            r.target.c_str());
    } else if (configured && (phase_ == Phase::Cancel || phase_ == Phase::Brake) && r.targetSpeed < kSlow &&
        r.aim == "PRO" && r.invert == "INV") {
        if (phase_ == Phase::Brake && r.targetDist < kClose) {
            phase_ = Phase::Done;
            a.key = 'A';
            a.arrived = true;
            a.what = FormatText("abort: at rest %.0f km above %s", r.targetDist / 1e3, r.target.c_str());
            return a;
        }
        phase_ = Phase::Accelerate;
        legStart_ = r.targetDist;
        ++legs_;
        a.what = FormatText("leg %d: %.0f km to go", legs_, (legStart_ - kStandOff) / 1e3);
    } else if (configured && phase_ == Phase::Accelerate && r.aim == "DIR" && r.invert == "OFF" &&
               r.targetDist <= (legStart_ + kStandOff) / 2 + r.targetSpeed * kTurnTime) {
        phase_ = Phase::Brake;
        ++flips_;
        a.flip = true;
        a.what = FormatText("flip %d at %.0f km", flips_, r.targetDist / 1e3);
    }
    const bool brake = phase_ == Phase::Cancel || phase_ == Phase::Brake;
    PilotAction key = Configure(r, brake, brake);
    key.legBurn = key.key == 'E' && phase_ == Phase::Accelerate;
    if (key.key) {
        key.flip = a.flip;
        if (!a.what.empty()) key.what = a.what + "; " + key.what;
        a = key;
    }
    const double warp = r.readouts ? WarpFor(r) : 10;
    if (warp != currentWarp) {
        a.warp = warp;
        if (a.what.empty()) a.what = FormatText("warp %g", warp);
    }
    return a;
}

}  // namespace kvhost
