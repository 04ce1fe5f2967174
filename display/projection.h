// projection.h: the plot's two view rows. A global vector p is drawn at x along viewRowX . p
// and up along viewRowY . p. The ecliptic view (ECLP) looks down on the x-z plane; the ship
// view (SHIP) lies in the plane of the ship's osculating orbit about its target, taken when the
// view is switched on. The rows are module-wide: every display shares them.
#ifndef KAVREX_DISPLAY_PROJECTION_H
#define KAVREX_DISPLAY_PROJECTION_H

#include <Orbitersdk.h>

#include "../model/module_state.h"

namespace kavrex {

// Flag false: the ecliptic view. Flag true: the plane of the record's vessel's orbit about its
// target body.
void SetProjection(const ShipRecord &r, bool flag);
// The ecliptic view, which needs no record (the module's load sets it).
void SetEclipticProjection();
// Measures the orbit of vessel V about body B and turns the view rows into its plane. Null
// handles, and an orbit without a plane (no angular momentum) leave the rows as they were.
void ComputeOrbitPlane(OBJHANDLE vessel, OBJHANDLE body);
// The point of the last measured conic at true longitude theta (rad).
VECTOR3 OrbitPointDirection(double theta);
// theta reduced into [0, 2 pi].
double WrapAngle(double theta);

}  // namespace kavrex

#endif
