// The attitude autopilot axis by axis, on a vessel whose three axes differ in moment of inertia
// and torque: how the rate it asks for follows the error, the dead band's edge and the damping
// clamp, so that a swapped axis, a rate that turns away or a lost clamp shows.
#include "support/plugin_fixture.h"

#include "controls/attitude.h"
#include "host/world/scenes.h"
#include "model/module_state.h"
#include "model/ship_lookup.h"

#include <cmath>
#include <vector>

using kavrex::HoldAttitudeAxis;
using kavrex::kDegree;
using kavrex::Ship;

namespace {

class AttitudeTest : public PluginTest {
protected:
    // Moments per unit mass 2, 3, 5 m^2 (pitch, yaw, bank); torques 1, 2, 3 MN m (pitch, yaw,
    // bank; stored pitch, bank, yaw); 10 t as the driver saw it; steps of 0.1 s.
    int Asymmetric() {
        scenes::QuietSpace(world());
        scenes::AddShipAt(world(), "Probe", _V(0, 5e8, 0), _V(0, 0, 0));
        world().vessel(0).pmi = _V(2, 3, 5);
        Open(0);
        const int ship = kavrex::FindShip();
        kavrex::ShipRecord &r = Ship(ship);
        r.attitudeTorque[0] = 1e6;
        r.attitudeTorque[1] = 3e6;
        r.attitudeTorque[2] = 2e6;
        r.mass = 1e4;
        r.attitudeHold = true;
        kavrex::Driver().stepLength = 0.1;
        return ship;
    }
    static constexpr double kInertia[3] = {2, 3, 5}, kTorque[3] = {1e6, 2e6, 3e6};
    double Level(unsigned axis) { return world().vessel(0).requestedRotLevel[axis]; }
    void Spin(unsigned axis, double rate) {
        world().vessel(0).omega = _V(0, 0, 0);
        world().vessel(0).omega.data[axis] = rate;
    }
    // The level that changes the rate by D within one step on that axis.
    static double LevelFor(unsigned axis, double D, double mass = 1e4) {
        return kInertia[axis] * mass * D / 0.1 / kTorque[axis];
    }
};

constexpr double AttitudeTest::kInertia[3];
constexpr double AttitudeTest::kTorque[3];

// From rest, the rate the autopilot asks for (its level times the axis's torque over its
// inertia, in one step) turns the vessel towards the target, grows with the error and never
// shrinks as it grows, reaches the cap of 2 degrees a second for large errors, never covers the
// error in under half a second, and is the same on every axis whatever its own inertia and torque.
TEST_F(AttitudeTest, TheRateFollowsTheErrorTowardsTheTargetOnEveryAxis) {
    const int ship = Asymmetric();
    for (double sign : {1.0, -1.0}) {
        std::vector<double> rates[3];
        for (unsigned axis = 0; axis < 3; ++axis) {
            double last = 0;
            for (double error = 0.1; error <= 170; error *= 1.02) {
                Spin(axis, 0);
                // The error is minus the angle passed.
                EXPECT_FALSE(HoldAttitudeAxis(kavrex::Ship(ship), -sign * error * kDegree, axis));
                const double rate = sign * Level(axis) / LevelFor(axis, kDegree);  // degrees a second
                EXPECT_GT(rate, 0) << "axis " << axis << ": " << sign * error << " degrees off, turns away";
                EXPECT_GE(rate, last) << "axis " << axis << ": slower at " << error << " degrees than below";
                EXPECT_LE(rate, 2 + 1e-12) << "axis " << axis;
                EXPECT_LE(rate, 2 * error)
                    << "axis " << axis << ": it would cover " << error << " degrees in under half a second";
                last = rate;
                rates[axis].push_back(rate);
            }
            EXPECT_NEAR(last, 2, 1e-12) << "axis " << axis << ": a large error turns at the cap";
        }
        for (size_t i = 0; i < rates[0].size(); ++i) {
            EXPECT_NEAR(rates[1][i], rates[0][i], 1e-12) << "yaw and pitch differ at sample " << i;
            EXPECT_NEAR(rates[2][i], rates[0][i], 1e-12) << "bank and pitch differ at sample " << i;
        }
    }
}

TEST_F(AttitudeTest, TheDeadBandsEdgeAndTheCaps) {
    const int ship = Asymmetric();
    const double rate = 2 * kDegree, band = 0.01 * kDegree;
    for (unsigned axis = 0; axis < 3; ++axis) {
        // Turning at the target rate, or within the band of it: nothing is fired.
        Spin(axis, rate);
        HoldAttitudeAxis(kavrex::Ship(ship), -20 * kDegree, axis);
        EXPECT_EQ(Level(axis), 0.0);
        Spin(axis, rate - band * (1 - 1e-9));
        HoldAttitudeAxis(kavrex::Ship(ship), -20 * kDegree, axis);
        EXPECT_EQ(Level(axis), 0.0) << axis;
        // Just outside it the whole rate error is corrected in one step.
        Spin(axis, rate - band * (1 + 1e-6));
        HoldAttitudeAxis(kavrex::Ship(ship), -20 * kDegree, axis);
        EXPECT_NEAR(Level(axis), LevelFor(axis, band * (1 + 1e-6)), 1e-12) << axis;
        // The first row's band is half its rate: 0.005 degrees per second.
        Spin(axis, 0.01 * kDegree - 0.0049 * kDegree);
        HoldAttitudeAxis(kavrex::Ship(ship), -0.12 * kDegree, axis);
        EXPECT_EQ(Level(axis), 0.0) << axis;
        Spin(axis, 0.01 * kDegree - 0.0051 * kDegree);
        HoldAttitudeAxis(kavrex::Ship(ship), -0.12 * kDegree, axis);
        EXPECT_NE(Level(axis), 0.0) << axis;
    }
    // A weak axis: speeding up is capped at +1, slowing down floored at -1.
    Ship(ship).attitudeTorque[0] = 1;
    Spin(0, 0);
    HoldAttitudeAxis(kavrex::Ship(ship), -20 * kDegree, 0);
    EXPECT_EQ(Level(0), 1.0);
    Spin(0, 10 * kDegree);
    HoldAttitudeAxis(kavrex::Ship(ship), -20 * kDegree, 0);
    EXPECT_EQ(Level(0), -1.0);
}

TEST_F(AttitudeTest, SmallErrorsAreDampedWithTheVesselsOwnMassAndClamped) {
    const int ship = Asymmetric();
    const double mass = world().vessel(0).Mass();  // the damping branch asks the vessel
    for (unsigned axis = 0; axis < 3; ++axis) {
        Spin(axis, 0.001 * kDegree);
        EXPECT_FALSE(HoldAttitudeAxis(kavrex::Ship(ship), 0.05 * kDegree, axis));
        EXPECT_NEAR(Level(axis), -LevelFor(axis, 0.001 * kDegree, mass), 1e-12) << axis;
        EXPECT_EQ(Ship(ship).mass, mass);
        // Settled: below 0.0001 degree per second the axis reports true and fires nothing.
        Spin(axis, 0.00009 * kDegree);
        EXPECT_TRUE(HoldAttitudeAxis(kavrex::Ship(ship), 0.05 * kDegree, axis));
        EXPECT_EQ(Level(axis), 0.0);
    }
    Ship(ship).attitudeTorque[2] = 1e-3;  // yaw, stored third
    Spin(1, 0.001 * kDegree);
    HoldAttitudeAxis(kavrex::Ship(ship), 0, 1);
    EXPECT_EQ(Level(1), -1.0);
    Spin(1, -0.001 * kDegree);
    HoldAttitudeAxis(kavrex::Ship(ship), 0, 1);
    EXPECT_EQ(Level(1), 1.0);
}

}  // namespace
