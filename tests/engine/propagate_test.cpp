// Predictions: where they stop, how long their steps are, how thrust acts, and the method's
// accuracy, in nearly empty space and around real bodies.
#include "support/engine_fixture.h"

#include "engine/gravity_step.h"

#include <algorithm>
#include <cmath>
#include <map>

using kavrex::Ship;
using kavrex::TrajectoryBuffer;

namespace {

constexpr uint32_t kLamp = 0, kAlpha = 1, kBeta = 2;

class PropagateTest : public EngineTest {
protected:
    // Quiet space with the ship at `pos` moving at `vel`; returns the claimed record.
    int ShipAt(VECTOR3 pos, VECTOR3 vel) {
        scenes::QuietSpace(world());
        scenes::AddShipAt(world(), "Probe", pos, vel);
        return Claim();
    }
};

TEST_F(PropagateTest, TargetRecedingFromTheStartGives129Points) {
    const int ship = ShipAt(_V(-1e6, 0, 0), _V(-1000, 0, 0));
    Aim(ship, kLamp, kAlpha);
    EXPECT_EQ(Predict(ship), 1);
    const TrajectoryBuffer &w = Ship(ship).work;
    EXPECT_EQ(w.pointCount, 129u);
    EXPECT_EQ(w.closestIndex[kAlpha], 0u);
    EXPECT_FALSE(w.impact);

    Ship(ship).numSteps = 128;
    Predict(ship);
    EXPECT_EQ(w.pointCount, 128u);
}

TEST_F(PropagateTest, ComputationEnds128PointsAfterTheClosestApproach) {
    // Passing 10 km from Alpha at 100 m/s: closest after about 1e4 s.
    const int ship = ShipAt(_V(1e9 - 1e6, 1e4, 0), _V(100, 0, 0));
    Aim(ship, kLamp, kAlpha);
    Predict(ship);
    const TrajectoryBuffer &w = Ship(ship).work;
    const uint32_t closest = w.closestIndex[kAlpha];
    EXPECT_GT(closest, 300u);
    EXPECT_EQ(w.pointCount, closest + 129);
    EXPECT_NEAR(length(w.closestRel[kAlpha]), 1e4, 200);
    EXPECT_NEAR((kavrex::PredictionPointMjd(closest) - scenes::kMjd) * 86400, 1e4, 20);
    EXPECT_DOUBLE_EQ(w.arrivalMjd, kavrex::PredictionPointMjd(closest));
    EXPECT_FALSE(w.impact);
}

TEST_F(PropagateTest, LongApproachFillsNumStepsPoints) {
    const int ship = ShipAt(_V(1e9 - 1e12, 0, 0), _V(1, 0, 0));
    Ship(ship).numSteps = 8192;
    Aim(ship, kLamp, kAlpha);
    Predict(ship);
    EXPECT_EQ(Ship(ship).work.pointCount, 8192u);
    EXPECT_EQ(Ship(ship).work.closestIndex[kAlpha], 8191u);
}

TEST_F(PropagateTest, ImpactAtTheStartGivesOnePoint) {
    const int ship = ShipAt(_V(1e9 + 10, 0, 0), _V(0, 0, 0));
    Aim(ship, kLamp, kAlpha);
    Predict(ship);
    EXPECT_EQ(Ship(ship).work.pointCount, 1u);
    EXPECT_TRUE(Ship(ship).work.impact);
}

TEST_F(PropagateTest, PassingInsideTheSourceStopsTheComputation) {
    scenes::QuietSpace(world());
    world().body(1).radius = 1e4;  // Alpha, the source, 10 km across
    scenes::AddShipAt(world(), "Probe", _V(1e9 - 1e5, 0, 0), _V(1000, 0, 0));
    const int ship = Claim();
    Aim(ship, kAlpha, kBeta);
    EXPECT_EQ(Predict(ship), 5);
    const TrajectoryBuffer &w = Ship(ship).work;
    EXPECT_TRUE(w.impact);
    // Points every 16 s: at 96 s the ship is 4 km from Alpha's centre, inside it.
    EXPECT_EQ(w.pointCount, 7u);
    EXPECT_EQ(w.closestIndex[kAlpha], 6u);
}

// The tracks hold each point's own state, every point up to the count written, whether the
// prediction runs its course or stops at an impact part-way through a block of points: stepping
// the first point's state again by the points' own intervals lands on every stored point exactly.
void ExpectTracksReplayExactly(const TrajectoryBuffer &w) {
    EXPECT_NE(w.pointCount % kavrex::kStagedPoints, 0u) << "a count inside a block";
    kavrex::ModelState m = kavrex::Module().computation.model;  // its bodies, gm and ancestors
    for (uint32_t s = 0; s < m.count; ++s) {
        m.pos[s] = w.bodyTrack[m.listIndex[s]][0];
        m.vel[s] = w.bodyTrackVel[m.listIndex[s]][0];
    }
    m.shipPos = w.shipTrack[0];
    m.shipVel = w.shipTrackVel[0];
    for (uint32_t k = 1; k < w.pointCount; ++k) {
        // The steps are whole 32nds of a second; the points' dates carry them rounded.
        const double dt =
            std::round((kavrex::PredictionPointMjd(k) - kavrex::PredictionPointMjd(k - 1)) * 86400 * 32) / 32;
        kavrex::MidpointStep(m, _V(0, 0, 0), dt);
        ASSERT_EQ(w.shipTrack[k].x, m.shipPos.x) << "point " << k;
        ASSERT_EQ(w.shipTrackVel[k].z, m.shipVel.z) << "point " << k;
        for (uint32_t s = 0; s < m.count; ++s) ASSERT_EQ(w.bodyTrack[m.listIndex[s]][k].x, m.pos[s].x);
    }
    EXPECT_EQ(w.shipTrack[w.pointCount].x, -7.0) << "nothing written beyond the count";
}

void MarkUnwritten(TrajectoryBuffer &w) { std::fill(w.shipTrack, w.shipTrack + kavrex::kMaxPoints, _V(-7, -7, -7)); }

TEST_F(PropagateTest, TheTracksHoldEveryPointsStateExactly) {
    const int ship = ShipAt(_V(1e9 - 1e6, 1e4, 0), _V(100, 0, 0));
    Aim(ship, kLamp, kAlpha);
    MarkUnwritten(Ship(ship).work);
    Predict(ship);
    EXPECT_FALSE(Ship(ship).work.impact);
    ExpectTracksReplayExactly(Ship(ship).work);
}

TEST_F(PropagateTest, TheTracksOfAPredictionCutShortByAnImpactHoldEveryPoint) {
    scenes::QuietSpace(world());
    world().body(1).radius = 1e4;
    scenes::AddShipAt(world(), "Probe", _V(1e9 - 1e5, 0, 0), _V(1000, 0, 0));
    const int ship = Claim();
    Aim(ship, kAlpha, kBeta);
    MarkUnwritten(Ship(ship).work);
    Predict(ship);
    EXPECT_TRUE(Ship(ship).work.impact);
    ExpectTracksReplayExactly(Ship(ship).work);
}

// The steps are fine near the start, where a prediction matters most, and coarser further out,
// so that a fixed number of points reaches far: they never shrink (without weight), each is the
// first doubled some times, at most three, and more points keep each finer step for longer.
TEST_F(PropagateTest, StepsGrowFromFineToCoarseInProportionToTheNumberOfPoints) {
    const int ship = ShipAt(_V(1e9 - 1e12, 0, 0), _V(1, 0, 0));
    Aim(ship, kLamp, kAlpha);
    std::map<double, uint32_t> pointsAt[2];  // step size -> points that step follows
    const uint32_t counts[2] = {4096, 8192};
    for (int n = 0; n < 2; ++n) {
        Ship(ship).numSteps = counts[n];
        Predict(ship);
        ASSERT_EQ(Ship(ship).work.pointCount, counts[n]);
        const double first = StepAfter(0);
        double last = first;
        for (uint32_t k = 0; k + 1 < counts[n]; ++k) {
            const double dt = StepAfter(k);
            EXPECT_GE(dt, last - 1e-3) << "point " << k;
            const double doublings = std::log2(dt / first);
            EXPECT_NEAR(doublings, std::round(doublings), 1e-4) << "point " << k;
            EXPECT_LE(std::round(doublings), 3) << "point " << k;
            ++pointsAt[n][first * std::exp2(std::round(doublings))];
            last = dt;
        }
        EXPECT_EQ(pointsAt[n].size(), 4u) << counts[n] << " points: the four step sizes all appear";
    }
    for (const auto &step : pointsAt[0]) {
        if (step.first == pointsAt[0].rbegin()->first) continue;  // the coarsest runs to the end
        EXPECT_GT(pointsAt[1][step.first], step.second) << "step " << step.first << " s";
    }
}

TEST_F(PropagateTest, StrongWeightHalvesTheStepUpToFiveTimes) {
    const int ship = ShipAt(_V(1e9 - 1e12, 0, 0), _V(1, 0, 0));
    Aim(ship, kLamp, kAlpha);
    // With N = 4096 the first step is 16 s before any halving.
    const double weights[] = {0.5, 0.51, 1.01, 2.01, 4.01, 7.01, 8.0, 100.0};
    const double steps[] = {16, 8, 4, 2, 1, 0.5, 0.5, 0.5};
    for (int i = 0; i < 8; ++i) {
        kavrex::Driver().weightAccel = _V(0, -weights[i] * 0.6, weights[i] * 0.8);
        Predict(ship);
        EXPECT_NEAR(StepAfter(0), steps[i], 1e-4) << "|weightAccel| " << weights[i];
        // Exactly a power of two seconds, as every step is: the closest-approach test relies on
        // it to read a rate's sign without the step's length.
        int exponent = 0;
        EXPECT_EQ(std::frexp(kavrex::Module().computation.dt, &exponent), 0.5) << "|weightAccel| " << weights[i];
    }
}

TEST_F(PropagateTest, ConstantThrustInEmptySpaceFollowsTheClosedForm) {
    // Alpha far ahead on +x; the ship drifts along z and thrusts at artGee towards Alpha.
    const VECTOR3 x0 = _V(-5e11, 0, 0), v0 = _V(0, 0, 300);
    const int ship = ShipAt(x0, v0);
    Ship(ship).kvEngaged = true;
    Ship(ship).numSteps = 2048;
    Aim(ship, kLamp, kAlpha);
    Predict(ship);
    const TrajectoryBuffer &w = Ship(ship).work;
    ASSERT_EQ(w.pointCount, 2048u);
    const VECTOR3 a = _V(9.800000190734863, 0, 0);  // towards Alpha, which lies on +x
    // With N = 2048 the steps after point j last 32 s up to j = 126, 64 s up to 382, then 128 s.
    double t = 0;
    for (uint32_t k = 0; k < w.pointCount; ++k) {
        const VECTOR3 expect = x0 + v0 * t + a * (t * t / 2);
        ASSERT_NEAR(length(w.shipTrack[k] - expect) / (length(expect - x0) + 1), 0, 1e-13) << k;
        ASSERT_NEAR(length(w.shipTrackVel[k] - (v0 + a * t)), 0, 1e-12 * length(v0 + a * t)) << k;
        t += k <= 126 ? 32 : k <= 382 ? 64 : 128;
    }
}

TEST_F(PropagateTest, ThrustDirectionFollowsTheFlags) {
    const int ship = ShipAt(_V(0, 5e8, 0), _V(0, 0, 40));
    kavrex::ShipRecord &r = Ship(ship);
    Aim(ship, kLamp, kAlpha);
    EXPECT_EQ(length(kavrex::PredictionThrust(r)), 0.0);  // neither hold nor drive: ballistic
    r.attitudeHold = true;
    const VECTOR3 toAlpha = unit(_V(1e9, -5e8, 0));
    EXPECT_NEAR(length(kavrex::PredictionThrust(r) - toAlpha * r.artGee), 0, 1e-12);
    r.invertDirection = true;
    EXPECT_NEAR(length(kavrex::PredictionThrust(r) + toAlpha * r.artGee), 0, 1e-12);
    r.directionAdjust = true;  // against the velocity relative to Alpha (+z)
    EXPECT_NEAR(length(kavrex::PredictionThrust(r) - _V(0, 0, -r.artGee)), 0, 1e-12);
    r.invertDirection = false;
    r.attitudeHold = false;
    r.kvEngaged = true;
    EXPECT_NEAR(length(kavrex::PredictionThrust(r) - _V(0, 0, r.artGee)), 0, 1e-12);
}

TEST_F(PropagateTest, BallisticPredictionAroundTheEarthStaysOnItsOrbit) {
    scenes::LowEarthOrbit(world());
    const int ship = Claim();
    Aim(ship, 3, 3);
    kavrex::Driver().weightAccel = _V(0, 0, 8.7);  // what the ship feels 400 km up
    EXPECT_EQ(Predict(ship), 6);
    const TrajectoryBuffer &w = Ship(ship).work;
    // Steps of 0.5 s; over the whole run the radius must stay at 6771 km.
    for (uint32_t k = 0; k < w.pointCount; k += 97)
        EXPECT_NEAR(length(w.shipTrack[k] - w.bodyTrack[3][k]), 6.771e6, 50) << k;
}

TEST_F(PropagateTest, ZeroDistancesPutNoNonNumberIntoTheTrajectory) {
    // The target at the ship's own position, with the drive on: no direction to push in.
    scenes::QuietSpace(world());
    world().body(1).radius = 0;
    scenes::AddShipAt(world(), "Probe", _V(1e9, 0, 0), _V(0, 0, 0));
    const int ship = Claim();
    Ship(ship).kvEngaged = true;
    Aim(ship, kLamp, kAlpha);
    EXPECT_EQ(length(kavrex::PredictionThrust(Ship(ship))), 0.0);
    Predict(ship);
    const TrajectoryBuffer &w = Ship(ship).work;
    EXPECT_EQ(w.pointCount, 129u);
    for (uint32_t k = 0; k < w.pointCount; ++k) ASSERT_TRUE(Finite(w.shipTrack[k]) && Finite(w.shipTrackVel[k])) << k;

    // Directly: the ship at a body's centre, and a moon at its planet's centre.
    kavrex::ModelState m = {};
    m.count = 3;
    m.gm[0] = 1.3e20;
    m.gm[1] = 4e14;
    m.gm[2] = 5e12;
    m.pos[1] = m.pos[2] = m.shipPos = _V(1.5e11, 0, 0);
    m.ancestorCount[1] = 1;
    m.ancestorCount[2] = 2;
    m.ancestors[2][1] = 1;
    kavrex::MidpointStep(m, _V(0, 0, 0), 10);
    EXPECT_TRUE(Finite(m.shipPos) && Finite(m.shipVel) && Finite(m.pos[2]) && Finite(m.vel[2]));
    EXPECT_GT(length(m.shipVel), 0);  // the star still pulls
}

TEST(MidpointMethod, HalvingTheStepCutsTheOrbitErrorFourfold) {
    // A circular orbit of 7000 km about an Earth-mass star, one period, n and 2n steps.
    const double gm = 3.986e14, r = 7e6, v = std::sqrt(gm / r);
    const double period = 2 * 3.14159265358979323846 * std::sqrt(r * r * r / gm);
    auto error = [&](int n) {
        kavrex::ModelState m = {};
        m.count = 1;
        m.gm[0] = gm;
        m.shipPos = _V(r, 0, 0);
        m.shipVel = _V(0, 0, v);
        for (int i = 0; i < n; ++i) kavrex::MidpointStep(m, _V(0, 0, 0), period / n);
        return length(m.shipPos - _V(r, 0, 0));
    };
    const double e1 = error(400), e2 = error(800);
    const double order = std::log2(e1 / e2);
    EXPECT_NEAR(order, 2.0, 0.25) << "errors " << e1 << " and " << e2;
}

}  // namespace
