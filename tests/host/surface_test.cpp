// Turning bodies, ships standing on them and the bases they stand at, against the worked values
// of the simulator's own model.
#include <gtest/gtest.h>

#include "host/scenario/scenario.h"
#include "host/scenario/scenario_world.h"
#include "host/scenario/scenario_write.h"
#include "host/sim/simulation.h"
#include "host/world/bases.h"
#include "host/world/frames.h"
#include "host/world/world.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using kvhost::World;

struct WorkedAxes {
    const char *body;
    double mjd, angle;
    double rows[9];
};

// The simulator's rotation matrices of four bodies at three dates, ten decimals.
const WorkedAxes kWorked[] = {
    {"Earth",
     51544.5,
     4.8894875400,
     {0.1761742600, 0.0000000000, 0.9843589945, 0.3915555195, 0.9174820628, -0.0700780958, -0.9031317209, 0.3977771542,
      0.1616367235}},
    {"Earth",
     61450.5,
     5.6525915087,
     {0.8040828825, 0.0026301768, 0.5945113963, 0.2345391395, 0.9174820628, -0.3212756704, -0.5462985540, 0.3977684585,
      0.7371147423}},
    {"Earth",
     51982.6721309641,
     0.9423542788,
     {0.5881022258, 0.0001163415, -0.8087865964, -0.3217795960, 0.9174820628, -0.2338472920, 0.7420199887, 0.3977771372,
      0.5396106796}},
    {"Moon",
     51544.5,
     4.7721338235,
     {0.7842671845, -0.0220715100, -0.6200305087, 0.0268623412, 0.9996378508, -0.0016067986, 0.6198414296,
      -0.0153953117, 0.7845760553}},
    {"Moon",
     61450.5,
     4.9408561581,
     {-0.4487442935, 0.0172392875, 0.8934939094, 0.0262496161, 0.9996367850, -0.0061037467, -0.8932746032, 0.0207148506,
      -0.4490338275}},
    {"Mars",
     51544.5,
     5.5112595996,
     {-0.7067495971, 0.4461595611, 0.5490415768, 0.3136031894, 0.8932301475, -0.3221691221, -0.6341593227,
      -0.0555117076, -0.7712071082}},
    {"Mars",
     61450.5,
     1.6017352048,
     {0.8897086111, 0.4461232266, 0.0969157059, -0.4494001208, 0.8932223064, 0.0139083736, -0.0803624218, -0.0559283297,
      0.9951954095}},
    {"Triton",
     51544.5,
     4.5265814638,
     {-0.5098118907, 0.3637629762, -0.7795949802, 0.4827468828, 0.8710458334, 0.0907447143, 0.7120725266, -0.3300843122,
      -0.6196749661}},
};

TEST(TurningBodies, RotationMatricesMatchTheSimulatorsAtEveryWorkedDate) {
    for (const WorkedAxes &w : kWorked) {
        World world(w.mjd);
        World::BuildSolarSystem(world);
        kvhost::SetCurrentWorld(&world);
        const int b = world.FindBody(w.body);
        ASSERT_GE(b, 0) << w.body;
        MATRIX3 m;
        oapiGetRotationMatrix(world.BodyHandle(b), &m);
        for (int k = 0; k < 9; ++k)
            EXPECT_NEAR(m.data[k], w.rows[k], 2e-10) << w.body << " " << w.mjd << " [" << k << "]";
        EXPECT_NEAR(world.body(b).Axes().angle, w.angle, 2e-10) << w.body << " " << w.mjd;
        kvhost::SetCurrentWorld(nullptr);
    }
}

TEST(TurningBodies, AxesDoNotDependOnTheStartAndFollowTheClock) {
    // Started at J2000 and flown to MJD 51544.5 + 10 days in one-minute frames, the Earth's and
    // Mars's axes are those of a world started at that date.
    World flown(51544.5), started(51554.5);
    World::BuildSolarSystem(flown);
    World::BuildSolarSystem(started);
    for (int i = 0; i < 14400; ++i) flown.Advance(60);
    for (const char *name : {"Earth", "Mars", "Moon"}) {
        const int b = flown.FindBody(name);
        for (int k = 0; k < 9; ++k)
            EXPECT_NEAR(flown.body(b).Axes().rot.data[k], started.body(b).Axes().rot.data[k], 1e-9) << name;
    }
}

