// The host's vessel dynamics: orbits, burns, attitude, propellant, touchdown and time
// acceleration, flown through the frame loop at its default frame length.
#include <gtest/gtest.h>

#include "host/scenario/scenario_write.h"
#include "host/sim/simulation.h"
#include "host/world/dynamics.h"
#include "host/world/frames.h"
#include "host/world/scenes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

using kvhost::Simulation;
using kvhost::Vessel;
using kvhost::World;

constexpr double kEarthMass = 5.97237e24, kEarthRadius = 6.371e6;

VECTOR3 Nose(const Vessel &v) { return mul(v.rot, _V(0, 0, 1)); }

// A Courier at rest in nearly empty space, 5e8 m off the ecliptic.
Vessel &CourierAtRest(World &w) {
    scenes::QuietSpace(w);
    scenes::AddShipAt(w, "Courier-1", _V(0, 5e8, 0), _V(0, 0, 0));
    return w.vessel(0);
}

// The SDK calls answer from the world in use.
struct InUse {
    explicit InUse(World &w) { kvhost::SetCurrentWorld(&w); }
    ~InUse() { kvhost::SetCurrentWorld(nullptr); }
};

TEST(Dynamics, LowEarthOrbitKeepsItsRadiusOverTenOrbits) {
    World w;
    InUse inUse(w);
    w.AddBody(kvhost::DriftingBody("Earth", kEarthMass, kEarthRadius, _V(0, 0, 0), _V(0, 0, 0)));
    const double r = kEarthRadius + 400e3;
    scenes::AddShipInOrbit(w, "Courier-1", 0, 400e3);
    const double period = 2 * kvhost::kPi * std::sqrt(r * r * r / (kvhost::kG * kEarthMass));
    Simulation sim(w, {});
    double lo = r, hi = r;
    const long frames = static_cast<long>(10 * period / sim.frameLength());
    for (long i = 0; i < frames; ++i) {
        sim.Frame();
        const double now = length(w.vessel(0).pos);
        lo = std::min(lo, now);
        hi = std::max(hi, now);
    }
    std::printf("[ measured ] 10 orbits 400 km up: radius %+.6f .. %+.6f m\n", lo - r, hi - r);
    EXPECT_LT(hi - r, 1e3);
    EXPECT_LT(r - lo, 1e3);
    // Measured: under a metre either way (RK4 with 0.05 s frames).
    EXPECT_LT(hi - lo, 10.0) << "radius from " << lo << " to " << hi;
}

// The date keeps its time over many frames: a ship circling a body that itself moves at 30 km/s
// stays on the circle relative to it after 60,000 frames. With the date summed frame by frame in
// days it lagged 10.8 ms there, which put the body 320 m off and the ship with it.
TEST(Dynamics, TheDateKeepsItsTimeOverSixtyThousandFrames) {
    World w(61450.5);
    InUse inUse(w);
    const VECTOR3 drift = _V(30e3, 0, 0);
    w.AddBody(kvhost::DriftingBody("Earth", kEarthMass, kEarthRadius, _V(0, 0, 0), drift));
    scenes::AddShipInOrbit(w, "Courier-1", 0, 400e3);
    const VECTOR3 r0 = w.vessel(0).pos - w.body(0).pos, v0 = w.vessel(0).vel - w.body(0).vel;
    const double omega = length(v0) / length(r0);
    Simulation sim(w, {});
    for (long i = 0; i < 60000; ++i) sim.Frame();
    const double flown = sim.simt();  // the frames' lengths summed (the first three are short)
    EXPECT_NEAR((w.Mjd() - 61450.5) * 86400, flown, 1e-4) << "the date lags the frames flown";
    const VECTOR3 expected = r0 * std::cos(omega * flown) + v0 * (std::sin(omega * flown) / omega);
    const double off = length(w.vessel(0).pos - w.body(0).pos - expected);
    std::printf("[ measured ] after 60,000 frames (%.0f s): %.3f m off the circle\n", flown, off);
    EXPECT_LT(off, 1.0);
}

