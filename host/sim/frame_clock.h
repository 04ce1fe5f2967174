// frame_clock.h: the real length of each frame, as the simulator's clock measures it.
//
// The simulator advances each frame by the measured real frame time times the time acceleration.
// Its first three frames are 0.01 s long, and no frame counts more than 0.1 s of real time (a
// stall does not become one huge step). A frame-rate profile stands for the machine: a fixed rate,
// or one that varies at random (from a seed) between two rates.
#ifndef KVHOST_SIM_FRAME_CLOCK_H
#define KVHOST_SIM_FRAME_CLOCK_H

#include <cstdint>

namespace kvhost {

constexpr double kMinFps = 15, kMaxFps = 200;  // the frame rates machines usually give
constexpr double kDefaultFps = 60;
constexpr double kStartupFrameLength = 0.01;  // s, each of the first three frames
constexpr int kStartupFrames = 3;
constexpr double kMaxFrameLength = 0.1;  // s of real time a frame counts at most

struct FrameProfile {
    double minFps = kDefaultFps, maxFps = kDefaultFps;  // equal: a fixed rate
    uint32_t seed = 1;                                  // for a varying rate
};

class FrameClock {
public:
    explicit FrameClock(const FrameProfile &profile = FrameProfile());
    // The next frame's real length, s.
    double Next();
    // The length a frame of the profile has once the first frames are over (the slowest, for a
    // varying rate): what a caller plans with.
    double NominalLength() const { return 1 / profile_.minFps; }
    const FrameProfile &profile() const { return profile_; }
    long frames() const { return frames_; }

private:
    FrameProfile profile_;
    uint64_t state_;
    long frames_ = 0;
};

}  // namespace kvhost

#endif
