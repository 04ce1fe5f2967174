// dynamics.h: moving the world forward in time.
//
// Bodies follow their ephemerides. Each vessel is integrated under the gravity of every body and
// the thrust of its engines with classic fourth-order Runge-Kutta on position, velocity and mass,
// in sub-steps of at most 1 s (and at most 1/500 of an orbit about the nearest body), so the host's
// accuracy does not depend on how long a frame is. Within a frame the bodies' positions are
// interpolated (cubic Hermite) between their ephemeris states at the frame's ends. Attitude
// follows the thrusters' torques by Euler's equations with the left-handed rotation rule.
#ifndef KVHOST_WORLD_DYNAMICS_H
#define KVHOST_WORLD_DYNAMICS_H

#include "world.h"

namespace kvhost {

constexpr double kMaxSubStep = 1.0;    // s
constexpr double kLandingSpeed = 5.0;  // m/s into the ground: slower touchdowns land, faster ones crash
constexpr double kGroundGrip = 0.5;    // what slows a vessel rolling on the ground, in its weights

// Advances the date by dt seconds and every body and vessel with it.
void AdvanceWorld(World &world, double dt);

}  // namespace kvhost

#endif