TEST(TurningBodies, TheIntermediateAnglesAreTheSimulators) {
    World j2000(51544.5), later(61450.5);
    World::BuildSolarSystem(j2000);
    World::BuildSolarSystem(later);
    const kvhost::BodyAxes earth = later.body(later.FindBody("Earth")).Axes();
    EXPECT_NEAR(earth.obliquity, 0.4090928023, 1e-10);
    EXPECT_NEAR(earth.node, -0.0066122348, 1e-10);
    const kvhost::BodyAxes moon = j2000.body(j2000.FindBody("Moon")).Axes();
    EXPECT_NEAR(moon.obliquity, 0.0269136034, 1e-10);
    EXPECT_NEAR(moon.node, 2.1798556770, 1e-10);
    // The Sun does not turn, and a body of a test world neither.
    const int sun = j2000.FindBody("Sun");
    for (int k = 0; k < 9; ++k) EXPECT_EQ(j2000.body(sun).Axes().rot.data[k], k % 4 == 0 ? 1.0 : 0.0);
}

// A scenario of one landed ship: its lines after STATUS, at a date.
std::string LandedShip(const std::string &cls, const std::string &body, const std::string &lines, double mjd) {
    char date[64];
    std::snprintf(date, sizeof date, "%.10f", mjd);
    return std::string("BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD ") + date +
           "\nEND_ENVIRONMENT\nBEGIN_SHIPS\nShip-1:" + cls + "\n  STATUS Landed " + body + "\n" + lines +
           "END\nEND_SHIPS\n";
}

struct Loaded {
    std::unique_ptr<World> world;
    std::vector<std::string> warnings;
    std::string error;
    bool ok = false;
};

Loaded Load(const std::string &text) {
    Loaded l;
    kvhost::Scenario sc;
    if (!kvhost::ParseScenario(text, "test.scn", sc, l.error)) return l;
    l.world.reset(new World(sc.mjd));
    l.ok = kvhost::BuildScenarioWorld(sc, *l.world, l.error, &l.warnings);
    return l;
}

void ExpectRows(const MATRIX3 &m, const double rows[9], double tolerance) {
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(m.data[k], rows[k], tolerance) << "[" << k << "]";
}

TEST(LandedShips, StandWhereTheSimulatorPutsThemAndMoveWithTheSurface) {
    // The DG-S of the simulator's "DG and DG-S" scenario: its place, speed and attitude.
    Loaded dg = Load(LandedShip(
        "DG-S", "Earth", "  POS -80.67985 28.59957\n  ALT 2.459\n  AROT -128.488 46.878 167.451\n", 51982.6721309641));
    ASSERT_TRUE(dg.ok) << dg.error;
    const World &w = *dg.world;
    const kvhost::Vessel &v = w.vessel(0);
    const kvhost::Body &earth = w.body(w.FindBody("Earth"));
    const VECTOR3 rpos = v.pos - earth.pos, rvel = v.vel - earth.vel;
    EXPECT_NEAR(rpos.x, 4997472.594, 2e-3);
    EXPECT_NEAR(rpos.y, 3797349.400, 2e-3);
    EXPECT_NEAR(rpos.z, -1093254.294, 2e-3);
    EXPECT_NEAR(rvel.x, 183.2902, 1e-3);
    EXPECT_NEAR(rvel.y, -144.9678, 1e-3);
    EXPECT_NEAR(rvel.z, 334.3179, 1e-3);
    EXPECT_NEAR(length(rvel), 407.8964, 1e-3);
    const double dgRows[9] = {-0.61338336, 0.78517067,  -0.08525178, 0.78649808, 0.59742305,
                              -0.15654543, -0.07198350, -0.16307272, -0.98398459};
    ExpectRows(v.rot, dgRows, 1e-7);

    // A ship with no touchdown height on Habana's first pad, level, heading 22 degrees, at J2000
    // and at MJD 61450.5.
    struct Pad {
        double mjd, rpos[3], rvel[3], rows[9];
    } pads[] = {{51544.5,
                 {-5585484.555, 2994953.612, -649910.432},
                 {130.3542, 162.0146, -373.6904},
                 {0.14321717, -0.87670315, 0.45921719, 0.05263415, 0.47009087, 0.88104723, -0.98829069, -0.10201058,
                  0.11346961}},
                {61450.5,
                 {-2825710.189, 4333392.073, -3718446.381},
                 {374.4716, 81.2486, -189.8820},
                 {0.74029201, -0.44352625, 0.50522490, -0.08906879, 0.68017348, 0.72761994, -0.66635913, -0.58365100,
                  0.46402265}}};
    for (const Pad &p : pads) {
        Loaded pb = Load(LandedShip("ShuttlePB", "Earth", "  BASE Habana:1\n  HEADING 22\n", p.mjd));
        ASSERT_TRUE(pb.ok) << pb.error;
        const kvhost::Vessel &s = pb.world->vessel(0);
        const kvhost::Body &e = pb.world->body(pb.world->FindBody("Earth"));
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR((s.pos - e.pos).data[i], p.rpos[i], 2e-3) << p.mjd;
            EXPECT_NEAR((s.vel - e.vel).data[i], p.rvel[i], 1e-3) << p.mjd;
        }
        ExpectRows(s.rot, p.rows, 1e-7);
    }

    // An hour on: still at the same spot of the turning Earth, at rest on it.
    kvhost::Simulation sim(*dg.world, {});
    sim.SetTimeAcceleration(10);
    for (int i = 0; i < 6000; ++i) sim.Frame();
    const kvhost::Vessel &later = dg.world->vessel(0);
    const kvhost::Body &e = dg.world->body(dg.world->FindBody("Earth"));
    const VECTOR3 local = tmul(e.Axes().rot, later.pos - e.pos);
    EXPECT_NEAR(std::atan2(local.z, local.x) / kvhost::kDeg, -80.67985, 1e-9);
    EXPECT_NEAR(length(local), 6371012.459, 1e-4);
    EXPECT_EQ(later.status, kvhost::VesselStatus::Landed);
    EXPECT_NEAR(length(later.vel - e.vel), 407.8962, 1e-3);  // at the Earth's radius now
}

