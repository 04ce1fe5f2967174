// simulation.cpp: the frame loop.
#include "simulation.h"

#include <algorithm>

#include "../world/dynamics.h"

namespace kvhost {

Simulation::Simulation(World &world, ModuleHooks hooks, const FrameProfile &profile)
    : world_(world), hooks_(hooks), clock_(profile) {}

void Simulation::SetTimeAcceleration(double warp) {
    if (!(warp > 0)) return;
    warp = std::min(std::max(warp, kMinWarp), kMaxWarp);
    if (warp == warp_) return;
    warp_ = warp;
    if (hooks_.timeAccChanged) hooks_.timeAccChanged(warp, warp);
}

void Simulation::Frame() {
    const double real = clock_.Next(), dt = real * warp_;
    if (hooks_.preStep) hooks_.preStep(simt_, dt, world_.Mjd());
    AdvanceWorld(world_, dt);
    simt_ += dt;
    realt_ += real;
    if (afterFrame) afterFrame();
}

void Simulation::Run(long frames) {
    for (long i = 0; i < frames; ++i) Frame();
}

}  // namespace kvhost
