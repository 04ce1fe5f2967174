// body_rotation.cpp: a body's axes at a date, and points fixed to its surface.
#include "body_rotation.h"

#include "body.h"

#include "frames.h"

#include <cmath>

namespace kvhost {

namespace {

MATRIX3 Rows(double a, double b, double c, double d, double e, double f, double g, double h, double i) {
    return MATRIX3{{a, b, c, d, e, f, g, h, i}};
}

// Turn about +y (the pole) by a.
MATRIX3 TurnY(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return Rows(c, 0, -s, 0, 1, 0, s, 0, c);
}

// Tilt by e about +x, then turn the node to longitude l.
MATRIX3 NodeTilt(double l, double e) {
    const double cl = std::cos(l), sl = std::sin(l), ce = std::cos(e), se = std::sin(e);
    return Rows(cl, -sl * se, -sl * ce, 0, ce, -se, sl, cl * se, cl * ce);
}

}  // namespace

BodyAxes AxesAt(const BodySpin &spin, double mjd, double seconds) {
    BodyAxes axes;
    // The reference plane counts only when it is tilted (an untilted one leaves its node unused).
    const bool tilted = spin.precessionObliquity != 0;
    const MATRIX3 ref = tilted ? NodeTilt(spin.precessionNode, spin.precessionObliquity) : IdentityMatrix();
    const double node =
        spin.precessionDays != 0 ? spin.node + 2 * kPi / spin.precessionDays * (mjd - spin.nodeMjd) : spin.node;
    const MATRIX3 q = MatrixProduct(ref, NodeTilt(node, spin.obliquity));
    // The axis in global coordinates, and its obliquity and node on the ecliptic.
    const double ax = q.m12, ay = q.m22, az = q.m32;
    axes.obliquity = std::acos(std::fmax(-1.0, std::fmin(1.0, ay)));
    axes.node = std::atan2(-ax, az);
    const double cn = std::cos(axes.node), sn = std::sin(axes.node);
    const double offset = tilted ? std::atan2(-(cn * q.m13 + sn * q.m33), cn * q.m11 + sn * q.m31) : 0;
    double angle =
        spin.offset + 2 * kPi * seconds / spin.period - (node - spin.node) * std::cos(spin.obliquity) + offset;
    angle = std::fmod(angle, 2 * kPi);
    if (angle < 0) angle += 2 * kPi;
    axes.angle = angle;
    axes.rot = MatrixProduct(NodeTilt(axes.node, axes.obliquity), TurnY(angle));
    return axes;
}

const BodyAxes &Body::Axes() const {
    if (!axesFresh) {
        axesNow = AxesAt(spin, axesMjd, axesSeconds);
        axesFresh = true;
    }
    return axesNow;
}

void Body::SetAxesTime(double mjd, double seconds) {
    axesMjd = mjd;
    axesSeconds = seconds;
    axesFresh = !Turns();
}

VECTOR3 BodyFixedPoint(double lng, double lat, double r) {
    return _V(r * std::cos(lat) * std::cos(lng), r * std::sin(lat), r * std::cos(lat) * std::sin(lng));
}

void LongitudeLatitude(const VECTOR3 &local, double &lng, double &lat) {
    const double r = length(local);
    lng = std::atan2(local.z, local.x);
    lat = r > 0 ? std::asin(local.y / r) : 0;
}

VECTOR3 SurfaceVelocity(const VECTOR3 &local, double period) {
    const double w = 2 * kPi / period;
    return _V(-w * local.z, 0, w * local.x);
}

}  // namespace kvhost
