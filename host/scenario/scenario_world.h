// scenario_world.h: building the world a scenario describes.
#ifndef KVHOST_SCENARIO_SCENARIO_WORLD_H
#define KVHOST_SCENARIO_SCENARIO_WORLD_H

#include "../world/world.h"
#include "scenario.h"

#include <vector>

namespace kvhost {

// Fills an empty world from the scenario: the system at its date, the ships, the focus.
// On failure returns false with "FILE:LINE: reason" (the world may then be partly filled:
// build into a fresh world and keep it only on success). What the stand-in does differently
// from the simulator with a file it reads (a vessel class it does not build, docked vessels, a
// base it does not know) goes to `warnings`, a line each, "FILE:LINE: what".
bool BuildScenarioWorld(const Scenario &sc, World &world, std::string &error,
                        std::vector<std::string> *warnings = nullptr);

// The state at `mjd` of an orbit given as the simulator's ELEMENTS line (a in m, e, then
// inclination, longitude of the ascending node, longitude of periapsis and mean longitude at
// `elements[6]` in degrees) about a body of gravitational parameter `mu`, relative to it.
void StateFromElements(const double elements[7], double mu, double mjd, VECTOR3 &pos, VECTOR3 &vel);

}  // namespace kvhost

#endif
