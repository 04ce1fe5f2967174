// ephemeris.cpp: body states from ERFA's planetary and lunar theories and from mean elements.
#include "ephemeris.h"

#include "frames.h"
#include "world_globals.h"

#include <erfa.h>

#include <cmath>

namespace kvhost {

namespace {

constexpr double kMjdZero = 2400000.5;

// Solves Kepler's equation E - e sin E = M by Newton's method (e < 1).
double EccentricAnomaly(double meanAnomaly, double e) {
    double E = e < 0.8 ? meanAnomaly : kPi;
    for (int k = 0; k < 30; ++k) {
        const double f = E - e * std::sin(E) - meanAnomaly;
        const double step = f / (1.0 - e * std::cos(E));
        E -= step;
        if (std::fabs(step) < 1e-14) break;
    }
    return E;
}

// Turns a vector of a planet's equator frame (x to the equator's node on the Earth's
// equator, z to the pole) into the J2000 equatorial frame.
void PlanetEquatorToEquatorial(const KeplerOrbit &o, const double v[3], double out[3]) {
    const double ca = std::cos(o.poleRa), sa = std::sin(o.poleRa);
    const double cd = std::cos(o.poleDec), sd = std::sin(o.poleDec);
    const double x[3] = {-sa, ca, 0};
    const double z[3] = {cd * ca, cd * sa, sd};
    const double y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2], z[0] * x[1] - z[1] * x[0]};
    for (int k = 0; k < 3; ++k) out[k] = v[0] * x[k] + v[1] * y[k] + v[2] * z[k];
}

// ERFA's Earth series at a date, heliocentric and barycentric. The Sun and the Earth both need it
// at every date the world moves to: the last date's result serves the second of them.
void EarthStates(double mjd, double pvh[2][3], double pvb[2][3]) {
    EarthSeriesMemo &last = HostWorld().earth;
    if (mjd != last.mjd) {
        eraEpv00(kMjdZero, mjd, last.heliocentric, last.barycentric);
        last.mjd = mjd;
    }
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 3; ++k) {
            pvh[r][k] = last.heliocentric[r][k];
            pvb[r][k] = last.barycentric[r][k];
        }
}

}  // namespace

void KeplerState(const KeplerOrbit &o, double mu, double mjd, double pos[3], double vel[3]) {
    const double n = std::sqrt(mu / (o.a * o.a * o.a));
    const double M = std::fmod(o.meanAnomalyEpoch + n * (mjd - o.epochMjd) * kDay, 2 * kPi);
    const double E = EccentricAnomaly(M, o.e);
    const double cE = std::cos(E), sE = std::sin(E);
    const double b = o.a * std::sqrt(1 - o.e * o.e);
    // Perifocal frame: x to periapsis.
    const double px = o.a * (cE - o.e), py = b * sE;
    const double Edot = n / (1 - o.e * cE);
    const double vx = -o.a * sE * Edot, vy = b * cE * Edot;
    const double cO = std::cos(o.node), sO = std::sin(o.node);
    const double cw = std::cos(o.argPeri), sw = std::sin(o.argPeri);
    const double ci = std::cos(o.i), si = std::sin(o.i);
    const double P[3] = {cO * cw - sO * sw * ci, sO * cw + cO * sw * ci, sw * si};
    const double Q[3] = {-cO * sw - sO * cw * ci, -sO * sw + cO * cw * ci, cw * si};
    for (int k = 0; k < 3; ++k) {
        pos[k] = px * P[k] + py * Q[k];
        vel[k] = vx * P[k] + vy * Q[k];
    }
}

void UpdateBodyState(std::vector<Body> &bodies, int index, double mjd) {
    Body &b = bodies[index];
    const Ephemeris &eph = b.eph;
    double pv[2][3];
    switch (eph.kind) {
    case EphemerisKind::Drift:
        b.pos = eph.pos0 + eph.vel0 * ((mjd - eph.epochMjd) * kDay);
        b.vel = eph.vel0;
        return;
    case EphemerisKind::Sun: {
        // The Sun about the barycentre: the Earth's barycentric state less its heliocentric one.
        double pvh[2][3], pvb[2][3];
        EarthStates(mjd, pvh, pvb);
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k) pv[r][k] = pvb[r][k] - pvh[r][k];
        EquatorialPvToGlobal(pv, b.pos, b.vel);
        return;
    }
    case EphemerisKind::Planet:
        eraPlan94(kMjdZero, mjd, eph.planetNumber, pv);
        EquatorialPvToGlobal(pv, b.pos, b.vel);
        break;
    case EphemerisKind::Earth: {
        double pvb[2][3];
        EarthStates(mjd, pv, pvb);
        EquatorialPvToGlobal(pv, b.pos, b.vel);
        break;
    }
    case EphemerisKind::Moon:
        eraMoon98(kMjdZero, mjd, pv);
        EquatorialPvToGlobal(pv, b.pos, b.vel);
        break;
    case EphemerisKind::Kepler: {
        const double mu = kG * (bodies[b.parent].mass + b.mass);
        double p[3], v[3], pe[3], ve[3];
        KeplerState(eph.orbit, mu, mjd, p, v);
        PlanetEquatorToEquatorial(eph.orbit, p, pe);
        PlanetEquatorToEquatorial(eph.orbit, v, ve);
        b.pos = EquatorialToGlobal(pe);
        b.vel = EquatorialToGlobal(ve);
        break;
    }
    }
    // Planet, Moon and Kepler states are relative to the parent (the planets' is the Sun).
    if (b.parent >= 0) {
        b.pos += bodies[b.parent].pos;
        b.vel += bodies[b.parent].vel;
    }
}

Body DriftingBody(const std::string &name, double mass, double radius, VECTOR3 pos, VECTOR3 vel, int parent) {
    Body b;
    b.name = name;
    b.mass = mass;
    b.radius = radius;
    b.parent = parent;
    b.eph.kind = EphemerisKind::Drift;
    b.eph.pos0 = pos;
    b.eph.vel0 = vel;
    b.pos = pos;
    b.vel = vel;
    return b;
}

}  // namespace kvhost