TEST(Dynamics, LowEarthOrbitInTheSolarSystemAtTimeAcceleration) {
    World w;
    InUse inUse(w);
    scenes::LowEarthOrbit(w);
    const int earth = w.FindBody("Earth");
    const double r = length(w.vessel(0).pos - w.body(earth).pos);
    Simulation sim(w, {});
    sim.SetTimeAcceleration(100);  // 5 s frames, integrated in 1 s sub-steps
    double worst = 0;
    for (int i = 0; i < 1111; ++i) {  // one orbit
        sim.Frame();
        worst = std::max(worst, std::fabs(length(w.vessel(0).pos - w.body(earth).pos) - r));
    }
    std::printf("[ measured ] one orbit in the solar system at 100x: radius within %.3f m\n", worst);
    EXPECT_LT(worst, 1e3);
}

TEST(Dynamics, OneGeeBurnInEmptySpaceMatchesTheRocketEquation) {
    World w;
    InUse inUse(w);
    Vessel &v = CourierAtRest(w);
    v.api->SetThrusterGroupLevel(THGROUP_MAIN, 1.0);  // 196 kN on 20 t: 9.8 m/s^2 at first
    Simulation sim(w, {});
    const double seconds = 600;
    sim.Run(static_cast<long>(seconds / sim.frameLength() + 0.5));
    // Thrust F, exhaust speed ve, flow q = F / ve: v(t) = -ve ln(1 - kt), k = q / m0, and
    // x(t) = (ve / k) ((1 - kt) ln(1 - kt) + kt).
    const double F = 196000, ve = 4e5, m0 = 20000, k = F / ve / m0, t = sim.simt();
    const double speed = -ve * std::log(1 - k * t);
    const double dist = ve / k * ((1 - k * t) * std::log(1 - k * t) + k * t);
    std::printf("[ measured ] 600 s burn: speed off by %.2e, distance by %.2e (relative)\n", v.vel.z / speed - 1,
                v.pos.z / dist - 1);
    EXPECT_NEAR(v.vel.z / speed, 1, 1e-6);
    EXPECT_NEAR((v.pos.z) / dist, 1, 1e-6);
    EXPECT_NEAR(v.tanks[0].mass, 12000 - F / ve * t, 1e-6);
    EXPECT_NEAR(std::fabs(v.vel.x) + std::fabs(v.vel.y), 0, 1e-9);
}

TEST(Dynamics, AttitudeLevelsTurnTheVesselByTheLeftHandedRule) {
    for (int axis = 0; axis < 3; ++axis) {
        World w;
        InUse inUse(w);
        Vessel &v = CourierAtRest(w);
        v.api->SetAttitudeRotLevel(axis, 1.0);
        Simulation sim(w, {});
        while (sim.simt() < 1 - 1e-9) sim.Frame();  // 1 s: three 0.01 s frames, then 1/60 s ones
        const VECTOR3 nose = Nose(v), up = mul(v.rot, _V(0, 1, 0));
        if (axis == 0) {
            EXPECT_GT(nose.y, 0.01);  // nose up
            // A couple of 2 x 2 kN at 8 m on 20 t x 20 m^2: 0.08 rad/s^2.
            EXPECT_NEAR(v.omega.x, 0.08 * sim.simt(), 0.08 * 0.01);
        }
        if (axis == 1) {
            EXPECT_LT(nose.x, -0.01);  // nose left
        }
        if (axis == 2) {
            EXPECT_GT(up.x, 0.01);  // banked right: the top goes right
        }
        EXPECT_GT(v.omega.data[axis], 0);
        // No net force from a couple.
        EXPECT_LT(length(v.vel), 1e-9);
    }
}

