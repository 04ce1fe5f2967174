// simulation.h: the simulator's frame loop. Each frame the module's opcPreStep is called first,
// then the world advances by the frame's simulated length; displays are refreshed at a set
// interval of real time, and every change of time acceleration is reported to the module.
#ifndef KVHOST_SIM_SIMULATION_H
#define KVHOST_SIM_SIMULATION_H

#include "../world/world.h"

#include <functional>

namespace kvhost {

// The module entry points the loop drives (a loaded plug-in, or a module linked in).
struct ModuleHooks {
    void (*preStep)(double simt, double simdt, double mjd) = nullptr;
    void (*timeAccChanged)(double newWarp, double oldWarp) = nullptr;
};

constexpr double kDefaultFrameLength = 1.0 / 60;  // real seconds per frame (60 frames/s)
// The time accelerations the simulator offers: a tenth of real time up to 100,000 times it.
constexpr double kMinWarp = 0.1, kMaxWarp = 100000;
constexpr double kDefaultRefreshInterval = 0.5;   // real seconds between display refreshes

class Simulation {
public:
    Simulation(World &world, ModuleHooks hooks);

    // Simulated seconds per frame are frameLength x time acceleration, which is kept within
    // kMinWarp..kMaxWarp (the commands refuse anything outside with a message first).
    void SetTimeAcceleration(double warp);
    double timeAcceleration() const { return warp_; }
    double simt() const { return simt_; }
    double frameLength = kDefaultFrameLength;
    double refreshInterval = kDefaultRefreshInterval;
    // Called when the displays are due for a refresh (every refreshInterval of real time).
    std::function<void()> refresh;

    void Frame();
    void Run(long frames);

private:
    World &world_;
    ModuleHooks hooks_;
    double warp_ = 1;
    double simt_ = 0;
    double sinceRefresh_ = 0;
};

}  // namespace kvhost

#endif