TEST(LandedShips, BasesPlacePadsRefuelAndRefuseWhatTheyDoNotHave) {
    // Pads by the flat-map rule: Cape Canaveral's fifth, Brighton Beach's second.
    double lng, lat;
    ASSERT_TRUE(kvhost::PadPosition(kvhost::FindBase("Earth", "Cape Canaveral"), 4, 6371010, lng, lat));
    EXPECT_NEAR(lng, -80.6745295, 1e-7);
    EXPECT_NEAR(lat, 28.5197189, 1e-7);
    ASSERT_TRUE(kvhost::PadPosition(kvhost::FindBase("Moon", "Brighton Beach"), 1, 1.738e6, lng, lat));
    EXPECT_NEAR(lng, -33.4450804, 1e-7);
    EXPECT_NEAR(lat, 41.1217033, 1e-7);
    EXPECT_LT(kvhost::FindBase("Earth", "habana"), 0);  // the BASE line's name is matched exactly

    // The one stock ship whose own lines leave tanks low starts full on its pad, and is saved there.
    Loaded gl = Load(LandedShip("DG-S", "Earth", "  BASE Habana:2\n  PRPLEVEL 0:0.3 1:1 2:0.3\n", 51544.5));
    ASSERT_TRUE(gl.ok) << gl.error;
    for (const kvhost::Tank &t : gl.world->vessel(0).tanks) EXPECT_EQ(t.mass, t.maxMass);
    const std::string text = kvhost::ScenarioText(*gl.world, {}, {});
    EXPECT_NE(text.find("  STATUS Landed Earth\n  BASE Habana:2\n  POS -82.3988276 22.9994604\n"), std::string::npos)
        << text;
    // Read back: the same ship in the same place.
    Loaded again = Load(text);
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_LT(length(again.world->vessel(0).pos - gl.world->vessel(0).pos), 0.02);
    EXPECT_EQ(kvhost::ScenarioText(*again.world, {}, {}), text);

    // A base with no pad named and no POS: the simulator's 0, 0, said.
    Loaded bare = Load(LandedShip("DeltaGlider", "Earth", "  BASE Habana\n", 51544.5));
    ASSERT_TRUE(bare.ok) << bare.error;
    ASSERT_EQ(bare.warnings.size(), 1u);
    EXPECT_NE(bare.warnings[0].find("stands at longitude 0, latitude 0 of Earth"), std::string::npos);
    // What the simulator cannot place is refused with its line.
    Loaded unknown = Load(LandedShip("DeltaGlider", "Earth", "  BASE Havana:1\n", 51544.5));
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.error.find("test.scn:8: BASE: Earth has no base named 'Havana'"), std::string::npos)
        << unknown.error;
    Loaded beyond = Load(LandedShip("DeltaGlider", "Moon", "  BASE Brighton Beach:7\n", 51544.5));
    EXPECT_FALSE(beyond.ok);
    EXPECT_NE(beyond.error.find("Brighton Beach has 6 pads, not a pad 7"), std::string::npos) << beyond.error;
    Loaded early = Load("BEGIN_SHIPS\nS:ShuttlePB\n  BASE Habana:1\n  STATUS Landed Earth\nEND\nEND_SHIPS\n");
    EXPECT_FALSE(early.ok);
    EXPECT_NE(early.error.find("BASE must follow the ship's STATUS line"), std::string::npos) << early.error;
}

}  // namespace
