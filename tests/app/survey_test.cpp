// The survey's grid: what a grid file may say, the transfers it makes, and the scenario of each,
// loaded as the run loads it, with the ship where the case puts it.
#include <gtest/gtest.h>

#include "host/session/session.h"
#include "host/survey/survey_grid.h"
#include "host/scenario/scenario_write.h"
#include "host/world/frames.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <cstdio>
#include <string>

namespace {

using kvhost::SurveyGrid;

std::string WriteGrid(const std::string &name, const std::string &text) {
    const std::string path = std::string(::testing::TempDir()) + name;
    std::string error;
    EXPECT_TRUE(kvhost::WriteWholeFile(path, text, error)) << error;
    return path;
}

// What the session saves, as text ("" when it cannot save).
std::string SavedText(kvhost::Session &s, const std::string &name) {
    const std::string path = std::string(::testing::TempDir()) + name;
    std::string error;
    if (!s.Save(path, error)) return "";
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SurveyGrid, TheBuiltInGridFliesFortyEightTransfersMixingEveryDimension) {
    const auto cases = kvhost::SurveyCases(kvhost::DefaultSurveyGrid());
    ASSERT_EQ(cases.size(), 48u);
    int retrograde = 0, slow = 0, varying = 0;
    for (const auto &c : cases) {
        EXPECT_NE(c.source, c.target);
        retrograde += c.inclinationDeg > 90;
        slow += c.acceleration < 3;
        varying += c.fps.find('-') != std::string::npos;
    }
    EXPECT_GT(retrograde, 8);
    EXPECT_GT(slow, 8);
    EXPECT_GT(varying, 8);
}

TEST(SurveyGrid, AFileSaysWhatItChangesAndIsRefusedWithTheLineThatIsWrong) {
    kvhost::World w;
    kvhost::World::BuildSolarSystem(w);
    SurveyGrid g;
    std::string error;
    ASSERT_TRUE(kvhost::ReadSurveyGrid(WriteGrid("grid-ok.txt",
                                                 "; two sources\nsources Earth:400 Moon:100\n"
                                                 "targets Mars Moon   ; the Moon from the Earth only\n"
                                                 "phases 0 90\nfps 30 20-40\n"),
                                       w, g, error))
        << error;
    EXPECT_EQ(kvhost::SurveyCases(g).size(), 6u);  // Earth: Mars, Moon; Moon: Mars; two phases each
    EXPECT_EQ(g.accelerations, kvhost::DefaultSurveyGrid().accelerations);  // left out: kept

    const struct {
        const char *text, *says;
    } wrong[] = {{"sources Earth\n", "BODY:HEIGHT"},
                 {"sources Vulcan:300\n", "'Vulcan' is no body"},
                 {"targets Mars\nphases 0 abc\n", ":2: 'abc' is not a number"},
                 {"accelerations 0\n", "from 0.1 to 99.9"},
                 {"accelerations 0.01\n", "from 0.1 to 99.9"},  // the strip would show 0.0
                 {"inclinations 200\n", "from 0 to 180"},
                 {"fps 5\n", "15 to 200"},
                 {"fps 60-30\n", "15 to 200"},
                 {"speed 3\n", "unknown line 'speed'"},
                 {"sources Mars:300\ntargets Mars\n", "no transfer"}};
    for (const auto &c : wrong) {
        EXPECT_FALSE(kvhost::ReadSurveyGrid(WriteGrid("grid-bad.txt", c.text), w, g, error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_FALSE(kvhost::ReadSurveyGrid(std::string(::testing::TempDir()) + "no-such-grid.txt", w, g, error));
}

// Each case's scenario loads and puts the Courier on its circular orbit: the height, the plane
// and the sense of the case, and the display set to the case's target and acceleration.
TEST(SurveyGrid, EachScenarioStartsTheShipOnTheCasesOrbit) {
    kvhost::World sol;
    kvhost::World::BuildSolarSystem(sol);
    kvhost::SurveyCase c;
    c.source = "Mars", c.target = "Venus", c.heightKm = 500, c.phaseDeg = 90, c.inclinationDeg = 150;
    c.acceleration = 4.9;
    const std::string path = WriteGrid("survey-case.scn", kvhost::SurveyScenario(c, sol, 61450.5));
    kvhost::Session s;
    std::string error;
    ASSERT_TRUE(s.Start(path, KAVREX_PLUGIN_PATH, error)) << error;
    const kvhost::Vessel &v = s.world().vessel(s.world().focus());
    const kvhost::Body &mars = s.world().body(s.world().FindBody("Mars"));
    const VECTOR3 r = v.pos - mars.pos, u = v.vel - mars.vel;
    EXPECT_NEAR(length(r) - mars.radius, 500e3, 1);
    EXPECT_NEAR(length(u), std::sqrt(kvhost::kG * mars.mass / length(r)), 0.01);
    const VECTOR3 normal = unit(crossp(r, u));  // the ecliptic's north is +y
    EXPECT_NEAR(std::acos(std::fabs(normal.y)) * 180 / kvhost::kPi, 30, 0.01) << "150 degrees: 30 from the ecliptic";
    const std::string text = SavedText(s, "survey-case-saved.scn");
    EXPECT_NE(text.find("KV_TARGET Venus"), std::string::npos) << text;
    EXPECT_NE(text.find("KV_ARTGEE 4.9"), std::string::npos) << text;
}

// A moon beyond the Moon is on the display's list only with moons switched on (KV_FLAGS 128):
// the survey sets that up as a pilot would, and the display is aimed at it.
TEST(SurveyGrid, AMoonTargetIsListedAndAimedAt) {
    kvhost::World sol;
    kvhost::World::BuildSolarSystem(sol);
    kvhost::SurveyCase c;
    c.source = "Earth", c.target = "Ganymede", c.heightKm = 400;
    EXPECT_NE(kvhost::SurveyScenario(c, sol, 61450.5).find("KV_FLAGS 132"), std::string::npos);
    c.target = "Moon";
    EXPECT_NE(kvhost::SurveyScenario(c, sol, 61450.5).find("KV_FLAGS 4\n"), std::string::npos);
    c.target = "Ganymede";
    const std::string path = std::string(::testing::TempDir()) + "survey-ganymede.scn";
    std::string error;
    ASSERT_TRUE(kvhost::WriteWholeFile(path, kvhost::SurveyScenario(c, sol, 61450.5), error)) << error;
    kvhost::Session s;
    ASSERT_TRUE(s.Start(path, KAVREX_PLUGIN_PATH, error)) << error;
    const std::string text = SavedText(s, "survey-ganymede-saved.scn");
    EXPECT_NE(text.find("KV_TARGET Ganymede"), std::string::npos) << text;
}

}  // namespace
