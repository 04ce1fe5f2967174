// Docked stacks and attached children, as the simulator builds them from a scenario: placed port
// to port, flown as one under a member's engines, saved and read back with the same ships.
#include <gtest/gtest.h>

#include "host/scenario/scenario.h"
#include "host/scenario/scenario_world.h"
#include "host/scenario/scenario_write.h"
#include "host/sim/simulation.h"
#include "host/world/assembly.h"
#include "host/world/frames.h"
#include "host/world/world.h"

#include <memory>
#include <string>

namespace {

using kvhost::Vessel;
using kvhost::World;

std::unique_ptr<World> Load(const std::string &text, std::vector<std::string> *warnings = nullptr) {
    kvhost::Scenario sc;
    std::string error;
    EXPECT_TRUE(kvhost::ParseScenario(text, "stack.scn", sc, error)) << error;
    std::unique_ptr<World> w(new World(sc.mjd));
    EXPECT_TRUE(kvhost::BuildScenarioWorld(sc, *w, error, warnings)) << error;
    return w;
}

std::string Ships(const std::string &ships, const std::string &focus) {
    return "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61450.5\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship " + focus +
           "\nEND_FOCUS\nBEGIN_SHIPS\n" + ships + "END_SHIPS\n";
}

const kvhost::Vessel &Named(const World &w, const char *name) { return w.vessel(w.FindVessel(name)); }

// The glider of the simulator's "Docked at ISS": no state of its own, placed on the station's
// second dock.
const char *kDockedAtIss =
    "ISS:ProjectAlpha_ISS\n  STATUS Orbiting Earth\n  RPOS 6738000 0 0\n  RVEL 0 0 7691\n  AROT 10 20 30\n"
    "  DOCKINFO 1:0,GL-02\nEND\n"
    "GL-02:DeltaGlider\n  STATUS Orbiting Earth\n  FUEL 1.000\n  DOCKINFO 0:1,ISS\nEND\n";

TEST(Stacks, TwoDocksMeetAsTheSimulatorJoinsThem) {
    kvhost::ClassPorts iss, dg, sh;
    ASSERT_TRUE(kvhost::FindClassPorts("ProjectAlpha_ISS", iss));
    ASSERT_TRUE(kvhost::FindClassPorts("DeltaGlider", dg));
    ASSERT_TRUE(kvhost::FindClassPorts("ShuttleA", sh));
    MATRIX3 rot;
    VECTOR3 offset;
    kvhost::MatedPose(iss.docks[1], dg.docks[0], rot, offset);
    const double rows[9] = {-1, 0, 0, 0, 0, 1, 0, 1, 0};
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(rot.data[k], rows[k], 1e-15);
    EXPECT_NEAR(offset.x, 0.09, 1e-12);
    EXPECT_NEAR(offset.y, -27.976, 1e-12);
    EXPECT_NEAR(offset.z, -3.31, 1e-12);
    kvhost::MatedPose(iss.docks[1], sh.docks[0], rot, offset);
    EXPECT_NEAR(offset.y, -36.577, 1e-12);
    EXPECT_NEAR(offset.z, -3.8, 1e-12);
    // A payload on the Shuttle-A's first cargo point: level with it, 2.079 m out, 3.78 m on.
    kvhost::ClassPorts pl;
    ASSERT_TRUE(kvhost::FindClassPorts("ShuttleA_pl", pl));
    kvhost::MatedPose(sh.forChildren[0], pl.toParent[0], rot, offset);
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(rot.data[k], k % 4 == 0 ? 1.0 : 0.0, 1e-15);
    EXPECT_NEAR(offset.x, 2.079, 1e-12);
    EXPECT_NEAR(offset.z, 3.78, 1e-12);
}

TEST(Stacks, AGliderDockedAtTheStationFliesItAndSavesBack) {
    std::unique_ptr<World> w = Load(Ships(kDockedAtIss, "GL-02"));
    const Vessel &iss = Named(*w, "ISS"), &gl = Named(*w, "GL-02");
    const VECTOR3 placed = iss.pos + mul(iss.rot, _V(0.09, -27.976, -3.31));
    EXPECT_LT(length(gl.pos - placed), 1e-4) << "the glider is on the station's dock, not at the Earth";
    EXPECT_EQ(gl.status, kvhost::VesselStatus::Flying);
    // The glider's main engines push the whole 474.5 t stack: a = F / m.
    Vessel &glider = w->vessel(w->FindVessel("GL-02"));
    const double thrust = [&] {
        double f = 0;
        for (int i : glider.groups[THGROUP_MAIN]) f += glider.thrusters[i].spec.max0;
        return f;
    }();
    const double stackMass = 450e3 + glider.Mass();
    std::unique_ptr<World> coasting = Load(Ships(kDockedAtIss, "GL-02"));
    for (int i : glider.groups[THGROUP_MAIN]) kvhost::SetThrusterLevel(glider, i, 1);
    kvhost::Simulation sim(*w, {}), still(*coasting, {});
    sim.Run(60);
    still.Run(60);
    const Vessel &stationAfter = Named(*w, "ISS");
    // What the burn added, against the same stack coasting: along the glider's nose, F / m.
    const VECTOR3 added = stationAfter.vel - Named(*coasting, "ISS").vel;
    const double expected = thrust / stackMass * sim.simt();
    EXPECT_NEAR(dotp(added, mul(glider.rot, _V(0, 0, 1))), expected, 0.01 * expected);
    EXPECT_NEAR(length(added), expected, 0.01 * expected);
    EXPECT_LT(length(glider.pos - (stationAfter.pos + mul(stationAfter.rot, _V(0.09, -27.976, -3.31)))), 1e-4);
    // Saved and read back: the same ships, the glider still on its dock.
    const std::string text = kvhost::ScenarioText(*w, {}, {});
    std::unique_ptr<World> again = Load(text);
    ASSERT_EQ(again->VesselCount(), 2);
    EXPECT_LT(length(Named(*again, "GL-02").pos - glider.pos), 0.01) << text;
    EXPECT_LT(length(Named(*again, "ISS").pos - stationAfter.pos), 0.01);
    // The station deleted: the glider lets go of it and flies on alone.
    ASSERT_TRUE(w->DeleteVessel(w->FindVessel("ISS")));
    sim.Run(10);
    EXPECT_EQ(w->vessel(0).name, "GL-02");
    EXPECT_EQ(w->vessel(0).mooring.leader, -1);
}

TEST(Stacks, AChainKeepsThePoseOfTheGroupThatAbsorbsTheOther) {
    // The simulator's dumbbell: GL-01 takes m3, GL-02 takes m1, m1 adds m2, and m2 merges
    // GL-01's pair into GL-02's group, which keeps its pose.
    const std::string ships =
        "GL-01:DeltaGlider\n  STATUS Orbiting Earth\n  RPOS 6738000 0 0\n  RVEL 0 0 7691\n  DOCKINFO 0:1,m3\nEND\n"
        "GL-02:DeltaGlider\n  STATUS Orbiting Earth\n  RPOS 6738000 0 100\n  RVEL 0 0 7691\n  DOCKINFO 0:1,m1\nEND\n"
        "m1:Module1\n  STATUS Orbiting Earth\n  DOCKINFO 0:0,m2 1:0,GL-02\nEND\n"
        "m2:Module1\n  STATUS Orbiting Earth\n  DOCKINFO 0:0,m1 1:0,m3\nEND\n"
        "m3:Module1\n  STATUS Orbiting Earth\n  DOCKINFO 0:1,m2 1:0,GL-01\nEND\n";
    std::unique_ptr<World> w = Load(Ships(ships, "GL-02"));
    const Vessel &gl2 = Named(*w, "GL-02");
    EXPECT_LT(length(gl2.pos - (w->body(w->FindBody("Earth")).pos + _V(6738000, 0, 100))), 1e-6);
    // Every module 10 m long, end to end from GL-02's nose dock: GL-01 nose to nose 30 m on.
    const Vessel &gl1 = Named(*w, "GL-01");
    EXPECT_NEAR(length(gl1.pos - gl2.pos), 2 * 10.076 + 30, 1e-4);
    for (const char *m : {"m1", "m2", "m3"}) EXPECT_EQ(Named(*w, m).mooring.leader, w->FindVessel("GL-02")) << m;
}

TEST(Stacks, PayloadsRideAtTheirParentsPointsOnTheGroundAndAreSavedThere) {
    std::string ships =
        "SH-03:ShuttleA\n  STATUS Landed Moon\n  POS -33.4375 41.1184\n  HEADING 20\n  PRPLEVEL 0:1 1:1\nEND\n";
    for (int i = 0; i < 6; ++i)
        ships += "SH-PL0" + std::to_string(i + 1) + ":ShuttleA_pl\n  STATUS Orbiting Moon\n  ATTACHED " +
                 std::to_string(i < 3 ? 0 : 1) + ":" + std::to_string(i) + ",SH-03\nEND\n";
    std::vector<std::string> warnings;
    std::unique_ptr<World> w = Load(Ships(ships, "SH-03"), &warnings);
    const Vessel &sh = Named(*w, "SH-03");
    const kvhost::Body &moon = w->body(w->FindBody("Moon"));
    kvhost::Simulation sim(*w, {});
    sim.Run(120);
    for (int i = 0; i < w->VesselCount(); ++i) {
        const Vessel &v = w->vessel(i);
        EXPECT_GT(length(v.pos - moon.pos), moon.radius) << v.name << " is inside the Moon";
        EXPECT_LT(length(v.pos - sh.pos), 10) << v.name;
        EXPECT_EQ(v.status, kvhost::VesselStatus::Landed) << v.name;
    }
    EXPECT_LT(length(Named(*w, "SH-PL01").pos - (sh.pos + mul(sh.rot, _V(2.079, 0, 3.78)))), 1e-4);
    // Saved as the simulator saves them: on the ground with their ATTACHED lines; read back in place.
    const std::string text = kvhost::ScenarioText(*w, {}, {});
    EXPECT_NE(text.find("SH-PL04:ShuttleA_pl\n  STATUS Landed Moon\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  ATTACHED 1:3,SH-03\n"), std::string::npos) << text;
    std::unique_ptr<World> again = Load(text);
    ASSERT_EQ(again->VesselCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_LT(length(again->vessel(i).pos - w->vessel(i).pos), 0.01) << w->vessel(i).name;
}

// A vessel whose ports the stand-in does not know (the Courier, its own class) sits beside its
// partner and flies on its own, with a warning that names the cause.
TEST(Stacks, AMateWithoutKnownPortsSitsBesideItsPartner) {
    const std::string ships =
        "ISS:ProjectAlpha_ISS\n  STATUS Orbiting Earth\n  RPOS 6738000 0 0\n  RVEL 0 0 7691\n"
        "  DOCKINFO 1:0,Courier-2\nEND\n"
        "Courier-2:Courier\n  STATUS Orbiting Earth\n  PRPLEVEL 0:1\nEND\n";
    std::vector<std::string> warnings;
    std::unique_ptr<World> w = Load(Ships(ships, "Courier-2"), &warnings);
    ASSERT_EQ(warnings.size(), 2u);  // the station's class, and the mate beside it
    EXPECT_NE(warnings[1].find("Courier-2 is of class 'Courier', whose ports the stand-in does not know: Courier-2 "
                               "flies on its own beside ISS"),
              std::string::npos)
        << warnings[1];
    const Vessel &c = Named(*w, "Courier-2"), &iss = Named(*w, "ISS");
    EXPECT_NEAR(length(c.pos - iss.pos), iss.size + c.size, 1e-3);
    EXPECT_EQ(length(c.vel - iss.vel), 0.0);
    EXPECT_EQ(c.mooring.leader, -1);
}

}  // namespace
