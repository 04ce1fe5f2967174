// cockpit_globals.h: what the cockpit keeps for the whole process: the registered display modes,
// the display slots, the Ctrl key and the input box. The SDK reaches them through free
// functions, as the simulator's own cockpit. The storage is the host's one state.
#ifndef KVHOST_COCKPIT_COCKPIT_GLOBALS_H
#define KVHOST_COCKPIT_COCKPIT_GLOBALS_H

#include "cockpit.h"
#include "input_state.h"

#include <vector>

namespace kvhost {

struct CockpitGlobals {
    std::vector<RegisteredMode> modes;
    int nextModeId = 1;
    DisplaySlot slots[kDisplaySlots];
    bool control = false;
    InputBox box;
};

CockpitGlobals &HostCockpit();

}  // namespace kvhost

#endif
