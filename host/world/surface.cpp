// surface.cpp: vessels standing on turning bodies.
#include "surface.h"

#include "bases.h"
#include "frames.h"

#include <cmath>

namespace kvhost {

namespace {

// North and east along the ground at a point (radians), in the body's frame.
void NorthEast(double lng, double lat, VECTOR3 &north, VECTOR3 &east) {
    north = _V(-std::sin(lat) * std::cos(lng), std::cos(lat), -std::sin(lat) * std::sin(lng));
    east = _V(-std::sin(lng), 0, std::cos(lng));
}

}  // namespace

MATRIX3 LevelAttitude(double lngDeg, double latDeg, double headingDeg) {
    const double lng = lngDeg * kDeg, lat = latDeg * kDeg, psi = headingDeg * kDeg;
    const VECTOR3 up = BodyFixedPoint(lng, lat, 1);
    VECTOR3 north, east;
    NorthEast(lng, lat, north, east);
    const VECTOR3 x = east * std::cos(psi) - north * std::sin(psi), z = north * std::cos(psi) + east * std::sin(psi);
    // The columns are the vessel's axes in the body's frame.
    return MATRIX3{{x.x, up.x, z.x, x.y, up.y, z.y, x.z, up.z, z.z}};
}

VECTOR3 SurfaceVelocityAt(const Body &b, const VECTOR3 &p) {
    if (!b.Turns()) return b.vel;
    return b.vel + mul(b.Axes().rot, SurfaceVelocity(tmul(b.Axes().rot, p - b.pos), b.spin.period));
}

void StandOn(const World &w, Vessel &v, bool atPlacement) {
    const Body &b = w.body(v.landedOn);
    const Footing &f = v.footing;
    const double lng = f.lngDeg * kDeg, lat = f.latDeg * kDeg;
    const VECTOR3 local = BodyFixedPoint(lng, lat, b.radius + f.height);
    v.pos = b.pos + mul(b.Axes().rot, local);
    v.vel = b.vel;
    if (b.Turns())
        v.vel +=
            mul(b.Axes().rot, SurfaceVelocity(atPlacement ? local : BodyFixedPoint(lng, lat, b.radius), b.spin.period));
    v.rot = MatrixProduct(b.Axes().rot, f.attitude);
    v.omega = _V(0, 0, 0);
}

void FootingFromState(const World &w, Vessel &v, int b) {
    const Body &body = w.body(b);
    const VECTOR3 local = tmul(body.Axes().rot, v.pos - body.pos);
    double lng, lat;
    LongitudeLatitude(local, lng, lat);
    Footing f;
    f.lngDeg = lng / kDeg;
    f.latDeg = lat / kDeg;
    f.height = std::fmax(0.0, length(local) - body.radius);
    f.attitude = MatrixProduct(Transpose(body.Axes().rot), v.rot);
    // The heading of the nose, from north towards east, in [0, 360).
    const VECTOR3 nose = _V(f.attitude.m13, f.attitude.m23, f.attitude.m33);
    VECTOR3 north, east;
    NorthEast(lng, lat, north, east);
    double heading = std::atan2(dotp(nose, east), dotp(nose, north)) / kDeg;
    if (heading < 0) heading += 360;
    f.headingDeg = heading;
    v.footing = f;
}

void SettleOn(const World &w, Vessel &v, int b, VesselStatus status) {
    FootingFromState(w, v, b);
    const Body &body = w.body(b);
    v.status = status;
    v.landedOn = b;
    v.restSeconds = 0;
    if (status == VesselStatus::Landed)
        for (int base = 0; base < BaseCount() && v.footing.pad < 0; ++base)
            if (body.name == BaseAt(base).body) ReportTouchdown(w, v, base);
    StandOn(w, v);
}

void ReportTouchdown(const World &w, Vessel &v, int base) {
    const int pad = PadAt(base, v.footing.lngDeg, v.footing.latDeg, w.body(v.landedOn).radius);
    if (pad < 0) return;
    v.footing.base = base;
    if (v.footing.pad < 0) v.footing.pad = pad;
    for (Tank &t : v.tanks) t.mass = t.maxMass;
}

}  // namespace kvhost
