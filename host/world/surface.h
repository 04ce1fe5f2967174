// surface.h: vessels standing on turning bodies: placed, carried round, settled after a landing
// and refuelled on a pad, as the simulator does it.
#ifndef KVHOST_WORLD_SURFACE_H
#define KVHOST_WORLD_SURFACE_H

#include "world.h"

namespace kvhost {

constexpr double kSettleSeconds = 5;  // on the ground without thrust before a vessel counts as landed

// The attitude, in the body's frame, of a vessel standing level at a point with its nose to
// `headingDeg` (degrees from north towards east): +y up, +z along the heading.
MATRIX3 LevelAttitude(double lngDeg, double latDeg, double headingDeg);

// The velocity of the surface of body `b` at the global point p (the body's own included).
VECTOR3 SurfaceVelocityAt(const Body &b, const VECTOR3 &p);

// Puts a landed or crashed vessel where its footing says, on its body as the body stands now:
// position, attitude, and the surface's velocity there. At placement the surface speed is that
// of the vessel's origin; afterwards that of the body's radius, as the simulator carries it.
void StandOn(const World &w, Vessel &v, bool atPlacement = false);

// A vessel's footing on body b taken from where it is: its height, its attitude relative to the
// body, the heading of its nose.
void FootingFromState(const World &w, Vessel &v, int b);

// The vessel comes to rest on body b with the given status: its footing taken from where it is
// (its height, its attitude relative to the body, the heading of its nose); a vessel that lands
// on a pad occupies it and has its tanks filled.
void SettleOn(const World &w, Vessel &v, int b, VesselStatus status);

// A vessel standing at base `base`: the first pad within reach of its footing is occupied, and
// its tanks filled, as the simulator refuels a ship on a pad.
void ReportTouchdown(const World &w, Vessel &v, int base);

}  // namespace kvhost

#endif
