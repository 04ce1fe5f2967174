// pilot_refusal.cpp: the checks before the pilot starts a transfer.
#include "pilot_refusal.h"

#include "pilot.h"

#include "../scenario/numbers.h"
#include "../world/frames.h"

#include <cmath>

namespace kvhost {

namespace {

double MainThrust(const Vessel &v) {
    double sum = 0;
    for (int th : v.groups[THGROUP_MAIN]) sum += v.thrusters[th].spec.max0;
    return sum;
}

}  // namespace

std::string WhyNoTransfer(const World &w, const DisplayReading &d, double maxDays) {
    if (w.focus() < 0) return "there is no vessel to fly";
    const Vessel &v = w.vessel(w.focus());
    const double thrust = MainThrust(v);
    if (v.status == VesselStatus::Crashed)
        return v.name + " is crashed on " + w.body(v.landedOn).name + ": there is nothing left to fly";
    if (!(thrust > 0)) return v.name + " has no main engine";
    if (v.status == VesselStatus::Landed) {
        // Off the ground only where the engines outweigh the body's pull.
        const Body &b = w.body(v.landedOn);
        const double pull = kG * b.mass / std::pow(length(v.pos - b.pos), 2), most = thrust / v.Mass();
        if (!(most > pull))
            return FormatText(
                "%s is landed on %s, whose pull (%.2f m/s^2) its engines (%.2f m/s^2 at its mass) cannot "
                "overcome: the pilot lifts off only where the engines outweigh the pull",
                v.name.c_str(), b.name.c_str(), pull, most);
    }
    if (v.tanks.empty()) return v.name + " has no propellant tanks";
    if (v.PropellantMass() <= 0 && d.autofillOff)
        return v.name + "'s tanks are empty and the display's automatic refill is off (key F)";
    if (d.target == d.source)
        return "the target is " + d.target + ", the body the flight starts from: choose another target (key T)";
    const int target = w.FindBody(d.target);
    if (target >= 0 && w.body(target).parent < 0)
        return "the target is " + d.target + ", the star, which a ship can only fall into";
    if (w.IsMoon(target)) {
        // A moon: an orbit counts as one about it only where its pull is the strongest (the
        // simulator's gravity reference). A low orbit's side facing the planet is the test.
        const Body &moon = w.body(target), &planet = w.body(moon.parent);
        const VECTOR3 low = moon.pos + (planet.pos - moon.pos) *
                                           ((1 + Pilot::kDeepestHeight) * moon.radius / length(planet.pos - moon.pos));
        if (w.GravityRef(low) != target)
            return FormatText(
                "no orbit about %s would be bound to it: %s pulls harder even %.0f km above %s's surface, and the "
                "simulator makes the body that pulls hardest the ship's gravity reference",
                d.target.c_str(), planet.name.c_str(), Pilot::kDeepestHeight * moon.radius / 1e3, d.target.c_str());
    }
    const double most = thrust / v.Mass();
    if (d.setGee > most)
        return FormatText(
            "the set acceleration, %g m/s^2, is more than %s's engines give (%.2f m/s^2): set less "
            "(key S)",
            d.setGee, v.name.c_str(), most);
    if (!(d.setGee > 0))
        return FormatText("the set acceleration reads %g m/s^2: the drive would not move %s (key S)", d.setGee,
                          v.name.c_str());
    // The straight line at the set acceleration, accelerating half-way and braking: the shortest
    // the flight can be.
    const double shortest = 2 * std::sqrt(d.targetDist / d.setGee) / 86400;
    if (!(shortest <= maxDays))
        return FormatText(
            "at %g m/s^2 the flight to %s would take at least %.0f days, beyond the run's %.0f: set "
            "more (key S)",
            d.setGee, d.target.c_str(), shortest, maxDays);
    return "";
}

}  // namespace kvhost
