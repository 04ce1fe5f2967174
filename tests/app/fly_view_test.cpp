// The live window's layout and strip, with real displays open: a point of the window finds the
// display and the bezel button a person sees there, and the strip tells the vessel's state.
#include <gtest/gtest.h>

#include "host/app/fly_view.h"
#include "host/session/session.h"
#include "host/cockpit/cockpit.h"

#include <string>

namespace {

class FlyViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(session.Start(KAVREX_SCENARIO_DIR "/default.scn", KAVREX_PLUGIN_PATH, error)) << error;
        ASSERT_TRUE(kvhost::OpenDisplay(0, "Kavrex", error)) << error;
        ASSERT_TRUE(kvhost::OpenDisplay(3, "Kavrex", error)) << error;
    }
    void TearDown() override { session.Stop(); }
    kvhost::Session session;
};

TEST_F(FlyViewTest, EachButtonLabelIsWhereItsButtonIsPressed) {
    const kvhost::FlyView v = kvhost::LayOut({0, 3}, 2);
    // A 256 x 256 display with a 40-pixel bezel each side: 336 x 256, twice that in the window.
    ASSERT_EQ(v.left.size(), 2u);
    EXPECT_EQ(v.left[1], 672);
    EXPECT_EQ(v.width, 1344);
    EXPECT_EQ(v.height, 512 + kvhost::kStripHeight);
    for (int d = 0; d < 2; ++d) {
        for (int bt = 0; bt < 12; ++bt) {
            // The middle of the label: the middle of its side's bezel, at its sixth of the height.
            const int x = v.left[d] + (bt < 6 ? 40 : 632), y = static_cast<int>(512 * ((bt % 6) + 0.5) / 6);
            const kvhost::ViewPoint p = kvhost::Locate(v, x, y);
            EXPECT_EQ(p.display, d);
            EXPECT_EQ(p.button, bt) << "display " << d << " at " << x << "," << y;
        }
    }
    // The screen and the bezel's far edges: a display but no button; the strip: neither.
    EXPECT_EQ(kvhost::Locate(v, 336, 256).button, -1);
    EXPECT_EQ(kvhost::Locate(v, 336, 256).display, 0);
    EXPECT_EQ(kvhost::Locate(v, 79, 0).button, 0);
    EXPECT_EQ(kvhost::Locate(v, 80, 0).button, -1);
    EXPECT_EQ(kvhost::Locate(v, 671, 511).button, 11);
    EXPECT_EQ(kvhost::Locate(v, 672, 511).display, 1);
    EXPECT_EQ(kvhost::Locate(v, 10, 520).display, -1);
    EXPECT_EQ(kvhost::Locate(v, 1344, 10).display, -1);
}

TEST_F(FlyViewTest, TheStripTellsTheDateTheWarpAndTheVesselsState) {
    kvhost::World &world = session.world();
    kvhost::StripFacts facts;
    facts.warp = 1000;
    facts.fps = 59.6;
    kvhost::StripLines s = kvhost::StripText(world, facts);
    EXPECT_EQ(s.time, "MJD 61450.5000  2027-02-14 12:00:00  x1000  60 fps");
    EXPECT_EQ(s.vessel, "Courier-1  orbiting Earth");

    kvhost::Vessel &v = world.vessel(world.focus());
    v.status = kvhost::VesselStatus::Crashed;
    v.landedOn = world.FindBody("Moon");
    facts.paused = true;
    facts.pilot = true;
    s = kvhost::StripText(world, facts);
    EXPECT_EQ(s.time.substr(s.time.size() - 8), "  PAUSED");
    EXPECT_EQ(s.vessel, "Courier-1  crashed on Moon  PILOT (any key takes over)");
    v.status = kvhost::VesselStatus::Landed;
    EXPECT_EQ(kvhost::StripText(world, facts).vessel.substr(0, 24), "Courier-1  landed on Moo");
}

TEST(FlyViewText, BackspaceErasesOneWholeCharacter) {
    std::string typed = "9.8\xC3\xA9\xE2\x82\xAC";  // "9.8", e acute (2 bytes), the euro sign (3)
    kvhost::EraseLastCharacter(typed);
    EXPECT_EQ(typed, "9.8\xC3\xA9");
    kvhost::EraseLastCharacter(typed);
    EXPECT_EQ(typed, "9.8");
    kvhost::EraseLastCharacter(typed);
    EXPECT_EQ(typed, "9.");
    typed.clear();
    kvhost::EraseLastCharacter(typed);
    EXPECT_EQ(typed, "");
}

}  // namespace
