// frame_clock.cpp: frame lengths from a profile.
#include "frame_clock.h"

#include <algorithm>

namespace kvhost {

FrameClock::FrameClock(const FrameProfile &profile) : profile_(profile), state_(profile.seed * 2654435761ull + 1) {}

double FrameClock::Next() {
    ++frames_;
    if (frames_ <= kStartupFrames) return kStartupFrameLength;
    double fps = profile_.minFps;
    if (profile_.maxFps > profile_.minFps) {
        // A 64-bit linear congruential step; its top 53 bits give a uniform fraction.
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        const double u = static_cast<double>(state_ >> 11) / 9007199254740992.0;
        fps = profile_.minFps + u * (profile_.maxFps - profile_.minFps);
    }
    return std::min(1 / fps, kMaxFrameLength);
}

}  // namespace kvhost
