// projection.cpp: the view rows and the orbit plane behind the SHIP view.
#include "projection.h"

#include "../engine/catalogue.h"
#include "../model/ship_table.h"
#include "../model/units.h"

#include <cmath>

namespace kavrex {

namespace {

double ZeroTiny(double x) { return std::fabs(x) < 0.01 ? 0.0 : x; }

bool Usable(const VECTOR3 &v) {
    const double l = length(v);
    return std::isfinite(l) && l > 0;
}

}  // namespace

double WrapAngle(double theta) {
    if (theta > kTwoPi) return std::fmod(theta, kTwoPi);
    if (theta < 0) return kTwoPi - std::fmod(-theta, kTwoPi);
    return theta;
}

VECTOR3 OrbitPointDirection(double theta) {
    const OrbitPlane &o = Module().orbit;
    const double nu = WrapAngle(theta - o.lonPeri);
    double rho = o.p / (1 + o.eccentricity * std::cos(nu));
    if (rho < 0) rho = -rho;
    return (o.P * std::cos(nu) + o.Q * std::sin(nu)) * rho;
}

void ComputeOrbitPlane(OBJHANDLE vessel, OBJHANDLE body) {
    if (!vessel || !body) return;
    const double mu = kGravConst * oapiGetMass(body);
    VECTOR3 r, v;
    oapiGetRelativePos(vessel, body, &r);
    oapiGetRelativeVel(vessel, body, &v);
    for (int k = 0; k < 3; ++k) {
        r.data[k] = ZeroTiny(r.data[k]);
        v.data[k] = ZeroTiny(v.data[k]);
    }
    const VECTOR3 h = crossp(r, v);
    // No angular momentum (at rest, or falling straight in) and no mass: no plane to show.
    if (!Usable(h) || !(mu > 0)) return;
    OrbitPlane o;
    const VECTOR3 hu = unit(h);
    VECTOR3 n = _V(hu.z, 0, -hu.x);
    n = Usable(n) ? unit(n) : _V(1, 0, 0);
    o.inclination = std::acos(std::fmax(-1.0, std::fmin(1.0, -hu.y)));
    if (o.inclination < 1e-6) o.inclination = 0;
    o.p = dotp(h, h) / mu;
    const VECTOR3 e = r * (dotp(v, v) - mu / length(r)) - v * dotp(r, v);
    o.eccentricity = length(e) / mu;
    if (o.eccentricity < 1e-6) o.eccentricity = 0;
    if (o.inclination == 0) n = _V(1, 0, 0);
    o.nodeDir = n;
    o.P = o.eccentricity != 0 ? unit(e) : n;

    if (o.inclination == 0 || n.x >= 1)
        o.node = 0;
    else if (n.x <= -1)
        o.node = kPi;
    else
        o.node = n.z < 0 ? kTwoPi - std::acos(n.x) : std::acos(n.x);

    if (o.eccentricity == 0) {
        o.argPeri = 0;
    } else if (o.inclination == 0) {
        o.argPeri = std::acos(std::fmax(-1.0, std::fmin(1.0, o.P.x)));
        if (o.P.z < 0) o.argPeri = kTwoPi - o.argPeri;
    } else {
        o.argPeri = std::acos(std::fmax(-1.0, std::fmin(1.0, dotp(n, o.P))));
        if (o.P.y < 0) o.argPeri = kTwoPi - o.argPeri;
    }
    o.lonPeri = WrapAngle(o.argPeri + o.node);
    o.Q = unit(crossp(hu, o.P));
    Module().orbit = o;
    const VECTOR3 x = OrbitPointDirection(0), y = OrbitPointDirection(90 * kDegree);
    if (!Usable(x) || !Usable(y)) return;  // a conic of no size: keep the rows
    Projection().x = unit(x);
    Projection().y = unit(y);
}

void SetEclipticProjection() {
    Projection().x = _V(1, 0, 0);
    Projection().y = _V(0, 0, 1);
}

void SetProjection(const ShipRecord &r, bool flag) {
    if (!flag) {
        SetEclipticProjection();
        return;
    }
    ComputeOrbitPlane(r.vesselHandle, BodyAt(r, r.targetBody).handle);
}

}  // namespace kavrex
