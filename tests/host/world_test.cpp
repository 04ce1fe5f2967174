// The host's world: ephemerides in the simulator's frame, spheres of influence, and the SDK's
// object and vessel queries answered from it.
#include <gtest/gtest.h>

#include "host/world/ephemeris.h"
#include "host/world/frames.h"
#include "host/world/world.h"
#include "host/world/scenes.h"
#include "host/world/vessel_classes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace {

constexpr double kAu = 1.495978707e11;

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override { kvhost::SetCurrentWorld(&world); }
    void TearDown() override { kvhost::SetCurrentWorld(nullptr); }
    kvhost::World world;
};

TEST_F(WorldTest, EarthAtJ2000IsWhereTheSunAppearsOpposite) {
    world.SetMjd(51544.5);
    kvhost::World::BuildSolarSystem(world);
    const kvhost::Body &earth = world.body(world.FindBody("Earth")), &sun = world.body(0);
    // The Sun's apparent ecliptic longitude at J2000 is about 280.4 degrees, so the Earth's
    // heliocentric longitude is about 100.4. Global z is the ecliptic's y axis.
    const VECTOR3 p = earth.pos - sun.pos;
    const double lon = std::atan2(p.z, p.x) / kvhost::kDeg;
    EXPECT_NEAR(lon, 100.4, 0.3);
    EXPECT_NEAR(length(p) / kAu, 0.9833, 0.001);             // just after perihelion
    EXPECT_LT(std::fabs(p.y), 1e-4 * kAu);                   // in the ecliptic plane
    EXPECT_NEAR(length(earth.vel - sun.vel), 30.29e3, 100);  // perihelion speed
    // The origin is the solar system's barycentre: the Sun moves about it, some 1.1 solar radii
    // off (mostly Jupiter's doing) at about 13 m/s.
    EXPECT_GT(length(sun.pos), 3e8);
    EXPECT_LT(length(sun.pos), 1.5e9);
    EXPECT_GT(length(sun.vel), 5);
    EXPECT_LT(length(sun.vel), 20);
}

// The simulator's Sol: 33 bodies handed out by decreasing mass, with its own masses and radii.
// From frame to frame a body moves as its velocity says: its date is the seconds flown, not an MJD
// whose last bit (0.6 us) is 2 cm of the Earth's path and made its mean speed over a 1/60 s frame
// wrong by up to a metre a second. (Every body, across the ephemeris' nodes: below.)
TEST_F(WorldTest, BodiesMoveFromFrameToFrameAsTheirVelocitiesSay) {
    world.SetMjd(61450.5);
    kvhost::World::BuildSolarSystem(world);
    double worst = 0;
    for (const char *name : {"Earth", "Moon"}) {
        const int b = world.FindBody(name);
        kvhost::World w(61450.5);
        kvhost::World::BuildSolarSystem(w);
        for (int i = 0; i < 600; ++i) {
            const VECTOR3 p0 = w.body(b).pos, v0 = w.body(b).vel;
            w.Advance(1.0 / 60);
            const VECTOR3 moved = (w.body(b).pos - p0) * 60.0, mean = (w.body(b).vel + v0) * 0.5;
            worst = std::max(worst, length(moved - mean));
        }
    }
    EXPECT_LT(worst, 0.01) << "m/s between a body's motion over a frame and its velocity";
    std::printf("[ measured ] worst %.4f m/s between a frame's motion and the velocity\n", worst);
}

