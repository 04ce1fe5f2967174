// The simulator's own scenario files: its grammar read and written back, its stock vessels
// built by its figures, a class the stand-in does not build carried as a passive body.
#include <gtest/gtest.h>

#include "host/app/commands.h"
#include "host/session/session.h"
#include "host/cockpit/cockpit.h"
#include "host/scenario/scenario.h"
#include "host/scenario/scenario_world.h"
#include "host/sim/simulation.h"
#include "host/world/frames.h"
#include "host/world/navmodes.h"
#include "host/world/scenes.h"
#include "host/world/stock_classes.h"
#include "host/world/vessel_classes.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kGrammar = std::string(KAVREX_TEST_DATA_DIR) + "/simulator-grammar.scn";

std::string ReadAll(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Has(const std::string &text, const std::string &what) { return text.find(what) != std::string::npos; }

TEST(SimulatorScenario, ItsGrammarLoadsWithTheStockShipsWhereTheFilePutsThem) {
    kvhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(kvhost::LoadScenarioFile(kGrammar, sc, error)) << error;
    kvhost::World w;
    std::vector<std::string> warnings;
    ASSERT_TRUE(kvhost::BuildScenarioWorld(sc, w, error, &warnings)) << error;
    ASSERT_EQ(w.VesselCount(), 4);
    // The Delta-glider stands on its gear where POS puts it, carried round by the turning Earth
    // (2 pi 6371 km cos 23 degrees a sidereal day).
    const kvhost::Vessel &gl = w.vessel(w.FindVessel("GL-01"));
    EXPECT_EQ(gl.status, kvhost::VesselStatus::Landed);
    EXPECT_NEAR(kvhost::RelativeTo(w, gl, w.FindBody("Earth")).altitude, 2.459, 1e-3);
    EXPECT_NEAR(kvhost::RelativeTo(w, gl, w.FindBody("Earth")).speed, 427.65, 0.01);
    EXPECT_NEAR(gl.Mass(), 11000 + 12900 + 600, 1e-6);
    // The Shuttle-A's main engine runs at the THLEVEL the file gives it.
    const kvhost::Vessel &sh = w.vessel(w.FindVessel("SH-01"));
    EXPECT_EQ(sh.thrusters[0].level, 0.5);
    EXPECT_EQ(sh.thrusters[1].level, 0.0);
    // Mir: a class the stand-in does not build, a passive body of the simulator's mass.
    const kvhost::Vessel &mir = w.vessel(w.FindVessel("Mir"));
    EXPECT_TRUE(mir.passive);
    EXPECT_EQ(mir.className, "Mir");
    EXPECT_EQ(mir.Mass(), 124340);
    EXPECT_TRUE(mir.thrusters.empty());
    // The Shuttle-PB on its ELEMENTS: 6778.137 km from the centre, 51.6 degrees to the ecliptic,
    // its tank empty since no PRPLEVEL fills it.
    const kvhost::Vessel &pb = w.vessel(w.FindVessel("PB-01"));
    const kvhost::Body &earth = w.body(w.FindBody("Earth"));
    const VECTOR3 r = pb.pos - earth.pos, u = pb.vel - earth.vel;
    EXPECT_NEAR(length(r), 6778137.0, 1);
    EXPECT_NEAR(length(u), std::sqrt(kvhost::kG * earth.mass / length(r)), 0.01);
    // In the simulator's left-handed axes r x v of a prograde orbit points to the south (-y).
    EXPECT_NEAR(std::acos(-unit(crossp(r, u)).y) * 180 / kvhost::kPi, 51.6, 1e-6);
    EXPECT_EQ(pb.PropellantMass(), 0);
    // Said once: the class it does not build.
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(Has(warnings[0], "simulator-grammar.scn:") && Has(warnings[0], "'Mir'") &&
                Has(warnings[0], "passive body"))
        << warnings[0];
    // PB-01's DOCKINFO docks it to SH-01: PB-01 keeps its pose (the first of the pair to name
    // the other), the Shuttle-A is placed on it, dock to dock, facing it, and flies with it.
    const kvhost::Vessel &shuttle = w.vessel(w.FindVessel("SH-01"));
    const VECTOR3 pbDock = pb.pos + mul(pb.rot, _V(0, 1.3, -1)),
                  shDock = shuttle.pos + mul(shuttle.rot, _V(0, 0, 18.677));
    EXPECT_LT(length(pbDock - shDock), 1e-6);
    EXPECT_NEAR(dotp(mul(pb.rot, _V(0, 1, 0)), mul(shuttle.rot, _V(0, 0, 1))), -1, 1e-12);
    EXPECT_EQ(length(shuttle.vel - pb.vel), 0.0);
}

TEST(SimulatorScenario, OrbitalElementsOutsideAnEllipseAreRefusedWithTheirLine) {
    const std::string ship = "BEGIN_SHIPS\nPB:ShuttlePB\n  STATUS Orbiting Earth\n  ELEMENTS ";
    for (const char *bad : {"6778137 1.5 51.6 0 0 0 51982", "-6778137 0.1 0 0 0 0 51982", "6778137 0.1 0 0 0 0",
                            "6778137 0.1 0 0 0 0 51982 7", "6778137 nan 0 0 0 0 51982"}) {
        kvhost::Scenario sc;
        std::string error;
        EXPECT_FALSE(kvhost::ParseScenario(ship + bad + "\nEND\nEND_SHIPS\n", "elements.scn", sc, error)) << bad;
        EXPECT_TRUE(Has(error, "elements.scn:4: ELEMENTS takes a (1 to 1e14 m), e (0 to 0.99)")) << error;
    }
}

// What the simulator passes over, the stand-in passes over too, saying so: a stray line outside
// the blocks, a ship without STATUS (placed about the Sun), a display of another module's mode
// (left closed, its block saved again as it was).
TEST(SimulatorScenario, WhatTheSimulatorPassesOverIsPassedOverAndKept) {
    const std::string text =
        "stray words\nBEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 51544.5\nEND_ENVIRONMENT\n"
        "BEGIN_MFD Left\n  TYPE User\n  MODE TransX\n  Stage 1\nEND_MFD\n"
        "BEGIN_SHIPS\nGL:DeltaGlider\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n"
        "  RVEL 0 0 7500\n  PRPLEVEL 0:1\nEND\nLost:ShuttlePB\n  RPOS 0 0 0\nEND\nEND_SHIPS\n";
    const std::string in = std::string(::testing::TempDir()) + "passed-over.scn";
    const std::string out = std::string(::testing::TempDir()) + "passed-over-saved.scn";
    {
        std::ofstream f(in);
        f << text;
    }
    kvhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(kvhost::LoadScenarioFile(in, sc, error)) << error;
    ASSERT_EQ(sc.warnings.size(), 2u);
    EXPECT_TRUE(Has(sc.warnings[0], "passed-over.scn:1: 'stray' outside any section")) << sc.warnings[0];
    EXPECT_TRUE(Has(sc.warnings[1], "ship 'Lost' has no STATUS line: it orbits the Sun")) << sc.warnings[1];
    kvhost::Session s;
    ASSERT_TRUE(s.Start(in, KAVREX_PLUGIN_PATH, error)) << error;
    EXPECT_EQ(kvhost::Slot(0).instance, nullptr) << "no TransX display in the stand-in";
    const kvhost::Vessel &lost = s.world().vessel(1);
    EXPECT_NEAR(kvhost::RelativeTo(s.world(), lost, 0).altitude, 0, 1) << "lifted out to the Sun's surface";
    ASSERT_TRUE(s.Save(out, error)) << error;
    EXPECT_TRUE(Has(ReadAll(out), "BEGIN_MFD Left\n  TYPE User\n  MODE TransX\n  Stage 1\nEND_MFD")) << ReadAll(out);
}

// A timeline presses the cockpit's navigation-mode keys as a pilot does: NAV PROGRADE turns the
// Courier of the default scenario onto its velocity, a second NAV PROGRADE lets go.
TEST(SimulatorScenario, TheTimelinePressesTheNavigationModeKeys) {
    std::string text = ReadAll(std::string(KAVREX_SCENARIO_DIR) + "/default.scn");
    text.replace(text.find("AROT 0 0 0"), 10, "AROT 0 90 0");  // the nose across the velocity
    text += "\nBEGIN_TIMELINE\n  0 NAV PROGRADE\n  300 NAV PROGRADE\nEND_TIMELINE\n";
    const std::string in = std::string(::testing::TempDir()) + "nav.scn";
    {
        std::ofstream f(in);
        f << text;
    }
    kvhost::CommandLine cl;
    cl.command = "run";
    cl.plugin = KAVREX_PLUGIN_PATH;
    cl.scenario = in;
    cl.steps = 299 * 6;  // 299 s at warp 10
    cl.stepsGiven = true;
    cl.warp = 10;
    cl.out = std::string(::testing::TempDir()) + "nav";
    ASSERT_EQ(kvhost::RunFlight(cl), 0);
    kvhost::Session s;
    std::string error;
    ASSERT_TRUE(s.Start(cl.out + "/final.scn", KAVREX_PLUGIN_PATH, error)) << error;
    const kvhost::Vessel &v = s.world().vessel(s.world().focus());
    const VECTOR3 along = unit(v.vel - s.world().body(v.gravityRef).vel);
    EXPECT_LT(std::acos(std::fmin(1.0, dotp(mul(v.rot, _V(0, 0, 1)), along))) * 180 / kvhost::kPi, 1.0);
}

// A focus named where no ship was read (the ships' block broken): no focus, and no vessel 0.
TEST(SimulatorScenario, AFocusWithoutShipsLeavesNoFocus) {
    kvhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(kvhost::ParseScenario("BEGIN_FOCUS\n  Ship Courier-1\nEND_FOCUS\nBE;GIN_SHIPS\nEND_SHIPS\n", "none.scn",
                                      sc, error))
        << error;
    kvhost::World w;
    ASSERT_TRUE(kvhost::BuildScenarioWorld(sc, w, error)) << error;
    EXPECT_EQ(w.VesselCount(), 0);
    EXPECT_EQ(w.focus(), -1);
}

TEST(SimulatorScenario, DatesInEachOfTheSimulatorsForms) {
    const struct {
        const char *line;
        double mjd;
    } dates[] = {{"Date MJD 51544.5", 51544.5},
                 {"Date JD 2451545.0", 51544.5},
                 {"Date JE 2000.0", 51544.5},
                 {"Date JE 2001.0", 51909.75}};
    for (const auto &d : dates) {
        kvhost::Scenario sc;
        std::string error;
        const std::string text =
            std::string("BEGIN_ENVIRONMENT\n  System Sol\n  ") + d.line + "\n  Playback x\nEND_ENVIRONMENT\n";
        ASSERT_TRUE(kvhost::ParseScenario(text, "date.scn", sc, error)) << error;
        EXPECT_DOUBLE_EQ(sc.mjd, d.mjd) << d.line;
        EXPECT_EQ(sc.environmentLines, std::vector<std::string>{"Playback x"});
    }
}

// Flown through the plug-in, saved, loaded and saved again: the same text, and everything the
// stand-in only keeps is in it as the file had it, in the simulator's order.
TEST(SimulatorScenario, SavedFilesLoadAgainUnchangedAndKeepWhatTheStandInDoesNotUse) {
    const std::string first = std::string(::testing::TempDir()) + "grammar-1.scn";
    const std::string second = std::string(::testing::TempDir()) + "grammar-2.scn";
    std::string error;
    {
        kvhost::Session s;
        ASSERT_TRUE(s.Start(kGrammar, KAVREX_PLUGIN_PATH, error)) << error;
        s.simulation().Run(60);
        ASSERT_TRUE(s.Save(first, error)) << error;
    }
    {
        kvhost::Session s;
        ASSERT_TRUE(s.Start(first, KAVREX_PLUGIN_PATH, error)) << error;
        ASSERT_TRUE(s.Save(second, error)) << error;
    }
    const std::string text = ReadAll(first);
    EXPECT_EQ(text, ReadAll(second));
    for (const char *kept :
         {"BEGIN_DESC\nA test in the simulator's own words.\nEND_DESC", "  Script ScenarioScripts/foo.lua",
          "  Context Test", "  BEGIN_PRESET\n    Cockpit:GL-01:30.00\n  END_PRESET", "BEGIN_HUD\n  TYPE Surface",
          "BEGIN_MFD Left\n  TYPE Surface\n  SPDMODE 1\nEND_MFD", "  TYPE Map\n  REF Earth\n  ZOOM 2",
          "BEGIN_PANEL\nEND_PANEL",
          "GL-01:DeltaGlider\n  STATUS Landed Earth\n  BASE Habana:1\n"
          "  POS -82.4000000 23.0000000\n  HEADING 60.00",
          "  GEAR 1 1.0000\n  AAP 0:0 0:0 0:0", "  THLEVEL 0:0.5", "  PODANGLE 0.0000 0.0000",
          "\nMir:Mir\n  STATUS Orbiting Earth", "  IDS 0:588 100\n  NAVFREQ 0 0\nEND", "  DOCKINFO 0:0,SH-01",
          "BEGIN_ExtMFD\n  BEGIN_MFD 1\n    TYPE Orbit\n  END_MFD\nEND"})
        EXPECT_TRUE(Has(text, kept)) << "lost: " << kept << "\n" << text;
    const size_t desc = text.find("BEGIN_DESC"), env = text.find("BEGIN_ENVIRONMENT"), cam = text.find("BEGIN_CAMERA"),
                 mfd = text.find("BEGIN_MFD"), ships = text.find("BEGIN_SHIPS"), ext = text.find("BEGIN_ExtMFD");
    EXPECT_TRUE(desc < env && env < cam && cam < mfd && mfd < ships && ships < ext) << text;
}

// The stock classes by the simulator's figures: full masses, main thrust, tanks feeding their
// engines, attitude thrusters shared between a rotation and a translation group.
TEST(SimulatorScenario, StockClassesCarryTheSimulatorsFigures) {
    kvhost::VesselClass c;
    ASSERT_TRUE(kvhost::FindVesselClass("Deltaglider", c));  // the spelling four stock files use
    kvhost::Vessel dg = kvhost::MakeVessel("GL", c);
    EXPECT_EQ(dg.className, "Deltaglider");
    EXPECT_EQ(dg.thrusters.size(), 21u);
    EXPECT_EQ(dg.Mass(), 24500);
    EXPECT_EQ(dg.groups[THGROUP_ATT_PITCHUP], (std::vector<int>{7, 8}));
    EXPECT_EQ(dg.groups[THGROUP_ATT_UP], (std::vector<int>{7, 10}));
    double mainThrust = 0;
    for (int i : dg.groups[THGROUP_MAIN]) mainThrust += dg.thrusters[i].spec.max0;
    EXPECT_EQ(mainThrust, 3.2e5);
    ASSERT_TRUE(kvhost::FindVesselClass("DG-S", c));
    kvhost::Vessel dgs = kvhost::MakeVessel("GS", c);
    EXPECT_EQ(dgs.thrusters.size(), 23u);
    EXPECT_EQ(dgs.tanks[1].maxMass, 10400);
    EXPECT_EQ(dgs.thrusters[dgs.groups[THGROUP_MAIN][0]].spec.tank, 1);
    ASSERT_TRUE(kvhost::FindVesselClass("ShuttlePB", c));
    kvhost::Vessel pb = kvhost::MakeVessel("PB", c);
    EXPECT_EQ(pb.groups[THGROUP_ATT_BANKLEFT], (std::vector<int>{2, 5, 6, 9}));
    EXPECT_TRUE(pb.groups[THGROUP_RETRO].empty());
    ASSERT_TRUE(kvhost::FindVesselClass("ShuttleA", c));
    kvhost::Vessel sa = kvhost::MakeVessel("SA", c);
    EXPECT_EQ(sa.Mass(), 13000 + 71500 + 2700);
    EXPECT_FALSE(kvhost::FindVesselClass("Gunship", c));
}

// Each class the host builds turns the way its groups are named: the cockpit's prograde hold, worked
// through the class's own attitude thrusters, settles each of them on its velocity.
TEST(SimulatorScenario, StockClassesHoldTheirAttitudeWithTheirOwnThrusters) {
    int count = 0;
    const kvhost::VesselClassEntry *table = kvhost::VesselClassTable(count);
    for (int i = 0; i < count; ++i) {
        const char *name = table[i].name;
        if (!table[i].build) continue;  // a passive class has no thrusters to turn with
        kvhost::World w;
        kvhost::SetCurrentWorld(&w);
        w.AddBody(kvhost::DriftingBody("Earth", 5.97237e24, 6.371e6, _V(0, 0, 0), _V(0, 0, 0)));
        kvhost::VesselClass c;
        ASSERT_TRUE(kvhost::FindVesselClass(name, c));
        scenes::AddShipInOrbit(w, name, 0, 400e3, c);
        kvhost::Vessel &v = w.vessel(0);
        v.rot = kvhost::RotationFromEuler(_V(1.0, -0.5, 2.0));
        kvhost::SetNavmode(v, kvhost::kNavPrograde, true);
        kvhost::Simulation sim(w, {});
        for (long i = 0; i < static_cast<long>(400 / sim.frameLength()); ++i) sim.Frame();
        const double off = std::acos(std::fmin(1.0, dotp(mul(v.rot, _V(0, 0, 1)), unit(v.vel)))) * 180 / kvhost::kPi;
        std::printf("[ measured ] %s prograde after 400 s: %.3f deg off\n", name, off);
        EXPECT_LT(off, 1.0) << name;
        kvhost::SetCurrentWorld(nullptr);
    }
}

}  // namespace
