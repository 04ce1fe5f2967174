// session.h: one run of the simulator: a scenario's world, the loaded plug-in and the cockpit.
#ifndef KVHOST_APP_SESSION_H
#define KVHOST_APP_SESSION_H

#include "../cockpit/plugin.h"
#include "../scenario/scenario.h"
#include "../world/world.h"

#include <memory>
#include <string>

namespace kvhost {

class Session {
public:
    Session() = default;
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Reads the scenario and builds its world, loads the plug-in and opens the displays the
    // scenario names. On failure returns false with the cause; nothing stays loaded.
    bool Start(const std::string &scenarioPath, const std::string &pluginPath, std::string &error);
    void Stop();

    World &world() { return *world_; }
    const Scenario &scenario() const { return scenario_; }
    Plugin &plugin() { return plugin_; }

private:
    Scenario scenario_;
    std::unique_ptr<World> world_;
    Plugin plugin_;
};

// The scenario run when none is named: a vessel in low Earth orbit.
std::string DefaultScenarioPath();

}  // namespace kvhost

#endif