TEST_F(WorldTest, BodiesComeInTheSimulatorsOrderWithItsConstants) {
    kvhost::World::BuildSolarSystem(world);
    ASSERT_EQ(world.BodyCount(), 33);
    const char *order[] = {"Sun",     "Jupiter",  "Saturn",   "Neptune", "Uranus",    "Earth",   "Venus",
                           "Mars",    "Mercury",  "Ganymede", "Titan",   "Callisto",  "Io",      "Moon",
                           "Europa",  "Triton",   "Titania",  "Oberon",  "Rhea",      "Iapetus", "Ariel",
                           "Umbriel", "Dione",    "Tethys",   "Vesta",   "Enceladus", "Miranda", "Mimas",
                           "Proteus", "Hyperion", "Nereid",   "Phobos",  "Deimos"};
    for (int i = 0; i < 33; ++i) EXPECT_EQ(world.body(i).name, order[i]) << i;
    const kvhost::Body &moon = world.body(world.FindBody("Moon"));
    EXPECT_EQ(moon.mass, 7.347673176382784e+22);
    EXPECT_EQ(moon.radius, 1.738e6);
    EXPECT_EQ(world.body(moon.parent).name, "Earth");
    const kvhost::Body &vesta = world.body(world.FindBody("Vesta"));
    EXPECT_EQ(vesta.parent, 0);
    // Between Mars and Jupiter: 2.15 to 2.57 au from the Sun.
    const double r = length(vesta.pos - world.body(0).pos) / kAu;
    EXPECT_GT(r, 2.1);
    EXPECT_LT(r, 2.6);
    EXPECT_EQ(world.body(world.body(world.FindBody("Nereid")).parent).name, "Neptune");
}

TEST_F(WorldTest, FrameIsLeftHandedWithPlanetsGoingRoundTheRightWay) {
    world.SetMjd(scenes::kMjd);
    kvhost::World::BuildSolarSystem(world);
    // Seen from ecliptic north (+y) the planets move anticlockwise. In a left-handed frame the
    // component formula of r x v then points to -y.
    for (const char *name : {"Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"}) {
        const kvhost::Body &b = world.body(world.FindBody(name));
        const VECTOR3 h = crossp(b.pos, b.vel);
        EXPECT_LT(h.y / length(h), -0.99) << name;
    }
}

TEST_F(WorldTest, MoonsStayAtTheirDistancesAndMoveWithTheirPlanets) {
    world.SetMjd(scenes::kMjd);
    kvhost::World::BuildSolarSystem(world);
    const kvhost::Body &earth = world.body(world.FindBody("Earth"));
    const kvhost::Body &moon = world.body(world.FindBody("Moon"));
    const double d = length(moon.pos - earth.pos);
    EXPECT_GT(d, 356e6);
    EXPECT_LT(d, 407e6);
    EXPECT_NEAR(length(moon.vel - earth.vel), 1022, 80);
    const kvhost::Body &saturn = world.body(world.FindBody("Saturn"));
    const kvhost::Body &titan = world.body(world.FindBody("Titan"));
    EXPECT_NEAR(length(titan.pos - saturn.pos), 1221870e3, 0.03 * 1221870e3);
    EXPECT_NEAR(length(titan.vel - saturn.vel), 5.57e3, 0.2e3);
    // A day later the Moon has moved about 13 degrees round the Earth.
    const VECTOR3 before = moon.pos - earth.pos;
    world.SetMjd(scenes::kMjd + 1);
    const VECTOR3 after = world.body(world.FindBody("Moon")).pos - world.body(world.FindBody("Earth")).pos;
    const double angle = std::acos(dotp(before, after) / (length(before) * length(after))) / kvhost::kDeg;
    EXPECT_NEAR(angle, 13.2, 1.5);
}

// The simulator's rule: the body whose M / r^2 is largest, the Sun included, chosen when the
// vessel is placed and then every 100 s of free flight.
TEST_F(WorldTest, GravityReferenceIsTheBodyPullingHardest) {
    scenes::LowEarthOrbit(world);
    const int earth = world.FindBody("Earth"), moon = world.FindBody("Moon"), sun = 0;
    EXPECT_EQ(world.vessel(0).gravityRef, earth);
    scenes::AddShipInOrbit(world, "Selene", moon, 100e3);
    EXPECT_EQ(world.vessel(1).gravityRef, moon);
    VESSEL *v = world.vessel(1).api.get();
    EXPECT_EQ(v->GetGravityRef(), world.BodyHandle(moon));
    EXPECT_EQ(world.GravityRef(_V(0, 3 * kAu, 0)), sun);  // far above the ecliptic
    // 500,000 km from the Earth, away from the Moon and along the Sun's line: the Sun pulls
    // harder (0.0059 against 0.0016 m/s^2), though the Earth's sphere of influence reaches
    // 925,000 km.
    const VECTOR3 toSun = unit(world.body(sun).pos - world.body(earth).pos);
    const VECTOR3 far = world.body(earth).pos - toSun * 5e8;
    EXPECT_EQ(world.GravityRef(far), sun);
    // A vessel moved there keeps its reference until the next choice, 100 s of flight later.
    kvhost::Vessel &selene = world.vessel(1);
    world.ChooseGravityRef(selene);
    selene.pos = far;
    selene.vel = world.body(earth).vel;
    world.UpdateGravityRef(selene);
    EXPECT_EQ(selene.gravityRef, moon);
    world.SetMjd(world.Mjd() + 101.0 / 86400);
    world.UpdateGravityRef(selene);
    EXPECT_EQ(selene.gravityRef, sun);
    // A landed vessel keeps its body.
    selene.status = kvhost::VesselStatus::Landed;
    selene.landedOn = moon;
    selene.gravityRef = moon;
    world.SetMjd(world.Mjd() + 1);
    world.UpdateGravityRef(selene);
    EXPECT_EQ(selene.gravityRef, moon);
}