TEST(Dynamics, EmptyTankGivesNoThrustAndLevelsAreClamped) {
    World w;
    InUse inUse(w);
    Vessel &v = CourierAtRest(w);
    v.tanks[0].mass = 0;
    v.api->SetThrusterGroupLevel(THGROUP_MAIN, 3.0);
    EXPECT_EQ(v.thrusters[0].level, 1.0);
    EXPECT_EQ(v.requestedGroupLevel[THGROUP_MAIN], 3.0);
    Simulation sim(w, {});
    sim.Run(20);
    EXPECT_LT(length(v.vel), 1e-15);  // only the 1 kg star's pull
    // A last drop of propellant runs out part-way through a sub-step: the burn stops with it.
    v.tanks[0].mass = 0.1;  // 0.2 s at 0.49 kg/s
    sim.Run(20);
    EXPECT_EQ(v.tanks[0].mass, 0.0);
    EXPECT_NEAR(v.vel.z, 196000 * 0.1 / 0.49 / 8000, 0.01);
}

// A vessel meeting the ground fast crashes at once; a slow one is held there and counts as
// landed after 5 s at rest with no thrust, as in the simulator.
TEST(Dynamics, VesselReachingASurfaceLandsOrCrashes) {
    for (double speed : {2.0, 100.0}) {
        World w;
        InUse inUse(w);
        w.AddBody(kvhost::DriftingBody("Moon", 7.342e22, 1.7374e6, _V(0, 0, 0), _V(0, 0, 0)));
        // Its legs 1 m up (the Courier stands 3 m high on them): the Moon adds under 1 m/s.
        scenes::AddShipAt(w, "Lander", _V(1.7374e6 + 4, 0, 0), _V(-speed, 0, 0));
        Vessel &v = w.vessel(0);
        v.tanks[0].mass = 0;
        Simulation sim(w, {});
        sim.Run(60);  // 1 s: the surface is reached
        EXPECT_NEAR(length(v.pos), 1.7374e6 + 3, 1e-6);
        EXPECT_EQ(length(v.vel), 0.0);
        VESSELSTATUS status;
        v.api->GetStatus(status);
        EXPECT_EQ(status.status, speed < 5 ? 0 : 1) << "held on the ground, not yet landed";
        sim.Run(300);  // 5 s more at rest
        v.api->GetStatus(status);
        EXPECT_EQ(status.status, 1);
        EXPECT_EQ(v.status, speed < 5 ? kvhost::VesselStatus::Landed : kvhost::VesselStatus::Crashed)
            << "touchdown at about " << speed << " m/s";
        EXPECT_NEAR(length(v.pos), 1.7374e6 + 3, 1e-6);
    }
}

// On the ground, as in the simulator: the status gives the origin's height above the surface
// (not a spin); any thrust sets the vessel free, the ground holds one too weak to lift it, and
// 5 s after the engines stop it is landed again where it stood.
TEST(Dynamics, ALandedVesselReportsItsHeightLiftsOffOnAnyThrustAndSettlesAgain) {
    World w;
    InUse inUse(w);
    w.AddBody(kvhost::DriftingBody("Moon", 7.342e22, 1.7374e6, _V(0, 0, 0), _V(0, 0, 0)));
    scenes::AddShipAt(w, "Lander", _V(1.7374e6 + 3.5, 0, 0), _V(-1, 0, 0));
    Vessel &v = w.vessel(0);
    Simulation sim(w, {});
    sim.Run(400);
    ASSERT_EQ(v.status, kvhost::VesselStatus::Landed);
    VESSELSTATUS status;
    v.api->GetStatus(status);
    EXPECT_EQ(status.status, 1);
    EXPECT_NEAR(status.vrot.x, length(v.pos) - 1.7374e6, 1e-9);
    EXPECT_EQ(status.vrot.y, 0.0);
    EXPECT_EQ(status.vrot.z, 0.0);
    // The main engine pushes along the nose, here along the surface, harder than the ground's grip
    // (half the weight): free, it rolls along the ground at 9.8 - 0.81 m/s^2, burning.
    const VECTOR3 spot = v.pos;
    const double before = v.tanks[0].mass, t0 = sim.simt();
    v.api->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    sim.Run(60);
    const double burnt = sim.simt() - t0, grip = 0.5 * kvhost::kG * 7.342e22 / std::pow(1.7374e6 + 3, 2);
    EXPECT_EQ(v.status, kvhost::VesselStatus::Flying);
    EXPECT_NEAR(length(v.pos - spot), 0.5 * (196000 / v.Mass() - grip) * burnt * burnt, 0.05);
    EXPECT_NEAR(length(v.pos), 1.7374e6 + 3, 1e-3) << "on its legs, on the ground";
    // 196 kN at an exhaust speed of 400 km/s: 0.49 kg/s.
    EXPECT_NEAR(before - v.tanks[0].mass, 0.49 * burnt, 1e-6);
    // The engines stopped, the grip brings it to rest, and 5 s later it is landed where it stopped.
    v.api->SetThrusterGroupLevel(THGROUP_MAIN, 0);
    const double rolling = length(v.vel), stopped = sim.simt();
    while (sim.simt() < stopped + rolling / grip + 4.8) sim.Run(1);
    EXPECT_EQ(v.status, kvhost::VesselStatus::Flying);
    const VECTOR3 rest = v.pos;
    sim.Run(30);
    EXPECT_EQ(v.status, kvhost::VesselStatus::Landed);
    EXPECT_LT(length(v.pos - rest), 1e-6);
}

