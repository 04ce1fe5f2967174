// host_state.cpp: the host's one module-wide value and the accessors of its parts.
#include "host_state.h"

#include <utility>

namespace kvhost {

namespace {
HostState g_host;
}  // namespace

HostState &Host() { return g_host; }

WorldGlobals &HostWorld() { return g_host.world; }
GdiGlobals &HostGdi() { return g_host.gdi; }
ScenarioGlobals &HostScenario() { return g_host.scenario; }
CockpitGlobals &HostCockpit() { return g_host.cockpit; }

void ResetHostState() {
    std::vector<std::unique_ptr<VESSEL>> graveyard = std::move(g_host.world.graveyard);
    g_host.world = WorldGlobals();
    g_host.world.graveyard = std::move(graveyard);
    g_host.gdi = GdiGlobals();
    g_host.scenario = ScenarioGlobals();
    g_host.cockpit = CockpitGlobals();
    g_host.debug[0] = '\0';
    g_host.stopSignal = 0;
}

}  // namespace kvhost
