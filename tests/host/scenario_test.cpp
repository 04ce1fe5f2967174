// Scenario files: what a good file holds, and broken files refused with their line named.
#include <gtest/gtest.h>

#include "host/scenario/scenario.h"
#include "host/scenario/scenario_world.h"
#include "host/scenario/scenario_write.h"
#include "host/world/frames.h"

#include <cstdio>
#include <string>

namespace {

const char *kGood =
    "; a comment line\n"
    "BEGIN_ENVIRONMENT\n"
    "  System Sol\n"
    "  Date MJD 61450.5\n"
    "END_ENVIRONMENT\n"
    "\n"
    "BEGIN_FOCUS\n"
    "  Ship Courier-1\n"
    "END_FOCUS\n"
    "\n"
    "BEGIN_MFD Right\n"
    "  TYPE User\n"
    "  MODE Kavrex\n"
    "  KV_TARGET Mars ; where to\n"
    "  KV_FLAGS 4\n"
    "END_MFD\n"
    "\n"
    "BEGIN_TIMELINE\n"
    "  10 KEY T\n"
    "END_TIMELINE\n"
    "\n"
    "BEGIN_SHIPS\n"
    "Courier-1:Courier\n"
    "  STATUS Orbiting Earth\n"
    "  RPOS 6778000 0 0      ; m\n"
    "  RVEL 0 0 7669\n"
    "  AROT 0 90 0\n"
    "  VROT 0 0 1\n"
    "  PRPLEVEL 0:0.250\n"
    "END\n"
    "END_SHIPS\n";

std::string Replace(std::string text, const std::string &from, const std::string &to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string ParseError(const std::string &text) {
    kvhost::Scenario sc;
    std::string error;
    EXPECT_FALSE(kvhost::ParseScenario(text, "broken.scn", sc, error));
    return error;
}

std::string BuildError(const std::string &text) {
    kvhost::Scenario sc;
    std::string error;
    EXPECT_TRUE(kvhost::ParseScenario(text, "broken.scn", sc, error)) << error;
    kvhost::World world;
    EXPECT_FALSE(kvhost::BuildScenarioWorld(sc, world, error));
    return error;
}

TEST(ScenarioTest, GoodFileGivesItsShipsDisplaysAndOwnSections) {
    kvhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(kvhost::ParseScenario(kGood, "good.scn", sc, error)) << error;
    EXPECT_EQ(sc.mjd, 61450.5);
    EXPECT_EQ(sc.focus, "Courier-1");
    ASSERT_EQ(sc.ships.size(), 1u);
    EXPECT_EQ(sc.ships[0].className, "Courier");
    EXPECT_EQ(sc.ships[0].rvel.z, 7669);
    ASSERT_EQ(sc.displays.size(), 1u);
    EXPECT_EQ(sc.displays[0].slot, 1);
    EXPECT_EQ(sc.displays[0].mode, "Kavrex");
    EXPECT_EQ(sc.displays[0].lines, (std::vector<std::string>{"KV_TARGET Mars", "KV_FLAGS 4"}));
    ASSERT_EQ(sc.otherSections.size(), 1u);
    EXPECT_EQ(sc.otherSections[0].name, "TIMELINE");

    kvhost::World world;
    ASSERT_TRUE(kvhost::BuildScenarioWorld(sc, world, error)) << error;
    const kvhost::Vessel &v = world.vessel(world.focus());
    const kvhost::Body &earth = world.body(world.FindBody("Earth"));
    EXPECT_NEAR(length(v.pos - earth.pos), 6778000, 1e-3);
    EXPECT_NEAR(v.tanks[0].mass, 3000, 1e-9);
    EXPECT_NEAR(v.omega.z, 1 * kvhost::kDeg, 1e-15);
    // AROT 0 90 0 turns the nose (+z) onto global -x.
    EXPECT_NEAR(mul(v.rot, _V(0, 0, 1)).x, -1, 1e-12);
}

// Display blocks are named as the simulator names them: Left, Right, then identifier + 1; a save
// writes them so, and older saves' "0" still reads as Left.
TEST(ScenarioTest, DisplayBlocksAreNamedAsTheSimulatorNamesThem) {
    const struct {
        const char *name;
        int slot;
    } rows[] = {{"Left", 0}, {"right", 1}, {"1", 0}, {"2", 1}, {"3", 2}, {"12", 11}, {"0", 0}};
    for (const auto &row : rows) {
        kvhost::Scenario sc;
        std::string error;
        ASSERT_TRUE(kvhost::ParseScenario(Replace(kGood, "BEGIN_MFD Right", std::string("BEGIN_MFD ") + row.name),
                                          "names.scn", sc, error))
            << error;
        ASSERT_EQ(sc.displays.size(), 1u);
        EXPECT_EQ(sc.displays[0].slot, row.slot) << row.name;
    }
    EXPECT_EQ(kvhost::DisplayBlockName(0), "Left");
    EXPECT_EQ(kvhost::DisplayBlockName(1), "Right");
    EXPECT_EQ(kvhost::DisplayBlockName(2), "3");
    EXPECT_EQ(kvhost::DisplayBlockName(11), "12");
    EXPECT_EQ(ParseError(Replace(kGood, "BEGIN_MFD Right", "BEGIN_MFD Right\n  TYPE User\nEND_MFD\nBEGIN_MFD 2")),
              "broken.scn:14: display Right is given twice (line 11)");
}

TEST(ScenarioTest, BrokenFilesNameTheirLine) {
    EXPECT_EQ(ParseError(Replace(kGood, "  Date MJD 61450.5", "  Date MJD tomorrow")),
              "broken.scn:4: Date must be 'Date MJD <number>' with the number from -1000000 to 400000 (or JD or JE "
              "for the same dates), not 'MJD tomorrow'");
    EXPECT_EQ(ParseError(Replace(kGood, "  RVEL 0 0 7669", "  RVEL 0 0")),
              "broken.scn:26: RVEL needs three numbers from -3e7 to 3e7 m/s, not '0 0'");
    EXPECT_EQ(ParseError(Replace(kGood, "  RVEL 0 0 7669", "  RVEL 0 0 1e999")),
              "broken.scn:26: RVEL needs three numbers from -3e7 to 3e7 m/s, not '0 0 1e999'");
    EXPECT_EQ(ParseError(Replace(kGood, "END\nEND_SHIPS", "END_SHIPS")),
              "broken.scn:30: ship 'Courier-1' has no END line");
    EXPECT_EQ(ParseError(Replace(kGood, "END_FOCUS\n", "")),
              "broken.scn:10: BEGIN_MFD inside BEGIN_FOCUS, which has no END_FOCUS (line 7)");
    EXPECT_EQ(ParseError(Replace(kGood, "BEGIN_MFD Right", "BEGIN_MFD 13")),
              "broken.scn:11: display block '13' is not Left, Right or 3 to 12");
    EXPECT_EQ(ParseError(Replace(kGood, "PRPLEVEL 0:0.250", "PRPLEVEL 0:1.5")),
              "broken.scn:29: PRPLEVEL takes 'tank:level' pairs, a tank from 0 to 63 and a level from 0 to 1, not "
              "'0:1.5'");
}

// Hostile values: each refused with its line and its bound, never read as something else.
TEST(ScenarioTest, ValuesOutsideTheirBoundsAreRefused) {
    EXPECT_EQ(ParseError(Replace(kGood, "PRPLEVEL 0:0.250", "PRPLEVEL 2147483648:0.5")),
              "broken.scn:29: PRPLEVEL takes 'tank:level' pairs, a tank from 0 to 63 and a level from 0 to 1, not "
              "'2147483648:0.5'");
    EXPECT_EQ(ParseError(Replace(kGood, "RPOS 6778000 0 0", "RPOS 1e300 0 0")),
              "broken.scn:25: RPOS needs three numbers from -1e14 to 1e14 m, not '1e300 0 0'");
    EXPECT_EQ(ParseError(Replace(kGood, "Date MJD 61450.5", "Date MJD 1e308")),
              "broken.scn:4: Date must be 'Date MJD <number>' with the number from -1000000 to 400000 (or JD or JE "
              "for the same dates), not 'MJD 1e308'");
    EXPECT_EQ(ParseError(Replace(kGood, "VROT 0 0 1", "VROT 0 0 1e6")),
              "broken.scn:28: VROT needs three numbers from -3600 to 3600 degrees/s, not '0 0 1e6'");
    EXPECT_EQ(ParseError(Replace(kGood, "AROT 0 90 0", "AROT 0 90 nan")),
              "broken.scn:27: AROT needs three numbers from -3600 to 3600 degrees, not '0 90 nan'");
    // A NUL byte inside a number hides nothing after it.
    const std::string nul("\0garbage", 8);
    EXPECT_EQ(ParseError(Replace(kGood, "RVEL 0 0 7669", "RVEL 0 0 7669" + nul)),
              "broken.scn:26: RVEL needs three numbers from -3e7 to 3e7 m/s, not '0 0 7669" + nul + "'");
    EXPECT_EQ(ParseError(Replace(kGood, "  Ship Courier-1\n", "  Ship Courier-1\n  Ship Courier-2\n")),
              "broken.scn:9: the focus is given twice (first on line 8)");
    EXPECT_EQ(ParseError(Replace(kGood, "  Date MJD 61450.5\n", "  Date MJD 61450.5\n  Date MJD 61451\n")),
              "broken.scn:5: Date is given twice (first on line 4)");
    EXPECT_EQ(ParseError(Replace(kGood, "Courier-1:Courier", std::string(500, 'x') + ":Courier")),
              "broken.scn:23: ship name of 500 characters (at most 63)");
    EXPECT_EQ(ParseError(Replace(kGood, "Courier-1:Courier", "Courier-1:" + std::string(200, 'C'))),
              "broken.scn:23: class name of 200 characters (at most 63)");
    // At the bounds themselves: read.
    kvhost::Scenario sc;
    std::string error;
    EXPECT_TRUE(kvhost::ParseScenario(
        Replace(Replace(kGood, "RPOS 6778000 0 0", "RPOS 1e14 -1e14 0"), "PRPLEVEL 0:0.250", "PRPLEVEL 63:1 0:0"),
        "edge.scn", sc, error))
        << error;
}

// The simulator's level lines: a thruster's THLEVEL keeps any number (a negative one gives no
// thrust and is written back as it stood), and of FUEL and PRPLEVEL the later line counts.
TEST(ScenarioTest, LevelLinesReadAndSaveAsTheSimulatorReadsAndSavesThem) {
    const std::string text =
        Replace(kGood, "  PRPLEVEL 0:0.250\n", "  PRPLEVEL 0:0.250\n  FUEL 0.5\n  THLEVEL 0:-0.10147 1:2.5\n");
    kvhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(kvhost::ParseScenario(text, "levels.scn", sc, error)) << error;
    kvhost::World world;
    ASSERT_TRUE(kvhost::BuildScenarioWorld(sc, world, error)) << error;
    const kvhost::Vessel &v = world.vessel(0);
    EXPECT_EQ(v.tanks[0].mass, 0.5 * v.tanks[0].maxMass);  // FUEL came last
    EXPECT_EQ(v.thrusters[0].level, 0.0);
    EXPECT_EQ(v.thrusters[1].level, 1.0);
    const std::string saved = kvhost::ScenarioText(world, {}, {});
    EXPECT_NE(saved.find("  THLEVEL 0:-0.10147 1:2.5\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("FUEL"), std::string::npos) << saved;
    // And the other way round: PRPLEVEL after FUEL.
    ASSERT_TRUE(kvhost::ParseScenario(Replace(kGood, "  PRPLEVEL 0:0.250\n", "  FUEL 0.5\n  PRPLEVEL 0:0.250\n"),
                                      "levels.scn", sc, error));
    kvhost::World again;
    ASSERT_TRUE(kvhost::BuildScenarioWorld(sc, again, error)) << error;
    EXPECT_EQ(again.vessel(0).tanks[0].mass, 0.25 * again.vessel(0).tanks[0].maxMass);
    EXPECT_EQ(ParseError(Replace(kGood, "  PRPLEVEL 0:0.250\n", "  THLEVEL 0:nan\n")),
              "broken.scn:29: THLEVEL takes 'thruster:level' pairs, a thruster from 0 to 255 and a level from -1e9 to "
              "1e9, not '0:nan'");
}

// A line longer than the simulator's readers take is read whole, and said, where the simulator
// would stop at it; a module vessel's own lines have no such bound.
TEST(ScenarioTest, LinesTooLongForTheSimulatorAreSaid) {
    const std::string script = "  Script " + std::string(300, 's') + "\n";
    const std::string own = "  KVNOTE " + std::string(300, 'n') + "\n";
    kvhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(kvhost::ParseScenario(
        Replace(Replace(kGood, "  System Sol\n", "  System Sol\n" + script), "  PRPLEVEL 0:0.250\n", own), "long.scn",
        sc, error))
        << error;
    ASSERT_EQ(sc.warnings.size(), 1u);
    EXPECT_EQ(
        sc.warnings[0],
        "long.scn:4: a line of 309 characters: the simulator reads at most 255 here and stops reading the block at "
        "it (in the ships block, every later ship is left out); the stand-in reads it whole");
}

TEST(ScenarioTest, WorldsThatCannotBeBuiltNameTheirLine) {
    EXPECT_EQ(BuildError(Replace(kGood, "STATUS Orbiting Earth", "STATUS Orbiting Vulcan")),
              "broken.scn:24: no body named 'Vulcan' in system Sol");
    EXPECT_EQ(BuildError(Replace(kGood, "System Sol", "System Alpha")),
              "broken.scn:3: unknown system 'Alpha' (this host has Sol)");
}

TEST(ScenarioTest, ShippedScenariosLoadAndBuild) {
    for (const char *name : {"default.scn", "lunar-orbit.scn"}) {
        kvhost::Scenario sc;
        std::string error;
        ASSERT_TRUE(kvhost::LoadScenarioFile(std::string(KAVREX_SCENARIO_DIR) + "/" + name, sc, error)) << error;
        kvhost::World world;
        EXPECT_TRUE(kvhost::BuildScenarioWorld(sc, world, error)) << error;
        EXPECT_GE(world.focus(), 0);
    }
    kvhost::Scenario sc;
    std::string error;
    EXPECT_FALSE(kvhost::LoadScenarioFile("/nonexistent.scn", sc, error));
    EXPECT_EQ(error, "/nonexistent.scn: cannot open the scenario file (No such file or directory)");
    // A folder is no scenario, and says so instead of loading as one without ships.
    EXPECT_FALSE(kvhost::LoadScenarioFile(KAVREX_SCENARIO_DIR, sc, error));
    EXPECT_EQ(error, std::string(KAVREX_SCENARIO_DIR) + ": a directory, not a scenario file");
    // A device that never ends is read only to the bound, and refused, not read until memory runs out.
    EXPECT_FALSE(kvhost::LoadScenarioFile("/dev/zero", sc, error));
    EXPECT_EQ(error, "/dev/zero: more than 16777216 bytes, too long for a scenario file");
    // A file of exactly the bound is read (and refused by the parser, not by its length).
    const std::string path = ::testing::TempDir() + "kavrex-bound.scn";
    std::FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const std::string line(1023, ';');
    for (size_t n = 0; n < kvhost::kMaxScenarioBytes / 1024; ++n) std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
    std::string text;
    ASSERT_TRUE(kvhost::ReadTextFile(path, "scenario file", kvhost::kMaxScenarioBytes, text, error)) << error;
    EXPECT_EQ(text.size(), kvhost::kMaxScenarioBytes);
    std::remove(path.c_str());
}

}  // namespace
