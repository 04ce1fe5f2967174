// simulation.cpp: the frame loop.
#include "simulation.h"

#include <algorithm>

#include "../world/dynamics.h"

namespace kvhost {

Simulation::Simulation(World &world, ModuleHooks hooks) : world_(world), hooks_(hooks) {}

void Simulation::SetTimeAcceleration(double warp) {
    if (!(warp > 0)) return;
    warp = std::min(std::max(warp, kMinWarp), kMaxWarp);
    if (warp == warp_) return;
    const double old = warp_;
    warp_ = warp;
    if (hooks_.timeAccChanged) hooks_.timeAccChanged(warp, old);
}

void Simulation::Frame() {
    const double dt = frameLength * warp_;
    if (hooks_.preStep) hooks_.preStep(simt_, dt, world_.Mjd());
    AdvanceWorld(world_, dt);
    simt_ += dt;
    sinceRefresh_ += frameLength;
    if (sinceRefresh_ + 1e-9 >= refreshInterval) {
        sinceRefresh_ = 0;
        if (refresh) refresh();
    }
}

void Simulation::Run(long frames) {
    for (long i = 0; i < frames; ++i) Frame();
}

}  // namespace kvhost
