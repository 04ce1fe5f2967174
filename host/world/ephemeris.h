// ephemeris.h: the state of a body at a date, from its ephemeris.
#ifndef KVHOST_WORLD_EPHEMERIS_H
#define KVHOST_WORLD_EPHEMERIS_H

#include "body.h"

#include <vector>

namespace kvhost {

// A date on the grid of the theory's nodes: the node at or before it and the fraction of the way
// to the next. Finer than an MJD in one double, whose last bit is 0.6 us: 2 cm of the Earth's
// path, and a body that jerks by that much from frame to frame seems to move a metre a second
// faster or slower than its velocity says.
struct GridTime {
    long long node = 0;
    double fraction = 0;
};
GridTime GridTimeOf(double mjd);
// The date `seconds` after the node `node`.
GridTime GridTimeAfter(long long node, double seconds);

// Sets pos and vel of body `index` at date mjd (at the grid time `t`, the same date finer).
// Parents must have been updated first (the world updates bodies in index order and a parent
// always has the smaller index). The state is interpolated between the theory's nodes (a cubic
// curve on the positions, the velocity its derivative): within a tenth of a metre of the theory
// for the planets and a metre for the moons.
void UpdateBodyState(std::vector<Body> &bodies, int index, double mjd, const GridTime &t);

// The theory's own state of body `index` at mjd, in the global frame, with its parents' taken
// from the theory as well: what the interpolation stands for (a measure of its error).
void TheoryState(const std::vector<Body> &bodies, int index, double mjd, VECTOR3 &pos, VECTOR3 &vel);

// Position and velocity on a Keplerian orbit, in the right-handed frame of the orbit's
// reference plane (x to the node reference, z to the pole), for gravitational parameter mu.
void KeplerState(const KeplerOrbit &orbit, double mu, double mjd, double pos[3], double vel[3]);

}  // namespace kvhost

#endif
