// scenario_globals.h: the scenario block readers and writers alive now, so that a FILEHANDLE the
// module passes is checked before it is used. The storage is the host's one state.
#ifndef KVHOST_SCENARIO_SCENARIO_GLOBALS_H
#define KVHOST_SCENARIO_SCENARIO_GLOBALS_H

#include <unordered_set>

namespace kvhost {

struct ScenarioGlobals {
    std::unordered_set<const void *> readers;
    std::unordered_set<const void *> writers;
};

ScenarioGlobals &HostScenario();

}  // namespace kvhost

#endif
