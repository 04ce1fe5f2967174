// Several Kavrex displays at once, through the loaded plug-in: every display the simulator
// refreshes in a frame shows the trajectory, one prediction serves them all, and a display in an
// external window on another vessel shows the focus vessel's page with its own settings.
#include <gtest/gtest.h>

#include "host/app/commands.h"
#include "host/session/session.h"
#include "host/session/plugin_exports.h"
#include "host/cockpit/cockpit.h"
#include "host/scenario/scenario.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char *kShips = R"(
BEGIN_SHIPS
Courier-1:Courier
  STATUS Orbiting Earth
  RPOS -6007803 0 3138086
  RVEL -3550.4 0 -6797.2
  AROT 0 0 0
  VROT 0 0 0
  PRPLEVEL 0:1.000
END
Courier-2:Courier
  STATUS Orbiting Earth
  RPOS 6007803 0 -3138086
  RVEL 3550.4 0 6797.2
  AROT 0 0 0
  VROT 0 0 0
  PRPLEVEL 0:1.000
END
END_SHIPS
)";

// A display block in the simulator's naming (Left, Right, then identifier + 1).
std::string Display(const std::string &name) {
    return "BEGIN_MFD " + name + "\n  TYPE User\n  MODE Kavrex\n  KV_TARGET Mars\n  KV_SOURCE Earth\nEND_MFD\n";
}

std::string Scenario(const std::string &displays, const std::string &timeline = "") {
    return "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61450.5\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship Courier-1\n"
           "END_FOCUS\n" +
           displays + timeline + kShips;
}

std::string WriteScenario(const std::string &name, const std::string &text) {
    const std::string path = std::string(::testing::TempDir()) + name;
    std::ofstream(path) << text;
    return path;
}

struct Page {
    bool readouts = false, plot = false, error = false;
    std::string title;
};

// What display `slot` showed at its last refresh: the read-out labels, the plot (its white line
// from the centre to the ship's marker), an error text, and its title.
Page Shown(const kvhost::Session &session, int slot) {
    Page p;
    const kvhost::RecordingDc *dc = session.LastRefresh(slot);
    if (!dc) return p;
    for (const kvhost::DrawOp &op : dc->ops()) {
        if (op.kind == kvhost::DrawOp::Text) {
            if (p.title.empty()) p.title = op.text;
            if (op.text == "TargetD") p.readouts = true;
            if (op.text.find("Error") != std::string::npos || op.text.find("FindMFD") != std::string::npos)
                p.error = true;
        } else if (op.kind == kvhost::DrawOp::Line && op.pen.color == RGB(255, 255, 255)) {
            p.plot = true;
        }
    }
    return p;
}

unsigned long PluginPredictions(kvhost::Session &session) {
    kvhost::ShipDescription d;
    EXPECT_TRUE(kvhost::DescribeFocusShip(session, d));
    return d.predictions;
}

// A minute of flight with the displays of `displays` open in the given pages (the M key cycles
// 3 -> 1 -> 2): each refresh cycle is checked as it happens.
void FlyAMinute(const std::string &displays, const std::vector<int> &modes) {
    const std::string path = WriteScenario("kavrex-displays.scn", Scenario(displays));
    kvhost::Session session;
    std::string error;
    ASSERT_TRUE(session.Start(path, KAVREX_PLUGIN_PATH, error)) << error;
    const int presses[4] = {0, 1, 2, 0};
    for (size_t s = 0; s < modes.size(); ++s)
        for (int i = 0; i < presses[modes[s]]; ++i) kvhost::PressKey(static_cast<int>(s), OAPI_KEY_M);
    long cycles = 0;
    session.onRefresh = [&](const std::vector<int> &due) {
        ++cycles;
        EXPECT_EQ(due.size(), modes.size()) << "the displays refresh in lock-step";
        for (int s : due) {
            const Page p = Shown(session, s);
            EXPECT_FALSE(p.error) << "display " << s << " at cycle " << cycles;
            EXPECT_EQ(p.readouts, (modes[s] & 1) != 0) << "display " << s << " at cycle " << cycles;
            EXPECT_EQ(p.plot, (modes[s] & 2) != 0) << "display " << s << " at cycle " << cycles;
        }
    };
    while (session.simulation().simt() < 60) session.simulation().Frame();
    EXPECT_EQ(cycles, 121);  // every half second, and the first frame
    // One prediction per refresh cycle, whatever the number of displays: each cycle's first
    // page takes the trajectory, and the next step computes the next one.
    EXPECT_EQ(PluginPredictions(session), static_cast<unsigned long>(cycles));
    EXPECT_EQ(session.Predictions(), cycles);
    std::remove(path.c_str());
}

TEST(Displays, TwoOnOneVesselBothShowTheTrajectoryAtEveryRefresh) {
    FlyAMinute(Display("Left") + Display("Right"), {3, 3});
}

TEST(Displays, ThreeOnOneVesselEachShowTheirOwnPage) {
    FlyAMinute(Display("Left") + Display("Right") + Display("3"), {1, 2, 3});
}

TEST(Displays, OneDisplayPredictsOncePerRefresh) { FlyAMinute(Display("Left"), {3}); }

