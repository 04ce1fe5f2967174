// Turning bodies, ships standing on them and the bases they stand at, against the worked values
// of the simulator's own model.
#include <gtest/gtest.h>

#include "host/world/frames.h"
#include "host/world/world.h"

#include <cmath>

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
        EXPECT_NEAR(world.body(b).axes.angle, w.angle, 2e-10) << w.body << " " << w.mjd;
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
            EXPECT_NEAR(flown.body(b).axes.rot.data[k], started.body(b).axes.rot.data[k], 1e-9) << name;
    }
}

TEST(TurningBodies, TheIntermediateAnglesAreTheSimulators) {
    World j2000(51544.5), later(61450.5);
    World::BuildSolarSystem(j2000);
    World::BuildSolarSystem(later);
    const kvhost::BodyAxes earth = later.body(later.FindBody("Earth")).axes;
    EXPECT_NEAR(earth.obliquity, 0.4090928023, 1e-10);
    EXPECT_NEAR(earth.node, -0.0066122348, 1e-10);
    const kvhost::BodyAxes moon = j2000.body(j2000.FindBody("Moon")).axes;
    EXPECT_NEAR(moon.obliquity, 0.0269136034, 1e-10);
    EXPECT_NEAR(moon.node, 2.1798556770, 1e-10);
    // The Sun does not turn, and a body of a test world neither.
    const int sun = j2000.FindBody("Sun");
    for (int k = 0; k < 9; ++k) EXPECT_EQ(j2000.body(sun).axes.rot.data[k], k % 4 == 0 ? 1.0 : 0.0);
}

}  // namespace
