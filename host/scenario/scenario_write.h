// scenario_write.h: saving the running state as a scenario file that loads back to the same
// flight: the date, the focus, every vessel's state, the open displays with the lines their
// modes write, and the sections of other programs as they were read.
#ifndef KVHOST_SCENARIO_SCENARIO_WRITE_H
#define KVHOST_SCENARIO_SCENARIO_WRITE_H

#include "../files/files.h"
#include "../world/world.h"
#include "scenario.h"

#include <string>
#include <vector>

namespace kvhost {

struct SavedDisplay {
    int slot;
    std::string type;                // "User" for a display mode, else a built-in type
    std::string mode;                // the User display's mode; empty for a built-in type
    std::vector<std::string> lines;  // what the display's WriteStatus wrote, or the lines read
};

// Why the world is about to leave what a scenario file can hold (a date past the span its
// planetary theory serves, a ship too far from or too fast relative to every body), or "" while
// it is well within: a flight is stopped there, so that what it writes reads back.
std::string BeyondScenarioBounds(const World &world);

std::string ScenarioText(const World &world, const std::vector<SavedDisplay> &displays,
                         const std::vector<ScenarioSection> &otherSections,
                         const std::vector<std::string> &environmentLines = {});

}  // namespace kvhost

#endif