// A window on Courier-2 while Courier-1 has the focus shows Courier-1's page under its own
// settings; it stays on its vessel through a change of focus, and its settings in each record
// come back with the focus.
TEST(Displays, AWindowOnAnotherVesselShowsTheFocusPageWithItsOwnSettings) {
    const std::string path = WriteScenario(
        "kavrex-window.scn", Scenario(Display("Left"), "BEGIN_TIMELINE\n  0 WINDOW 5000 Courier-2\nEND_TIMELINE\n"));
    kvhost::Session session;
    std::string error;
    ASSERT_TRUE(session.Start(path, KAVREX_PLUGIN_PATH, error)) << error;
    ASSERT_TRUE(session.FlyToOneMoment(3, [&] { return session.PlayTimeline(error); })) << error;
    const int window = kvhost::kCockpitDisplays;
    ASSERT_NE(kvhost::Slot(window).instance, nullptr);
    session.RefreshDisplays();
    Page p = Shown(session, window);
    EXPECT_EQ(p.title, "Kavrex 1.5 Courier-1");
    EXPECT_FALSE(p.error);
    EXPECT_TRUE(p.readouts && p.plot);
    EXPECT_STREQ(oapiDebugString(), "");

    kvhost::PressButton(window, 6, PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBPRESSED);  // MOD: page 3 -> 1
    session.simulation().Frame();
    session.RefreshDisplays();
    EXPECT_FALSE(Shown(session, window).plot) << "the window shows the read-outs alone now";
    ASSERT_TRUE(kvhost::ChangeFocus(1, error)) << error;
    EXPECT_NE(kvhost::Slot(window).instance, nullptr) << "a window outlives a change of focus";
    session.simulation().Frame();
    session.RefreshDisplays();
    p = Shown(session, window);
    EXPECT_EQ(p.title, "Kavrex 1.5 Courier-2");
    EXPECT_TRUE(p.readouts && p.plot) << "its own vessel's record: its entry there is on page 3";
    ASSERT_TRUE(kvhost::ChangeFocus(0, error)) << error;
    session.simulation().Frame();
    session.RefreshDisplays();
    p = Shown(session, window);
    EXPECT_EQ(p.title, "Kavrex 1.5 Courier-1");
    EXPECT_TRUE(p.readouts && !p.plot) << "its settings in Courier-1's record came back";
    EXPECT_STREQ(oapiDebugString(), "");
    std::remove(path.c_str());
}

// The simulator gives an external window an identifier of its own, never a cockpit display's;
// the vessel it names must exist, which is known before the flight.
TEST(Displays, AWindowTakesNoCockpitIdentifierAndNamesAVesselThatExists) {
    for (const char *line : {"0 WINDOW 1", "0 WINDOW 11 Courier-2"}) {
        kvhost::Scenario sc;
        std::string error;
        ASSERT_TRUE(kvhost::ParseScenario(Scenario("", std::string("BEGIN_TIMELINE\n  ") + line + "\nEND_TIMELINE\n"),
                                          "w.scn", sc, error))
            << error;
        std::vector<kvhost::TimelineEvent> timeline;
        EXPECT_FALSE(kvhost::ParseTimeline(sc, timeline, error)) << line;
        EXPECT_NE(error.find("w.scn:9: WINDOW"), std::string::npos) << error;
        EXPECT_NE(error.find("cockpit"), std::string::npos) << error;
    }
    const std::string path = WriteScenario(
        "kavrex-ghost-window.scn", Scenario(Display("Left"), "BEGIN_TIMELINE\n  0 WINDOW 77 Ghost\nEND_TIMELINE\n"));
    kvhost::Session session;
    std::string error;
    EXPECT_FALSE(session.Start(path, KAVREX_PLUGIN_PATH, error)) << "refused before the flight";
    EXPECT_NE(error.find("kavrex-ghost-window.scn:15: WINDOW: there is no vessel named 'Ghost' by then"),
              std::string::npos)
        << error;
    std::remove(path.c_str());
}

}  // namespace

// A scenario whose camera starts outside flies so: the simulator refreshes no display there,
// until the camera comes into the cockpit.
TEST(Displays, AFlightStartsInTheScenariosCameraView) {
    const std::string camera = "BEGIN_CAMERA\n  TARGET Courier-1\n  MODE Extern\n  FOV 40.00\nEND_CAMERA\n";
    const std::string path = WriteScenario("kavrex-extern.scn", Scenario(camera + Display("Left")));
    kvhost::Session session;
    std::string error;
    ASSERT_TRUE(session.Start(path, KAVREX_PLUGIN_PATH, error)) << error;
    EXPECT_TRUE(session.externalCamera);
    while (session.simulation().simt() < 10) session.simulation().Frame();
    EXPECT_EQ(session.Refreshes(0), 0);
    session.externalCamera = false;
    while (session.simulation().simt() < 20) session.simulation().Frame();
    EXPECT_GT(session.Refreshes(0), 15);
    std::remove(path.c_str());
    // In the cockpit, or with no camera block: refreshed from the first frame.
    const std::string cockpit =
        WriteScenario("kavrex-cockpit.scn", Scenario("BEGIN_CAMERA\n  MODE Cockpit\nEND_CAMERA\n" + Display("Left")));
    kvhost::Session inside;
    ASSERT_TRUE(inside.Start(cockpit, KAVREX_PLUGIN_PATH, error)) << error;
    EXPECT_FALSE(inside.externalCamera);
    std::remove(cockpit.c_str());
}
