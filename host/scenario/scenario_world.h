// scenario_world.h: building the world a scenario describes.
#ifndef KVHOST_SCENARIO_SCENARIO_WORLD_H
#define KVHOST_SCENARIO_SCENARIO_WORLD_H

#include "../world/world.h"
#include "scenario.h"

namespace kvhost {

// Fills an empty world from the scenario: the system at its date, the ships, the focus.
// On failure returns false with "FILE:LINE: reason" (the world may then be partly filled:
// build into a fresh world and keep it only on success).
bool BuildScenarioWorld(const Scenario &sc, World &world, std::string &error);

}  // namespace kvhost

#endif