TEST_F(WorldTest, ObjectQueriesAnswerFromTheWorldAndIgnoreForeignHandles) {
    scenes::LowEarthOrbit(world);
    EXPECT_EQ(oapiGetGbodyCount(), 33u);
    EXPECT_EQ(oapiGetGbodyByIndex(33), nullptr);
    EXPECT_EQ(oapiGetGbodyByIndex(-1), nullptr);
    OBJHANDLE earth = oapiGetGbodyByIndex(world.FindBody("Earth"));
    char name[4];
    oapiGetObjectName(earth, name, sizeof name);
    EXPECT_STREQ(name, "Ear");
    EXPECT_DOUBLE_EQ(oapiGetMass(earth), 5.973698968e+24);
    EXPECT_DOUBLE_EQ(oapiGetSize(earth), 6.37101e6);
    OBJHANDLE ship = oapiGetFocusObject();
    VECTOR3 rel, vel;
    oapiGetRelativePos(ship, earth, &rel);
    oapiGetRelativeVel(ship, earth, &vel);
    EXPECT_NEAR(length(rel), 6.37101e6 + 400e3, 1);  // 400 km above the mean radius
    EXPECT_NEAR(length(vel), std::sqrt(kvhost::kG * 5.973698968e+24 / (6.37101e6 + 400e3)), 1e-6);
    EXPECT_DOUBLE_EQ(oapiGetMass(ship), 20000);  // 8 t dry, 12 t propellant

    int foreign = 0;
    VECTOR3 pos = _V(1, 2, 3);
    oapiGetGlobalPos(&foreign, &pos);
    EXPECT_EQ(length(pos), 0.0);
    EXPECT_EQ(oapiGetMass(&foreign), 0.0);
    oapiGetObjectName(nullptr, name, sizeof name);
    EXPECT_STREQ(name, "");
    EXPECT_DOUBLE_EQ(oapiGetSimMJD(), scenes::kMjd);
}

TEST_F(WorldTest, VesselFrameQueriesTurnGlobalVectorsIntoVesselAxes) {
    scenes::LowEarthOrbit(world);
    kvhost::Vessel &ship = world.vessel(0);
    ship.rot = kvhost::RotationFromEuler(_V(0.3, -1.1, 2.0));
    VESSEL *v = ship.api.get();
    const VECTOR3 point = ship.pos + _V(100, -50, 20);
    VECTOR3 local;
    v->Global2Local(point, local);
    const VECTOR3 back = mul(ship.rot, local) + ship.pos;
    EXPECT_NEAR(length(back - point), 0, 1e-6);
    EXPECT_NEAR(length(local), length(_V(100, -50, 20)), 1e-9);

    VECTOR3 weight;
    EXPECT_TRUE(v->GetWeightVector(weight));
    const VECTOR3 global = mul(ship.rot, weight);
    const VECTOR3 toEarth = world.body(world.FindBody("Earth")).pos - ship.pos;
    EXPECT_GT(dotp(unit(global), unit(toEarth)), 0.9999);
    EXPECT_NEAR(length(weight) / ship.Mass(), kvhost::kG * 5.97237e24 / (6.771e6 * 6.771e6), 0.01);

    VESSELSTATUS status;
    v->GetStatus(status);
    EXPECT_EQ(status.rbody, world.BodyHandle(world.FindBody("Earth")));
    EXPECT_NEAR(status.arot.x, 0.3, 1e-12);
    EXPECT_NEAR(status.arot.y, -1.1, 1e-12);
    EXPECT_NEAR(status.arot.z, 2.0, 1e-12);
    EXPECT_EQ(status.status, 0);
    EXPECT_DOUBLE_EQ(status.fuel, 1.0);
}

