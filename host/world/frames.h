// frames.h: conversions between ERFA's frame and the simulator's global frame, and small
// rotation helpers shared by the world.
//
// ERFA works in the equatorial frame of J2000 (right-handed, z to the celestial pole) in au and
// au/day. The simulator's global frame is the ecliptic of J2000, left-handed: x to the vernal
// equinox, y to the ecliptic north pole, z along the ecliptic's own y axis; metres and m/s.
#ifndef KVHOST_WORLD_FRAMES_H
#define KVHOST_WORLD_FRAMES_H

#include <Orbitersdk.h>

namespace kvhost {

constexpr double kAu = 1.495978707e11;  // m
constexpr double kDay = 86400.0;        // s
constexpr double kG = 6.67259e-11;      // m^3 kg^-1 s^-2, the value the plug-in uses
constexpr double kObliquityJ2000 = 84381.406 / 3600.0 * 3.14159265358979323846 / 180.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

// A right-handed equatorial vector (any unit) turned into the left-handed ecliptic frame.
VECTOR3 EquatorialToGlobal(const double v[3]);

// ERFA position (au) and velocity (au/day) to global metres and m/s.
void EquatorialPvToGlobal(const double pv[2][3], VECTOR3 &pos, VECTOR3 &vel);

MATRIX3 IdentityMatrix();
MATRIX3 MatrixProduct(const MATRIX3 &a, const MATRIX3 &b);
MATRIX3 Transpose(const MATRIX3 &m);

// The vessel rotation for scenario attitude angles (radians): R = Rx(a) * Ry(b) * Rz(c).
MATRIX3 RotationFromEuler(const VECTOR3 &angles);
// The angles that RotationFromEuler turns back into m.
VECTOR3 EulerFromRotation(const MATRIX3 &m);

}  // namespace kvhost

#endif
