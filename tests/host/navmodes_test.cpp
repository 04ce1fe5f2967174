// The cockpit's navigation modes flown through the frame loop: each hold brings a tumbling
// Courier to its attitude with its own attitude thrusters, and ends or yields as the simulator's.
#include <gtest/gtest.h>

#include "host/cockpit/cockpit.h"
#include "host/sim/simulation.h"
#include "host/world/frames.h"
#include "host/world/navmodes.h"
#include "host/world/scenes.h"

#include <cmath>

namespace {

using kvhost::Simulation;
using kvhost::Vessel;
using kvhost::World;

constexpr double kEarthMass = 5.97237e24, kEarthRadius = 6.371e6;

struct InUse {
    explicit InUse(World &w) { kvhost::SetCurrentWorld(&w); }
    ~InUse() { kvhost::SetCurrentWorld(nullptr); }
};

// A Courier 400 km above a lone Earth, turned well away from every wanted attitude and spinning.
Vessel &Tumbling(World &w) {
    w.AddBody(kvhost::DriftingBody("Earth", kEarthMass, kEarthRadius, _V(0, 0, 0), _V(0, 0, 0)));
    scenes::AddShipInOrbit(w, "Courier-1", 0, 400e3);
    Vessel &v = w.vessel(0);
    v.rot = kvhost::RotationFromEuler(_V(2.0, -0.7, 1.1));
    v.omega = _V(0.02, -0.015, 0.03);
    return v;
}

double Degrees(const VECTOR3 &a, const VECTOR3 &b) {
    return std::acos(std::fmax(-1.0, std::fmin(1.0, dotp(unit(a), unit(b))))) * 180 / kvhost::kPi;
}

void FlySeconds(Simulation &sim, double seconds) {
    const long frames = static_cast<long>(seconds / sim.frameLength());
    for (long i = 0; i < frames; ++i) sim.Frame();
}

TEST(Navmodes, EachPointingHoldSettlesOnItsAttitude) {
    struct Case {
        DWORD key;
        VECTOR3 axis;  // the vessel axis that is pointed
        int towards;   // 0: local up, +1 along the velocity, -1 against it
    } cases[] = {{kvhost::kKeyHorizonLevel, _V(0, 1, 0), 0},
                 {kvhost::kKeyPrograde, _V(0, 0, 1), 1},
                 {kvhost::kKeyRetrograde, _V(0, 0, 1), -1}};
    for (const Case &c : cases) {
        World w;
        InUse inUse(w);
        Vessel &v = Tumbling(w);
        Simulation sim(w, {});
        ASSERT_TRUE(kvhost::PressVesselKey(c.key));
        FlySeconds(sim, 240);
        const VECTOR3 wanted = c.towards == 0 ? v.pos : v.vel * c.towards;
        const double error = Degrees(mul(v.rot, c.axis), wanted);
        std::printf("[ measured ] %s after 240 s: %.3f deg off, rate %.5f rad/s\n",
                    kvhost::NavmodeName(c.towards == 0  ? 2
                                        : c.towards > 0 ? 3
                                                        : 4),
                    error, length(v.omega));
        EXPECT_LT(error, 1.0);
        EXPECT_LT(length(v.omega), 0.01);
        // The hold keeps it there as the vessel goes round (the horizon and velocity turn).
        FlySeconds(sim, 600);
        EXPECT_LT(Degrees(mul(v.rot, c.axis), c.towards == 0 ? v.pos : v.vel * c.towards), 1.0);
    }
}

TEST(Navmodes, KillRotationEndsItselfAndPointingModesExcludeEachOther) {
    World w;
    InUse inUse(w);
    Vessel &v = Tumbling(w);
    Simulation sim(w, {});
    ASSERT_TRUE(kvhost::PressVesselKey(kvhost::kKeyKillRot));
    FlySeconds(sim, 120);
    EXPECT_FALSE(kvhost::NavmodeActive(v, kvhost::kNavKillRot));
    EXPECT_LT(length(v.omega), 1e-3);
    for (const kvhost::Thruster &t : v.thrusters) {
        if (t.spec.group != THGROUP_MAIN) {
            EXPECT_EQ(t.level, 0.0) << "thrusters let go once still";
        }
    }

    kvhost::PressVesselKey(kvhost::kKeyPrograde);
    kvhost::PressVesselKey(kvhost::kKeyHorizonLevel);
    EXPECT_TRUE(kvhost::NavmodeActive(v, kvhost::kNavHorizonLevel));
    EXPECT_FALSE(kvhost::NavmodeActive(v, kvhost::kNavPrograde));
    kvhost::PressVesselKey(kvhost::kKeyHorizonLevel);  // the same key again: off
    EXPECT_EQ(v.navmodes, 0);
    EXPECT_FALSE(kvhost::PressVesselKey(0x1E)) << "A is not a vessel key";
}

}  // namespace