TEST_F(WorldTest, PropellantAndThrusterCallsCheckTheirHandles) {
    scenes::LowEarthOrbit(world);
    scenes::AddShipInOrbit(world, "Other", world.FindBody("Earth"), 800e3);
    VESSEL *a = world.vessel(0).api.get();
    VESSEL *b = world.vessel(1).api.get();
    ASSERT_EQ(a->GetPropellantCount(), 1u);
    PROPELLANT_HANDLE tankA = a->GetPropellantHandleByIndex(0);
    EXPECT_EQ(a->GetPropellantHandleByIndex(1), nullptr);
    EXPECT_DOUBLE_EQ(a->GetPropellantMaxMass(tankA), 12000);
    a->SetPropellantMass(tankA, 3000);
    EXPECT_DOUBLE_EQ(a->GetPropellantMass(tankA), 3000);
    EXPECT_DOUBLE_EQ(a->GetMass(), 11000);
    b->SetPropellantMass(tankA, 0);  // a's tank through b: ignored
    EXPECT_DOUBLE_EQ(a->GetPropellantMass(tankA), 3000);
    EXPECT_EQ(b->GetPropellantMass(tankA), 0.0);

    THGROUP_HANDLE main = a->GetThrusterGroupHandle(THGROUP_MAIN);
    ASSERT_EQ(a->GetGroupThrusterCount(main), 2u);
    EXPECT_EQ(a->GetGroupThrusterCount(THGROUP_MAIN), 2u);
    // An empty group has a handle, as in the simulator, and no thrusters.
    THGROUP_HANDLE up = a->GetThrusterGroupHandle(THGROUP_ATT_UP);
    EXPECT_NE(up, nullptr);
    EXPECT_EQ(a->GetGroupThrusterCount(up), 0u);
    EXPECT_EQ(a->GetGroupThruster(up, 0), nullptr);
    EXPECT_EQ(a->GetGroupThrusterCount(THGROUP_ATT_UP), 0u);
    EXPECT_EQ(b->GetGroupThrusterCount(main), 0u);
    THRUSTER_HANDLE th = a->GetGroupThruster(main, 1);
    EXPECT_EQ(a->GetGroupThruster(main, 2), nullptr);
    EXPECT_DOUBLE_EQ(a->GetThrusterMax0(th), 98000);
    VECTOR3 ref;
    a->GetThrusterRef(th, ref);
    EXPECT_DOUBLE_EQ(ref.z, -8);

    // Engines run within 0..1; a level is recorded as it was passed; a non-number runs the engine
    // at full thrust, as in the simulator, and is counted so that the test that caused it fails.
    a->SetThrusterGroupLevel(THGROUP_MAIN, 1.7);
    EXPECT_EQ(world.vessel(0).thrusters[0].level, 1.0);
    EXPECT_EQ(world.vessel(0).requestedGroupLevel[THGROUP_MAIN], 1.7);
    a->SetThrusterLevel(th, -0.5);
    EXPECT_EQ(world.vessel(0).thrusters[1].level, 0.0);
    EXPECT_EQ(world.vessel(0).thrusters[1].requestedLevel, -0.5);
    EXPECT_EQ(world.vessel(0).nonFiniteLevels, 0);
    a->SetThrusterLevel(th, std::nan(""));
    EXPECT_EQ(world.vessel(0).thrusters[1].level, 1.0);
    EXPECT_EQ(world.vessel(0).nonFiniteLevels, 1);
    // A thruster's level is not clamped as it is set: an infinite one, either way, runs at full
    // thrust. A group's is clamped first: minus infinity is 0.
    a->SetThrusterLevel(th, -INFINITY);
    EXPECT_EQ(world.vessel(0).thrusters[1].level, 1.0);
    a->SetThrusterGroupLevel(THGROUP_MAIN, -INFINITY);
    EXPECT_EQ(world.vessel(0).thrusters[1].level, 0.0);
    EXPECT_EQ(world.vessel(0).nonFiniteLevels, 3);
    world.vessel(0).nonFiniteLevels = 0;
}

