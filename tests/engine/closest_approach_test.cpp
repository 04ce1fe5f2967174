// Closest approaches and impacts found between the stored points of a prediction, where a fast
// ship spends most of its pass.
#include "support/engine_fixture.h"

#include <cmath>

using kavrex::Ship;
using kavrex::TrajectoryBuffer;

namespace {

constexpr uint32_t kLamp = 0, kAlpha = 1;

class ClosestApproachTest : public EngineTest {};

// A ship aimed at Mars's centre at 313 km/s from 20 million km arrives with steps of 128 s,
// 40,000 km each, many times Mars's diameter: whatever the start distance, the prediction must
// read IMPACT.
TEST_F(ClosestApproachTest, ACertainHitOnMarsIsAnImpactFromEveryStartDistance) {
    scenes::LowEarthOrbit(world());
    const int mars = world().FindBody("Mars");
    const int ship = Claim();
    uint32_t marsIndex = 0;
    for (uint32_t i = 0; i < Ship(ship).bodyCount; ++i)
        if (std::string(Ship(ship).bodies[i].name) == "Mars") marsIndex = i;
    ASSERT_NE(marsIndex, 0u);
    int misses = 0;
    for (int i = 0; i <= 20; ++i) {
        const double d = 20e9 + i * 1e6;
        const VECTOR3 u = unit(_V(0.3, 0.1, -1));
        kvhost::Vessel &v = world().vessel(0);
        v.pos = world().body(mars).pos + u * d;
        v.vel = world().body(mars).vel - u * 313e3;
        Aim(ship, 3, marsIndex);
        Predict(ship);
        const TrajectoryBuffer &w = Ship(ship).work;
        if (!w.impact) ++misses;
        EXPECT_TRUE(w.impact) << "start " << d / 1e3 << " km: closest " << length(w.closestRel[marsIndex]) / 1e3
                              << " km";
    }
    EXPECT_EQ(misses, 0);
}

// A straight, unpowered pass by Alpha in a world whose bodies weigh a kilogram: the closest
// distance and its moment are those of the straight line, wherever the minimum falls in a step.
TEST_F(ClosestApproachTest, AStraightPassGivesTheAnalyticClosestDistanceAndTime) {
    scenes::QuietSpace(world());
    scenes::AddShipAt(world(), "Probe", _V(0, 0, 0), _V(0, 0, 0));
    const int ship = Claim();
    const double speed = 1e5, offset = 3e4, stepLength = speed * 16;
    for (double phase : {0.13, 0.3, 0.81}) {
        // The first 127 steps last 16 s and cover 1,600 km; the closest moment falls `phase`
        // into the hundred-and-first.
        SCOPED_TRACE(phase);
        const double tClosest = (100 + phase) * 16;
        world().vessel(0).pos = _V(1e9 - speed * tClosest, offset, 0);
        world().vessel(0).vel = _V(speed, 0, 0);
        Aim(ship, kLamp, kAlpha);
        Predict(ship);
        const TrajectoryBuffer &w = Ship(ship).work;
        EXPECT_NEAR(length(w.closestRel[kAlpha]), offset, 1e-4 * stepLength);
        EXPECT_NEAR((w.arrivalMjd - scenes::kMjd) * 86400, tClosest, 1e-4 * 16);
        // The stored point named is the end of the step nearer the minimum.
        auto offBy = [&](uint32_t k) {
            return std::fabs((kavrex::PredictionPointMjd(k) - scenes::kMjd) * 86400 - tClosest);
        };
        const uint32_t index = w.closestIndex[kAlpha];
        EXPECT_EQ(index, phase < 0.5 ? 100u : 101u);
        EXPECT_LT(offBy(index), offBy(index - 1));
        EXPECT_LT(offBy(index), offBy(index + 1));
        EXPECT_FALSE(w.impact);
    }
}

// Both stored points of the step lie outside Alpha; the path between them dips inside it.
TEST_F(ClosestApproachTest, AGrazeInsideTheRadiusBetweenTwoPointsIsAnImpact) {
    scenes::QuietSpace(world());
    world().body(1).radius = 1e4;
    const double speed = 1e5, tClosest = (100 + 0.5) * 16;
    scenes::AddShipAt(world(), "Probe", _V(1e9 - speed * tClosest, 9e3, 0), _V(speed, 0, 0));
    const int ship = Claim();
    Aim(ship, kLamp, kAlpha);
    Predict(ship);
    const TrajectoryBuffer &w = Ship(ship).work;
    EXPECT_TRUE(w.impact);
    EXPECT_NEAR(length(w.closestRel[kAlpha]), 9e3, 1);
    // The computation ends with the step that held the impact: its end, point 101, is the last.
    EXPECT_EQ(w.pointCount, 102u);

    // The same pass 11 km off only skims by: no impact, 1 km above the surface.
    world().vessel(0).pos = _V(1e9 - speed * tClosest, 11e3, 0);
    Aim(ship, kLamp, kAlpha);
    Predict(ship);
    EXPECT_FALSE(w.impact);
    EXPECT_NEAR(length(w.closestRel[kAlpha]) - 1e4, 1e3, 1);
}

}  // namespace
