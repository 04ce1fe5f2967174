// simulation.h: the simulator's frame loop. Each frame the module's opcPreStep is called first,
// then the world advances by the frame's simulated length (its real length, from the frame
// clock, times the time acceleration), then the displays take their turn (afterFrame: the
// cockpit's refresh rule); every change of time acceleration is reported to the module.
#ifndef KVHOST_SIM_SIMULATION_H
#define KVHOST_SIM_SIMULATION_H

#include "../world/world.h"
#include "frame_clock.h"

#include <functional>

namespace kvhost {

// The module entry points the loop drives (a loaded plug-in, or a module linked in).
struct ModuleHooks {
    void (*preStep)(double simt, double simdt, double mjd) = nullptr;
    void (*timeAccChanged)(double newWarp, double oldWarp) = nullptr;
};

// The time accelerations the simulator offers: a tenth of real time up to 100,000 times it.
constexpr double kMinWarp = 0.1, kMaxWarp = 100000;

class Simulation {
public:
    Simulation(World &world, ModuleHooks hooks, const FrameProfile &profile = FrameProfile());

    // Simulated seconds per frame are the frame's real length x time acceleration, which is kept
    // within kMinWarp..kMaxWarp (the commands refuse anything outside with a message first).
    // The new warp is reported to the module as both arguments, as the simulator does.
    void SetTimeAcceleration(double warp);
    double timeAcceleration() const { return warp_; }
    double simt() const { return simt_; }
    double realTime() const { return realt_; }  // s of real time flown
    long frames() const { return clock_.frames(); }
    // The profile's frame length (its slowest, for a varying rate): what callers plan with.
    double frameLength() const { return clock_.NominalLength(); }
    // Starts the frame clock afresh on another profile (before the first frame, as a rule).
    void SetFrameProfile(const FrameProfile &profile) { clock_ = FrameClock(profile); }
    // The displays' turn, at the end of every frame.
    std::function<void()> afterFrame;

    void Frame();
    void Run(long frames);

private:
    World &world_;
    ModuleHooks hooks_;
    FrameClock clock_;
    double warp_ = 1;
    double simt_ = 0, realt_ = 0;
};

}  // namespace kvhost

#endif