TEST_F(WorldTest, AttitudeLevelFiresTheGroupForTheRequestedSense) {
    scenes::LowEarthOrbit(world);
    kvhost::Vessel &ship = world.vessel(0);
    auto groupLevel = [&](THGROUP_TYPE g) { return ship.thrusters[ship.groups[g][0]].level; };
    ship.api->SetAttitudeRotLevel(0, 0.5);
    EXPECT_EQ(groupLevel(THGROUP_ATT_PITCHUP), 0.5);
    EXPECT_EQ(groupLevel(THGROUP_ATT_PITCHDOWN), 0.0);
    ship.api->SetAttitudeRotLevel(1, -1);
    EXPECT_EQ(groupLevel(THGROUP_ATT_YAWRIGHT), 1.0);
    EXPECT_EQ(groupLevel(THGROUP_ATT_YAWLEFT), 0.0);
    ship.api->SetAttitudeRotLevel(2, 0.25);
    EXPECT_EQ(groupLevel(THGROUP_ATT_BANKRIGHT), 0.25);
    ship.api->SetAttitudeRotLevel(0, 0);
    EXPECT_EQ(groupLevel(THGROUP_ATT_PITCHUP), 0.0);
}

// The bodies move on the theory's positions at nodes five minutes apart, interpolated: within a
// tenth of a metre of the theory for the Sun and the planets, a metre for the moons, and with
// velocities that are the motion of those positions (the theories' own velocities are not quite that: the
// outer planets' by metres a second), to within a millimetre a second for the planets.
TEST(Ephemeris, TheInterpolatedStatesStayWithinTheirBoundOfTheTheory) {
    kvhost::World w(61450.5);
    kvhost::World::BuildSolarSystem(w);
    std::vector<double> worstPos(w.BodyCount(), 0), worstVel(w.BodyCount(), 0);
    double mjd = 61450.5;
    for (int step = 0; step < 1200; ++step) {
        // Frames of a flight at every warp: from a fiftieth of a second to half a day.
        mjd += (step % 4 == 0 ? 0.5 : step % 4 == 1 ? 1.7 / 86400 : step % 4 == 2 ? 0.02 / 86400 : 977.3 / 86400);
        w.SetMjd(mjd);
        for (int i = 0; i < w.BodyCount(); ++i) {
            // The theory's motion: centred differences of its positions 100 s apart, far enough
            // that the last bit of a date (a few cm of an outer planet's path) does not count.
            VECTOR3 p, v, around[4];
            const double h = 100.0 / 86400, at[4] = {-2, -1, 1, 2};
            kvhost::TheoryState(w.bodies(), i, mjd, p, v);
            for (int j = 0; j < 4; ++j) kvhost::TheoryState(w.bodies(), i, mjd + at[j] * h, around[j], v);
            const VECTOR3 motion = (around[0] - around[1] * 8 + around[2] * 8 - around[3]) * (1.0 / 1200);
            worstPos[i] = std::max(worstPos[i], length(w.body(i).pos - p));
            worstVel[i] = std::max(worstVel[i], length(w.body(i).vel - motion));
        }
    }
    for (int i = 0; i < w.BodyCount(); ++i) {
        const kvhost::Body &b = w.body(i);
        const bool moon = w.IsMoon(i);
        std::printf("[ measured ] %-9s %8.4f m %10.3g m/s off the theory\n", b.name.c_str(), worstPos[i], worstVel[i]);
        EXPECT_LE(worstPos[i], moon ? 1.0 : 0.1) << b.name;
        EXPECT_LE(worstVel[i], moon ? 1e-2 : 1e-3) << b.name;
    }
}

