// The plot's view rows: the ecliptic view and the plane of the ship's orbit about its target.
#include "support/plugin_fixture.h"

#include "display/projection.h"
#include "host/world/frames.h"
#include "host/world/scenes.h"
#include "model/ship_lookup.h"

#include <cmath>

namespace {

class ProjectionTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        scenes::LowEarthOrbit(world());
    }
    static double Gap(const VECTOR3 &a, const VECTOR3 &b) { return length(a - b); }
};

TEST_F(ProjectionTest, EquatorialOrbitGivesTheEclipticRowsAndNodeOnX) {
    Open(0);
    const kavrex::ViewRows &rows = kavrex::Projection();
    EXPECT_TRUE(kvhost::PressKey(0, OAPI_KEY_P));
    EXPECT_TRUE(kavrex::Entry(kavrex::FindShip(), 0).shipProjection);
    const kavrex::OrbitPlane &o = kavrex::LastOrbitPlane();
    EXPECT_EQ(o.inclination, 0.0);
    EXPECT_EQ(Gap(o.nodeDir, _V(1, 0, 0)), 0.0);
    EXPECT_EQ(o.node, 0.0);
    // The ship starts at +x from the Earth moving along +z: the SHIP view lies in the ecliptic.
    EXPECT_LT(Gap(rows.x, _V(1, 0, 0)), 1e-6);
    EXPECT_LT(Gap(rows.y, _V(0, 0, 1)), 1e-6);
    kvhost::PressKey(0, OAPI_KEY_P);
    EXPECT_EQ(Gap(rows.x, _V(1, 0, 0)), 0.0);
    EXPECT_EQ(Gap(rows.y, _V(0, 0, 1)), 0.0);
}

TEST_F(ProjectionTest, InclinedOrbitRowsSpanItsPlane) {
    // A polar orbit 500 km up, moving towards ecliptic north.
    kvhost::Vessel &v = world().vessel(0);
    const kvhost::Body &earth = world().body(world().FindBody("Earth"));
    v.pos = earth.pos + _V(6.871e6, 0, 0);
    v.vel = earth.vel + _V(0, 7616, 0);
    Open(0);
    kvhost::PressKey(0, OAPI_KEY_P);
    const kavrex::ViewRows &rows = kavrex::Projection();
    const VECTOR3 h = crossp(v.pos - earth.pos, v.vel - earth.vel);
    EXPECT_NEAR(dotp(rows.x, h) / length(h), 0, 1e-9);
    EXPECT_NEAR(dotp(rows.y, h) / length(h), 0, 1e-9);
    EXPECT_NEAR(dotp(rows.x, rows.y), 0, 1e-9);
    EXPECT_NEAR(kavrex::LastOrbitPlane().inclination, kvhost::kPi / 2, 1e-6);
}

TEST_F(ProjectionTest, OrbitWithoutAPlaneKeepsTheRows) {
    kvhost::Vessel &v = world().vessel(0);
    v.vel = world().body(world().FindBody("Earth")).vel;  // at rest relative to the Earth
    Open(0);
    kvhost::PressKey(0, OAPI_KEY_P);
    const kavrex::ViewRows &rows = kavrex::Projection();
    EXPECT_EQ(Gap(rows.x, _V(1, 0, 0)), 0.0);
    EXPECT_EQ(Gap(rows.y, _V(0, 0, 1)), 0.0);
    kavrex::ComputeOrbitPlane(nullptr, world().BodyHandle(0));
    EXPECT_EQ(Gap(rows.x, _V(1, 0, 0)), 0.0);
}

TEST(WrapAngle, ReducesIntoOneTurn) {
    const double twoPi = 2 * kvhost::kPi;
    EXPECT_DOUBLE_EQ(kavrex::WrapAngle(1.0), 1.0);
    EXPECT_NEAR(kavrex::WrapAngle(twoPi + 1.0), 1.0, 1e-12);
    EXPECT_NEAR(kavrex::WrapAngle(-1.0), twoPi - 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(kavrex::WrapAngle(twoPi), twoPi);
}

}  // namespace
