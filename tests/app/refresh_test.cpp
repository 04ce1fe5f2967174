// The displays refresh by the simulator's rule: each when the refresh interval of simulated time
// and a tenth of a second of real time have passed since its last refresh, at once on the first
// frame and after a redraw request, and never in the external camera view or while it shows its
// button menu. Counted over a real minute of frames, as the summary counts them.
#include <gtest/gtest.h>

#include "host/session/session.h"
#include "host/cockpit/cockpit.h"

#include <string>

namespace {

// Refreshes of display 0 in one real minute (3,600 frames at 60 a second) at `warp`.
long RefreshesPerMinute(double warp, double interval = kvhost::kDefaultRefreshInterval, double fps = 60) {
    kvhost::Session session;
    kvhost::FrameProfile profile;
    profile.minFps = profile.maxFps = fps;
    session.SetFrameProfile(profile);
    session.refreshInterval = interval;
    std::string error;
    EXPECT_TRUE(session.Start(KAVREX_SCENARIO_DIR "/default.scn", KAVREX_PLUGIN_PATH, error)) << error;
    EXPECT_TRUE(kvhost::OpenDisplay(0, "Kavrex", error)) << error;
    session.simulation().SetTimeAcceleration(warp);
    while (session.simulation().realTime() < 60 - 1e-9) session.simulation().Frame();
    return session.Refreshes(0);
}

TEST(Refresh, FollowsTheSimulatorsRuleAtEveryWarp) {
    // 0.5 s of simulated time is 5 s of real time at 0.1: 12 a minute, and the first frame's.
    EXPECT_EQ(RefreshesPerMinute(0.1), 13);
    EXPECT_EQ(RefreshesPerMinute(1), 121);
    // From warp 10 on, half a second of simulated time passes within a tenth of a real second:
    // the ten-a-second limit holds.
    EXPECT_EQ(RefreshesPerMinute(10), 601);
    EXPECT_EQ(RefreshesPerMinute(100), 601);
    // The interval is the simulator's setting; at 2 s and warp 1, 30 a minute.
    EXPECT_EQ(RefreshesPerMinute(1, 2), 31);
    EXPECT_EQ(RefreshesPerMinute(1, 0.01), 601);
    // At 15 frames a second the tenth of a second takes two frames (0.133 s): every other one of
    // the minute's 900 frames, and the first.
    EXPECT_EQ(RefreshesPerMinute(100, 0.5, 15), 451);
}

TEST(Refresh, RedrawsTheNextFrameAndRestsInTheExternalViewAndTheMenu) {
    kvhost::Session session;
    std::string error;
    ASSERT_TRUE(session.Start(KAVREX_SCENARIO_DIR "/mars-transfer.scn", KAVREX_PLUGIN_PATH, error)) << error;
    kvhost::Simulation &sim = session.simulation();
    sim.Frame();
    EXPECT_EQ(session.Refreshes(0), 1) << "the first frame refreshes";
    sim.Run(5);
    EXPECT_EQ(session.Refreshes(0), 1);
    // A key asks for a redraw: the display refreshes at the end of the next frame.
    kvhost::PressKey(0, OAPI_KEY_M);
    sim.Frame();
    EXPECT_EQ(session.Refreshes(0), 2);
    session.externalCamera = true;
    sim.Run(600);
    EXPECT_EQ(session.Refreshes(0), 2) << "nothing refreshes in the external view";
    session.externalCamera = false;
    sim.Frame();
    EXPECT_EQ(session.Refreshes(0), 3);
    kvhost::Slot(0).menuShown = true;
    sim.Run(600);
    EXPECT_EQ(session.Refreshes(0), 3) << "nothing refreshes while the button menu shows";
    kvhost::Slot(0).menuShown = false;
    sim.Frame();
    EXPECT_EQ(session.Refreshes(0), 4);
    EXPECT_GT(session.Predictions(), 0);
}

}  // namespace