// Every body moves from frame to frame as its velocity says, across the ephemeris' nodes as
// between them: a ship at rest on a moon or beside a planet stays at rest. (The theory's own
// velocities were off the motion of its positions: Mars' by 0.24 m/s, the outer planets' by metres
// a second.)
TEST(Ephemeris, ABodyMovesAsItsVelocitySaysFromFrameToFrame) {
    kvhost::World w(61450.5);
    kvhost::World::BuildSolarSystem(w);
    w.SetMjd(61450.5 + 0.123);
    std::vector<VECTOR3> pos, vel;
    for (int i = 0; i < w.BodyCount(); ++i) {
        pos.push_back(w.body(i).pos);
        vel.push_back(w.body(i).vel);
    }
    std::vector<double> worst(w.BodyCount(), 0);
    for (int frame = 0; frame < 1000; ++frame) {  // a second a frame, over three nodes
        w.Advance(1.0);
        for (int i = 0; i < w.BodyCount(); ++i) {
            const kvhost::Body &b = w.body(i);
            worst[i] = std::max(worst[i], length((b.pos - pos[i]) - (b.vel + vel[i]) * 0.5));
            pos[i] = b.pos;
            vel[i] = b.vel;
        }
    }
    for (int i = 0; i < w.BodyCount(); ++i) {
        // A few of the last bits of the positions it is summed from: a millimetre out at Neptune.
        const double bound = 1e-15 * length(w.body(i).pos) + 1e-5;
        EXPECT_LE(worst[i], bound) << w.body(i).name;
    }
}

// One table names every class: what it builds, what it names in a message, what it carries as a
// passive mass. A built class flies under its own main engines; a passive one weighs what the
// table says and has nothing to burn; no name stands twice, whatever its letter case.
TEST(VesselClasses, TheTableIsWhatTheHostBuildsNamesAndWeighs) {
    int count = 0;
    const kvhost::VesselClassEntry *table = kvhost::VesselClassTable(count);
    ASSERT_GT(count, 0);
    const std::string known = kvhost::KnownVesselClasses();
    int built = 0;
    for (int i = 0; i < count; ++i) {
        const kvhost::VesselClassEntry &e = table[i];
        SCOPED_TRACE(e.name);
        for (int j = 0; j < i; ++j) EXPECT_NE(strcasecmp(table[j].name, e.name), 0) << "twice in the table";
        std::string shouted = e.name;
        for (char &ch : shouted) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        kvhost::VesselClass c;
        const bool builds = kvhost::FindVesselClass(shouted, c);
        EXPECT_EQ(builds, e.build != nullptr);
        const bool named = (", " + known + ",").find(", " + std::string(e.name) + ",") != std::string::npos;
        EXPECT_EQ(named, builds) << known;
        if (builds) {
            ++built;
            EXPECT_EQ(c.name, shouted);
            double mainThrust = 0;
            for (const kvhost::ThrusterSpec &t : c.thrusters)
                if (t.group == THGROUP_MAIN && t.tank >= 0 && t.tank < static_cast<int>(c.tanks.size()))
                    mainThrust += t.max0;
            EXPECT_GT(mainThrust, 0) << "a built class has main engines fed by a tank";
        } else {
            const kvhost::VesselClass p = kvhost::PassiveClass(shouted);
            EXPECT_EQ(p.dryMass, e.mass);
            EXPECT_EQ(p.size, e.size);
            EXPECT_TRUE(p.tanks.empty() && p.thrusters.empty());
        }
    }
    EXPECT_EQ(std::count(known.begin(), known.end(), ',') + 1, built);
    const kvhost::VesselClass stranger = kvhost::PassiveClass("Gunship");
    EXPECT_EQ(stranger.dryMass, 10000);
    EXPECT_EQ(stranger.name, "Gunship");
}

TEST(Date2IntTest, TurnsTheSdkDateIntoAnInteger) {
    char sdk[] = "Apr 25 2006", other[] = "Dec 8 2026", bad[] = "Foo 1 2000", empty[] = "";
    EXPECT_EQ(Date2Int(sdk), 60425);  // YYMMDD, as the simulator gives it
    EXPECT_EQ(Date2Int(other), 261208);
    EXPECT_EQ(Date2Int(bad), 0);
    EXPECT_EQ(Date2Int(empty), 0);
}

}  // namespace
