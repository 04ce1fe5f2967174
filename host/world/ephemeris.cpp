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

namespace {

// The body's own state at mjd as its theory gives it: the Sun about the barycentre, the others
// about their parent (the planets' is the Sun).
void OwnState(const std::vector<Body> &bodies, int index, double mjd, VECTOR3 &pos, VECTOR3 &vel) {
    const Body &b = bodies[index];
    const Ephemeris &eph = b.eph;
    double pv[2][3];
    switch (eph.kind) {
    case EphemerisKind::Drift:
        pos = eph.pos0 + eph.vel0 * ((mjd - eph.epochMjd) * kDay);
        vel = eph.vel0;
        return;
    case EphemerisKind::Sun: {
        // The Sun about the barycentre: the Earth's barycentric state less its heliocentric one.
        double pvh[2][3], pvb[2][3];
        EarthStates(mjd, pvh, pvb);
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k) pv[r][k] = pvb[r][k] - pvh[r][k];
        EquatorialPvToGlobal(pv, pos, vel);
        return;
    }
    case EphemerisKind::Planet: eraPlan94(kMjdZero, mjd, eph.planetNumber, pv); break;
    case EphemerisKind::Earth: {
        double pvb[2][3];
        EarthStates(mjd, pv, pvb);
        break;
    }
    case EphemerisKind::Moon: eraMoon98(kMjdZero, mjd, pv); break;
    case EphemerisKind::Kepler: {
        const double mu = kG * (bodies[b.parent].mass + b.mass);
        double p[3], v[3], pe[3], ve[3];
        KeplerState(eph.orbit, mu, mjd, p, v);
        PlanetEquatorToEquatorial(eph.orbit, p, pe);
        PlanetEquatorToEquatorial(eph.orbit, v, ve);
        pos = EquatorialToGlobal(pe);
        vel = EquatorialToGlobal(ve);
        return;
    }
    }
    EquatorialPvToGlobal(pv, pos, vel);
}

bool HasParentState(const Body &b) {
    return b.eph.kind != EphemerisKind::Drift && b.eph.kind != EphemerisKind::Sun && b.parent >= 0;
}

// The own state between the nodes around the date: a cubic Hermite curve through the middle two
// of six nodes, its slopes at them the centred differences of the nodes' positions. The velocity
// is the curve's own derivative, so a body moves from frame to frame as its velocity says, also
// across a node: the theories' velocities are not quite the motion of their positions (for the
// outer planets, from their mean elements, by metres a second). The nodes lie on a fixed grid of
// dates, so a state depends on its date alone, not on the dates asked for before.
void InterpolatedOwnState(std::vector<Body> &bodies, int index, const GridTime &t, VECTOR3 &pos, VECTOR3 &vel) {
    EphemerisNodes &n = bodies[index].nodes;
    const long long first = t.node - 2;
    if (!n.valid || n.first != first) {
        EphemerisNodes fresh;
        fresh.valid = true;
        fresh.first = first;
        for (int j = 0; j < kEphemerisNodes; ++j) {
            const long long at = first + j - n.first;  // the same node among the old ones
            if (n.valid && at >= 0 && at < kEphemerisNodes) {
                fresh.pos[j] = n.pos[at];
            } else {
                VECTOR3 unused;
                OwnState(bodies, index, static_cast<double>(first + j) * kNodeSeconds / kDay, fresh.pos[j], unused);
            }
        }
        // Slopes per node interval at the middle two nodes (fourth order).
        fresh.slope[0] = (fresh.pos[0] - fresh.pos[1] * 8 + fresh.pos[3] * 8 - fresh.pos[4]) * (1.0 / 12);
        fresh.slope[1] = (fresh.pos[1] - fresh.pos[2] * 8 + fresh.pos[4] * 8 - fresh.pos[5]) * (1.0 / 12);
        n = fresh;
    }
    const VECTOR3 &d0 = n.slope[0], &d1 = n.slope[1];
    const double u = t.fraction, uu = u * u, uuu = uu * u;
    pos = n.pos[2] * (2 * uuu - 3 * uu + 1) + d0 * (uuu - 2 * uu + u) + n.pos[3] * (3 * uu - 2 * uuu) + d1 * (uuu - uu);
    vel = ((n.pos[3] - n.pos[2]) * (6 * u - 6 * uu) + d0 * (3 * uu - 4 * u + 1) + d1 * (3 * uu - 2 * u)) *
          (1.0 / kNodeSeconds);
}

}  // namespace

GridTime GridTimeAfter(long long node, double seconds) {
    const double whole = std::floor(seconds / kNodeSeconds);
    GridTime t;
    t.node = node + static_cast<long long>(whole);
    t.fraction = (seconds - whole * kNodeSeconds) / kNodeSeconds;
    if (t.fraction >= 1) {  // a rounding at the node itself
        ++t.node;
        t.fraction = 0;
    }
    return t;
}

GridTime GridTimeOf(double mjd) {
    const double s = mjd * kDay / kNodeSeconds, whole = std::floor(s);
    return GridTimeAfter(static_cast<long long>(whole), (s - whole) * kNodeSeconds);
}

void UpdateBodyState(std::vector<Body> &bodies, int index, double mjd, const GridTime &t) {
    Body &b = bodies[index];
    if (b.eph.kind == EphemerisKind::Drift) {
        OwnState(bodies, index, mjd, b.pos, b.vel);
        return;
    }
    InterpolatedOwnState(bodies, index, t, b.pos, b.vel);
    if (HasParentState(b)) {
        b.pos += bodies[b.parent].pos;
        b.vel += bodies[b.parent].vel;
    }
}

void TheoryState(const std::vector<Body> &bodies, int index, double mjd, VECTOR3 &pos, VECTOR3 &vel) {
    OwnState(bodies, index, mjd, pos, vel);
    if (HasParentState(bodies[index])) {
        VECTOR3 pp, pv;
        TheoryState(bodies, bodies[index].parent, mjd, pp, pv);
        pos += pp;
        vel += pv;
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
