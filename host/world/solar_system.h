// solar_system.h: the default solar system (the Sun, the eight planets, their major moons).
#ifndef KVHOST_WORLD_SOLAR_SYSTEM_H
#define KVHOST_WORLD_SOLAR_SYSTEM_H

#include "body.h"

#include <vector>

namespace kvhost {

// The bodies in host index order: the Sun first, then each planet followed by its moons.
std::vector<Body> SolarSystemBodies();

}  // namespace kvhost

#endif
