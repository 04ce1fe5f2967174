// saved_displays.h: the cockpit's open displays as a saved scenario holds them, each asked for
// its lines through WriteStatus.
#ifndef KVHOST_COCKPIT_SAVED_DISPLAYS_H
#define KVHOST_COCKPIT_SAVED_DISPLAYS_H

#include "../scenario/scenario_write.h"

#include <vector>

namespace kvhost {

std::vector<SavedDisplay> SaveOpenDisplays();

}  // namespace kvhost

#endif
