// body_rotation.h: how a body turns, by the simulator's own model: a sidereal period and offset
// about an axis tilted against a reference plane, whose node precesses on that plane, itself
// tilted against the ecliptic. Landed ships, bases and a body's rotation matrix follow it.
#ifndef KVHOST_WORLD_BODY_ROTATION_H
#define KVHOST_WORLD_BODY_ROTATION_H

#include <Orbitersdk.h>

namespace kvhost {

// A body's rotation keys, as its configuration gives them (radians, except where said).
struct BodySpin {
    double period = 1e100;  // sidereal period, s; negative turns retrograde; 1e100: no rotation
    double offset = 0;      // rotation angle at the reference epoch
    double obliquity = 0;   // of the axis against the precession reference plane
    double node = 0;        // of the equator on that plane, at nodeMjd
    double nodeMjd = 51544.5;
    double precessionDays = 0;       // period of the node's motion, days; 0: none
    double precessionObliquity = 0;  // of the reference plane against the ecliptic
    double precessionNode = 0;       // of the reference plane on the ecliptic
    double epochMjd = 51544.5;       // the reference epoch of `offset`
};

// The body's axes at a date: R maps body-fixed coordinates to global ones (global = R * local,
// local +y the north pole, +x the prime meridian, +z longitude 90 E).
struct BodyAxes {
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    double angle = 0;      // the rotation angle, [0, 2 pi)
    double obliquity = 0;  // of the axis against the ecliptic
    double node = 0;       // of the equator on the ecliptic
};
// `seconds` is the time since the spin's reference epoch, kept finer than an MJD can be.
BodyAxes AxesAt(const BodySpin &spin, double mjd, double seconds);
inline BodyAxes AxesAt(const BodySpin &spin, double mjd) { return AxesAt(spin, mjd, (mjd - spin.epochMjd) * 86400.0); }

// A point at longitude lng (east positive), latitude lat (radians) and distance r from the centre,
// in body-fixed coordinates; and back.
VECTOR3 BodyFixedPoint(double lng, double lat, double r);
void LongitudeLatitude(const VECTOR3 &local, double &lng, double &lat);

// The velocity, body-fixed, of a point fixed to a body turning with `period` (s): eastward.
VECTOR3 SurfaceVelocity(const VECTOR3 &local, double period);

}  // namespace kvhost

#endif
