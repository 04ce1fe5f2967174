// body.h: a gravitating body of the host's world and the rule that moves it.
//
// Bodies move on ephemerides, never under the world's own integration: planets from ERFA's
// planetary theory, the Moon from ERFA's lunar theory, other moons on mean Keplerian orbits about
// their planet, and bodies of small test worlds on a straight line from a given state.
#ifndef KVHOST_WORLD_BODY_H
#define KVHOST_WORLD_BODY_H

#include "body_rotation.h"

#include <Orbitersdk.h>

#include <string>

namespace kvhost {

enum class EphemerisKind {
    Drift,   // pos = pos0 + vel0 * (t - t0): fixed bodies and test worlds
    Sun,     // ERFA eraEpv00: the Sun about the solar system's barycentre
    Planet,  // ERFA eraPlan94, planet number 1..8 (Earth is taken from eraEpv00), about the Sun
    Earth,   // ERFA eraEpv00, heliocentric Earth, about the Sun
    Moon,    // ERFA eraMoon98 about the parent body
    Kepler,  // mean elements about the parent body, in the parent's equator frame
};

// Mean orbital elements about a parent body. Angles in radians, a in metres.
struct KeplerOrbit {
    double a = 0, e = 0, i = 0, node = 0, argPeri = 0, meanAnomalyEpoch = 0;
    double epochMjd = 51544.5;
    double poleRa = 0, poleDec = 1.5707963267948966;  // parent's pole, J2000 equatorial
};

struct Ephemeris {
    EphemerisKind kind = EphemerisKind::Drift;
    int planetNumber = 0;                            // for Planet
    KeplerOrbit orbit;                               // for Kepler
    VECTOR3 pos0 = {{0, 0, 0}}, vel0 = {{0, 0, 0}};  // for Drift, global frame
    double epochMjd = 51544.5;                       // for Drift
};

// The theory's positions at six consecutive nodes of a fixed grid, kNodeSeconds apart, between the
// middle two of which the body's state is interpolated: the theory is evaluated once a node, not
// every frame. Positions are the body's own (relative to its parent, or the Sun's about the
// barycentre), as the theory gives them.
constexpr double kNodeSeconds = 300;
constexpr int kEphemerisNodes = 6;
struct EphemerisNodes {
    bool valid = false;
    long long first = 0;  // the grid index of the first node: its date is first * kNodeSeconds
    VECTOR3 pos[kEphemerisNodes] = {};
    VECTOR3 slope[2] = {};  // the curve's slopes at the middle two, per node interval
};

struct Body {
    std::string name;
    double mass = 0;    // kg
    double radius = 0;  // mean radius, m
    int parent = -1;    // index of the body it orbits (for its sphere of influence); -1: none
    Ephemeris eph;
    VECTOR3 pos = {{0, 0, 0}}, vel = {{0, 0, 0}};  // current global state
    EphemerisNodes nodes;
    BodySpin spin;
    bool Turns() const { return spin.period < 1e99 && spin.period > -1e99; }
    // Its axes now (body-fixed to global), worked out when first asked for after the date moved:
    // most frames ask for no body's.
    const BodyAxes &Axes() const;
    void SetAxesTime(double mjd, double seconds);  // the date, and the seconds since the spin's epoch
    mutable BodyAxes axesNow;
    mutable bool axesFresh = true;
    double axesMjd = 0, axesSeconds = 0;
};

// A body at rest or in uniform motion from a given state (small test worlds).
Body DriftingBody(const std::string &name, double mass, double radius, VECTOR3 pos, VECTOR3 vel, int parent = -1);

}  // namespace kvhost

#endif
