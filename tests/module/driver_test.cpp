// The per-step driver's own rules, through opcPreStep where it matters: nothing at all without a
// focus record, the step control under the vessel's real weight, the steering signs, the gravity
// terms and the top speed, and what a partial reset clears.
#include "support/engine_fixture.h"

#include "host/world/frames.h"
#include "module/step_driver.h"

#include <cmath>
#include <cstring>
#include <vector>

DLLCLBK void opcPreStep(double simt, double simdt, double mjd);

using kavrex::Ship;
using kavrex::TrajectoryBuffer;

namespace {

class DriverTest : public EngineTest {
protected:
    void Step() { opcPreStep(0, 0.05, world().Mjd()); }
};

TEST_F(DriverTest, FocusWithoutARecordChangesNoRecordAtAll) {
    scenes::LowEarthOrbit(world());
    scenes::AddShipInOrbit(world(), "Stranger", world().FindBody("Earth"), 900e3);
    world().SetFocus(0);
    const int ship = Claim();
    kavrex::ShipRecord &r = Ship(ship);
    r.kvEngaged = r.attitudeHold = true;
    world().vessel(0).tanks[0].mass = 0;          // would be refilled
    world().vessel(0).omega = _V(0.1, 0.2, 0.3);  // would be damped
    world().SetFocus(1);                          // a vessel that never opened the display
    std::vector<unsigned char> before(sizeof(kavrex::ShipRecord));
    std::memcpy(before.data(), &r, sizeof r);
    const int commands = world().vessel(0).rotLevelCommands;
    Step();
    EXPECT_EQ(std::memcmp(before.data(), &r, sizeof r), 0) << "the record changed";
    EXPECT_EQ(world().vessel(0).tanks[0].mass, 0.0);
    EXPECT_EQ(world().vessel(0).rotLevelCommands, commands);
    EXPECT_EQ(world().vessel(0).requestedGroupLevel[THGROUP_MAIN], 0.0);
}

// 400 km up the ship weighs 8.7 m/s^2 per kg, past all five marks: steps are 1/32 of the base.
TEST_F(DriverTest, StepControlUnderTheVesselsRealWeight) {
    scenes::LowEarthOrbit(world());
    const int ship = Claim();
    kavrex::ShipRecord &r = Ship(ship);
    r.targetBody = 5;  // Mars
    const struct {
        uint32_t numSteps;
        double firstStep;  // s: 128, 64 or 16 s before the halving
    } cases[] = {{100, 4}, {1000, 2}, {4096, 0.5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.numSteps);
        r.numSteps = c.numSteps;
        r.display.ready = false;
        Step();
        const double g = length(kavrex::Driver().weightAccel);
        const kvhost::Body &earth = world().body(world().FindBody("Earth"));
        EXPECT_NEAR(g, kvhost::kG * earth.mass / std::pow(length(world().vessel(0).pos - earth.pos), 2), 0.01);
        EXPECT_NEAR(StepAfter(0), c.firstStep, 1e-6);
        EXPECT_LE(r.display.pointCount, c.numSteps);
        EXPECT_TRUE(r.display.ready);
    }
    // With 100 points the bound holds from the start: exactly 100, each 4 s.
    r.numSteps = 100;
    r.display.ready = false;
    Step();
    EXPECT_EQ(r.display.pointCount, 100u);
    EXPECT_NEAR(StepAfter(98), 4, 1e-6);
    // With 1000, the steps double to 4 s once the bound passes a quarter of it.
    r.numSteps = 1000;
    r.display.ready = false;
    Step();
    ASSERT_GT(r.display.pointCount, 200u);
    EXPECT_NEAR(StepAfter(120), 2, 1e-6);
    EXPECT_NEAR(StepAfter(122), 4, 1e-6);
}

// Source and target both closest inside one step, the target 3 s before the source: the last
// watched body of the variant (the target) sets the arrival, at its own moment.
TEST_F(DriverTest, TwoWatchedBodiesClosestInOneStepTheLastInOrderSetsTheArrival) {
    scenes::QuietSpace(world());
    const double speed = 1e5, eps = 1e-4;
    const VECTOR3 dir = unit(_V(eps, -1, 0));
    // Straight line from (0, y0, 0): the moment nearest to a point P is (P - S0) . dir / speed.
    const double y0 = speed * (100.5 * 16);
    scenes::AddShipAt(world(), "Probe", _V(0, y0, 0), dir * speed);
    const int ship = Claim();
    Aim(ship, 1, 2);  // Alpha -> Beta: variant 5, watching source then target
    ASSERT_EQ(Predict(ship), 5);
    const TrajectoryBuffer &w = Ship(ship).work;
    const double tAlpha = dotp(_V(1e9, 0, 0) - _V(0, y0, 0), dir) / speed;
    const double tBeta = dotp(_V(-2e9, 0, 0) - _V(0, y0, 0), dir) / speed;
    ASSERT_LT(tBeta, tAlpha);
    const uint32_t kAlpha = w.closestIndex[1], kBeta = w.closestIndex[2];
    EXPECT_LE(kAlpha > kBeta ? kAlpha - kBeta : kBeta - kAlpha, 1u);  // one step holds both
    EXPECT_NEAR((w.arrivalMjd - scenes::kMjd) * 86400, tBeta, 1e-3);
}

TEST_F(DriverTest, SteeringSignsFromTheTargetAndFromTheRelativeVelocity) {
    scenes::QuietSpace(world());
    scenes::AddShipAt(world(), "Probe", _V(0, 0, 0), _V(0, 0, 0));
    const int ship = Claim();
    kavrex::ShipRecord &r = Ship(ship);
    r.targetBody = 1;
    kavrex::SampleShipState(kavrex::Ship(ship));
    const double deg = 180 / 3.14159265358979323846;
    const struct {
        VECTOR3 at;
        double pitch, yaw;
    } targets[] = {{_V(0, 1, 1), 45, 0},
                   {_V(0, -1, 1), -45, 0},
                   {_V(1, 0, 1), 0, 45},
                   {_V(-1, 0, 1), 0, -45},
                   {_V(-1, 0, -1), 0, -135}};
    for (const auto &t : targets) {
        r.bodyPos[1] = t.at * 1e6;
        const kavrex::SteeringAngles a = kavrex::ComputeSteering(kavrex::Ship(ship));
        EXPECT_NEAR(a.pitch * deg, t.pitch, 1e-9) << t.at.x << " " << t.at.y << " " << t.at.z;
        EXPECT_NEAR(a.yaw * deg, t.yaw, 1e-9) << t.at.x << " " << t.at.y << " " << t.at.z;
    }
    // Along the velocity relative to the target, turned into the vessel's axes: the nose points
    // to global +x, the vessel's x axis to global -z.
    r.directionAdjust = true;
    r.rotation = MATRIX3{{0, 0, 1, 0, 1, 0, -1, 0, 0}};
    r.bodyVel[1] = _V(500, 0, 0);
    r.shipVel = _V(600, 0, 0);  // moving along the nose relative to the target
    kavrex::SteeringAngles a = kavrex::ComputeSteering(kavrex::Ship(ship));
    EXPECT_NEAR(a.pitch, 0, 1e-12);
    EXPECT_NEAR(a.yaw, 0, 1e-12);
    r.shipVel = _V(500, 0, 100);  // along global +z: the vessel's -x, to the left
    a = kavrex::ComputeSteering(kavrex::Ship(ship));
    EXPECT_NEAR(a.yaw * deg, -90, 1e-9);
    r.invertDirection = true;  // against it: to the right
    a = kavrex::ComputeSteering(kavrex::Ship(ship));
    EXPECT_NEAR(a.yaw * deg, 90, 1e-9);
}

TEST_F(DriverTest, GravityTermsAndTheTopSpeed) {
    scenes::LowEarthOrbit(world());
    const int ship = Claim();
    kavrex::ShipRecord &r = Ship(ship);
    Step();
    for (uint32_t j = 0; j < r.bodyCount; ++j) {
        const int b = world().FindBody(r.bodies[j].name);
        const double d = length(world().body(b).pos - r.shipPos);
        EXPECT_NEAR(r.bodyG[j], kvhost::kG * world().body(b).mass / (d * d), 1e-9 * r.bodyG[j]) << r.bodies[j].name;
    }
    const double speed = length(r.shipVel);
    EXPECT_EQ(r.maxVel, speed);
    world().vessel(0).vel = world().vessel(0).vel * 0.5;  // slower: the top speed stays
    Step();
    EXPECT_EQ(r.maxVel, speed);
    kavrex::ResetShipRecord(kavrex::Ship(ship), false);
    EXPECT_EQ(r.maxVel, 0.0);
    Step();
    EXPECT_EQ(r.maxVel, length(r.shipVel));
}

TEST_F(DriverTest, APartialResetClearsTheFlightSettingsAndKeepsTheRest) {
    scenes::LowEarthOrbit(world());
    const int ship = Claim();
    kavrex::ShipRecord &r = Ship(ship);
    Step();
    r.attitudeHold = r.kvEngaged = r.autofillOff = r.ejected = r.invertDirection = r.directionAdjust = true;
    r.autozoomOff = r.display.ready = true;
    r.includeMoons = true;
    r.lunaAlways = false;
    r.superthrust = 0.012;
    r.maxVel = 1e4;
    r.numSteps = 128;
    r.tanksRefilled = 7;
    r.artGee = 19.6;
    r.ejectMjd = 61000;
    r.targetBody = 5;
    const VECTOR3 shipPos = r.shipPos;
    const uint32_t points = r.display.pointCount;
    kavrex::ResetShipRecord(kavrex::Ship(ship), false);
    for (bool flag : {r.attitudeHold, r.kvEngaged, r.autofillOff, r.ejected, r.invertDirection, r.directionAdjust,
                      r.autozoomOff, r.display.ready})
        EXPECT_FALSE(flag);
    EXPECT_EQ(r.superthrust, 0.0);
    EXPECT_EQ(r.maxVel, 0.0);
    EXPECT_EQ(r.numSteps, 4096u);
    EXPECT_EQ(r.tanksRefilled, 0u);
    // Kept: the acceleration, the list options, the bodies, the clock's start, the snapshots and
    // the trajectory.
    EXPECT_EQ(r.artGee, 19.6);
    EXPECT_TRUE(r.includeMoons);
    EXPECT_FALSE(r.lunaAlways);
    EXPECT_EQ(r.targetBody, 5u);
    EXPECT_EQ(r.ejectMjd, 61000.0);
    EXPECT_EQ(length(r.shipPos - shipPos), 0.0);
    EXPECT_EQ(r.display.pointCount, points);
}

}  // namespace