// A crash on a moving body, part-way through a long frame: the wreck stays where it touched,
// carried with the body, and is saved there, on the surface.
TEST(Dynamics, ACrashedVesselStaysWhereItTouchedAndIsSavedThere) {
    World w;
    InUse inUse(w);
    const double radius = 1.7374e6;
    w.AddBody(kvhost::DriftingBody("Moon", 7.342e22, radius, _V(0, 0, 0), _V(0, 0, 1000)));
    scenes::AddShipAt(w, "Lander", _V(radius + 50, 0, 0), _V(-300, 0, 1000));
    Vessel &v = w.vessel(0);
    v.tanks[0].mass = 0;
    Simulation sim(w, {});
    sim.SetTimeAcceleration(100);  // frames of 5 s: the crash falls inside the first
    sim.Run(1);
    ASSERT_EQ(v.status, kvhost::VesselStatus::Crashed);
    EXPECT_NEAR(length(v.pos - w.body(0).pos), radius + 3, 1e-3);
    sim.Run(200);  // 1,000 s later the Moon has moved 1,000 km
    EXPECT_NEAR(length(v.pos - w.body(0).pos), radius + 3, 1e-3);
    EXPECT_NEAR(v.pos.x - w.body(0).pos.x, radius + 3, 1e-3);  // the same point of the surface
    EXPECT_EQ(length(v.vel - w.body(0).vel), 0.0);

    // Saved as the simulator saves a ship on the ground: its place on the body.
    const std::string text = kvhost::ScenarioText(w, {}, {});
    const size_t at = text.find("STATUS Landed Moon\n  POS ");
    ASSERT_NE(at, std::string::npos) << text;
    double lng, lat;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "STATUS Landed Moon\n  POS %lf %lf", &lng, &lat), 2);
    EXPECT_NEAR(lng, 0, 1e-6);
    EXPECT_EQ(lat, 0.0);
    EXPECT_NE(text.find("  ALT 3.000\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("RPOS "), std::string::npos) << text;
}

// A tumbling vessel, torque-free: its angular momentum and energy stay what they were, at any
// rate the vessel can reach (Euler's equations once ran away within minutes at 3 rad/s).
TEST(Dynamics, ASpinningVesselStaysFiniteAndKeepsItsMomentum) {
    for (double scale : {1.0, 18.0}) {
        SCOPED_TRACE(scale);
        World w;
        InUse inUse(w);
        Vessel &v = CourierAtRest(w);
        v.pmi = _V(20, 14, 6);  // three different moments: the tumble is not a plain spin
        v.tanks[0].mass = 0;
        v.omega = _V(50, 100, 150) * (kvhost::kDeg * scale);  // 3.3 and 59 rad/s
        const VECTOR3 I = v.pmi * v.Mass();
        auto momentum = [&] { return length(_V(I.x * v.omega.x, I.y * v.omega.y, I.z * v.omega.z)); };
        auto energy = [&] { return dotp(v.omega, _V(I.x * v.omega.x, I.y * v.omega.y, I.z * v.omega.z)); };
        const double L0 = momentum(), E0 = energy();
        Simulation sim(w, {});
        sim.SetTimeAcceleration(10);
        sim.Run(2000);  // 1,000 s
        ASSERT_TRUE(std::isfinite(v.omega.x) && std::isfinite(v.omega.y) && std::isfinite(v.omega.z));
        EXPECT_NEAR(momentum() / L0, 1, 1e-12);
        EXPECT_NEAR(energy() / E0, 1, 1e-3);
        EXPECT_NEAR(length(mul(v.rot, _V(0, 0, 1))), 1, 1e-12);
    }
    // Faster than ten turns a second no vessel turns: the rate stops there, so it saves and reads back.
    World w;
    InUse inUse(w);
    Vessel &v = CourierAtRest(w);
    v.omega = _V(0, 0, 7200 * kvhost::kDeg);
    Simulation sim(w, {});
    sim.Run(1);
    EXPECT_NEAR(length(v.omega), kvhost::kMaxSpinDegrees * kvhost::kDeg, 1e-9);
}

struct WarpCalls {
    static int count;
    static double last[2];
    static void Hook(double n, double o) {
        ++count;
        last[0] = n;
        last[1] = o;
    }
};
int WarpCalls::count = 0;
double WarpCalls::last[2];

TEST(Dynamics, EveryTimeAccelerationChangeIsReported) {
    World w;
    InUse inUse(w);
    scenes::QuietSpace(w);
    kvhost::ModuleHooks hooks;
    hooks.timeAccChanged = WarpCalls::Hook;
    Simulation sim(w, hooks);
    sim.SetTimeAcceleration(10);
    sim.SetTimeAcceleration(10);
    sim.SetTimeAcceleration(1000);
    EXPECT_EQ(WarpCalls::count, 2);
    // The simulator hands the module the new warp as both arguments.
    EXPECT_EQ(WarpCalls::last[0], 1000);
    EXPECT_EQ(WarpCalls::last[1], 1000);
    // The first three frames last 0.01 s of real time, as the simulator's clock starts; then the
    // profile's frames, never more than 0.1 s.
    for (int i = 0; i < 3; ++i) sim.Frame();
    EXPECT_DOUBLE_EQ(sim.simt(), 1000 * 0.03);
    sim.Frame();
    EXPECT_DOUBLE_EQ(sim.simt(), 1000 * (0.03 + sim.frameLength()));
}

// A frame-rate profile: a fixed rate, or a seeded one that varies between two rates; no frame
// counts more than 0.1 s of real time, whatever the rate.
TEST(FrameClock, FramesFollowTheProfileAfterTheFirstThree) {
    kvhost::FrameProfile varying;
    varying.minFps = 30;
    varying.maxFps = 60;
    varying.seed = 7;
    kvhost::FrameClock a(varying), b(varying);
    double lo = 1, hi = 0;
    for (int i = 0; i < 1000; ++i) {
        const double t = a.Next();
        EXPECT_EQ(t, b.Next()) << "the same seed gives the same frames";
        if (i < 3) {
            EXPECT_EQ(t, 0.01);
            continue;
        }
        lo = std::min(lo, t);
        hi = std::max(hi, t);
    }
    EXPECT_GE(lo, 1.0 / 60);
    EXPECT_LE(hi, 1.0 / 30);
    EXPECT_LT(lo, 1.0 / 55);  // it does vary, across the range
    EXPECT_GT(hi, 1.0 / 33);
    kvhost::FrameProfile slow;
    slow.minFps = slow.maxFps = 5;  // below what the commands accept: the cap still holds
    kvhost::FrameClock c(slow);
    for (int i = 0; i < 4; ++i) c.Next();
    EXPECT_EQ(c.Next(), 0.1);
}

}  // namespace
