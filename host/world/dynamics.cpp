// dynamics.cpp: integration of vessels between frames.
#include "dynamics.h"

#include "assembly.h"
#include "navmodes.h"
#include "surface.h"

#include "frames.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvhost {

namespace {

// The force (N) and torque (N m, left-handed: F x r) of a vessel's engines in vessel axes, and
// their mass flow (kg/s).
struct EngineOutput {
    VECTOR3 force, torque;
    double massFlow;
};

// Body states at both ends of a frame, for interpolation within it.
struct FrameBodies {
    std::vector<VECTOR3> p0, v0, p1, v1;
    std::vector<double> gm;
    double dt = 0;

    VECTOR3 Position(size_t b, double tau) const {
        if (dt <= 0) return p1[b];
        const double s = tau / dt, s2 = s * s, s3 = s2 * s;
        return p0[b] * (2 * s3 - 3 * s2 + 1) + v0[b] * (dt * (s3 - 2 * s2 + s)) + p1[b] * (-2 * s3 + 3 * s2) +
               v1[b] * (dt * (s3 - s2));
    }
    VECTOR3 Velocity(size_t b, double tau) const {
        if (dt <= 0) return v1[b];
        const double s = tau / dt, s2 = s * s;
        return (p0[b] * (6 * s2 - 6 * s) + p1[b] * (-6 * s2 + 6 * s)) / dt + v0[b] * (3 * s2 - 4 * s + 1) +
               v1[b] * (3 * s2 - 2 * s);
    }
    VECTOR3 Gravity(const VECTOR3 &pos, double tau) const {
        VECTOR3 a = _V(0, 0, 0);
        for (size_t b = 0; b < gm.size(); ++b) {
            const VECTOR3 d = Position(b, tau) - pos;
            const double r2 = dotp(d, d);
            if (r2 > 0) a += d * (gm[b] / (r2 * std::sqrt(r2)));
        }
        return a;
    }
};

struct TranslationState {
    VECTOR3 pos, vel;
    double mass;
};

struct Derivative {
    VECTOR3 dpos, dvel;
    double dmass;
};

Derivative Rates(const FrameBodies &fb, const TranslationState &s, double tau, const VECTOR3 &thrust, double massFlow) {
    return {s.vel, fb.Gravity(s.pos, tau) + thrust / s.mass, -massFlow};
}

TranslationState Add(const TranslationState &s, const Derivative &d, double h) {
    return {s.pos + d.dpos * h, s.vel + d.dvel * h, s.mass + d.dmass * h};
}

// Fraction of each tank's demand that it can meet over h seconds, into `supply` (one entry per
// tank; its storage is reused from sub-step to sub-step).
void TankSupply(const Vessel &v, double h, std::vector<double> &supply) {
    supply.assign(v.tanks.size(), 0.0);
    for (const Thruster &t : v.thrusters)  // first the demand of each tank
        if (t.spec.tank >= 0 && t.spec.tank < static_cast<int>(v.tanks.size()) && t.level > 0)
            supply[t.spec.tank] += t.level * t.spec.max0 / t.spec.exhaustSpeed * h;
    for (size_t k = 0; k < v.tanks.size(); ++k) {
        const double demand = supply[k];
        supply[k] = demand > v.tanks[k].mass ? v.tanks[k].mass / demand : 1.0;
    }
}

EngineOutput EngineForcesWith(const Vessel &v, const std::vector<double> &supply) {
    EngineOutput out = {_V(0, 0, 0), _V(0, 0, 0), 0};
    for (const Thruster &t : v.thrusters) {
        // A thruster on no tank, or on an empty one, gives nothing.
        if (t.spec.tank < 0 || t.spec.tank >= static_cast<int>(v.tanks.size()) || t.level <= 0) continue;
        const double thrust = t.level * t.spec.max0 * supply[t.spec.tank];
        if (thrust <= 0) continue;
        const VECTOR3 f = t.spec.dir * thrust;
        out.force += f;
        out.torque += crossp(f, t.spec.pos);
        out.massFlow += thrust / t.spec.exhaustSpeed;
    }
    return out;
}

void DrainTanks(Vessel &v, const std::vector<double> &supply, double h) {
    for (const Thruster &t : v.thrusters) {
        if (t.spec.tank < 0 || t.spec.tank >= static_cast<int>(v.tanks.size()) || t.level <= 0) continue;
        Tank &tank = v.tanks[t.spec.tank];
        tank.mass = std::max(0.0, tank.mass - t.level * t.spec.max0 * supply[t.spec.tank] / t.spec.exhaustSpeed * h);
    }
}

// R <- R exp(-[w]x h): the left-handed rule, a positive pitch rate lifts the nose to +y.
void Rotate(MATRIX3 &R, const VECTOR3 &w, double h) {
    const double rate = length(w);
    if (!(rate > 0)) return;
    const VECTOR3 k = w / rate;
    const double angle = -rate * h, c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    const MATRIX3 step = {{t * k.x * k.x + c, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y, t * k.x * k.y + s * k.z,
                           t * k.y * k.y + c, t * k.y * k.z - s * k.x, t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x,
                           t * k.z * k.z + c}};
    R = MatrixProduct(R, step);
}

// Gram-Schmidt on the columns, so rounding never lets the attitude shear or stretch.
void Orthonormalize(MATRIX3 &R) {
    VECTOR3 x = _V(R.m11, R.m21, R.m31), y = _V(R.m12, R.m22, R.m32);
    x = unit(x);
    y = unit(y - x * dotp(x, y));
    // A rotation keeps its determinant +1 whatever the frame's handedness: z = x x y.
    const VECTOR3 z = crossp(x, y);
    R = MATRIX3{{x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z}};
}

// Euler's equations in the left-handed convention: I dw/dt = tau + w x (I w).
VECTOR3 SpinRate(const VECTOR3 &I, const VECTOR3 &torque, const VECTOR3 &w) {
    const VECTOR3 Iw = _V(I.x * w.x, I.y * w.y, I.z * w.z);
    const VECTOR3 net = torque + crossp(w, Iw);
    VECTOR3 dw = _V(0, 0, 0);
    for (int a = 0; a < 3; ++a)
        if (I.data[a] > 0) dw.data[a] = net.data[a] / I.data[a];
    return dw;
}

double AngularMomentum(const VECTOR3 &I, const VECTOR3 &w) { return length(_V(I.x * w.x, I.y * w.y, I.z * w.z)); }

// Turning at most this far per rotation step keeps RK4 on Euler's equations accurate; the
// count is capped so that no spin, however fast, can stall a frame.
constexpr double kMaxTurnPerStep = 0.05;  // rad
constexpr int kMaxRotationSteps = 256;

// Attitude and rate over h: RK4 on Euler's equations in steps short for the spin. Without
// torque the gyroscopic term keeps |I w| exactly, so each step restores it after the torque's
// own change: the rate stays finite however fast the vessel spins.
void AdvanceAttitude(Vessel &v, const VECTOR3 &torque, double mass, double h) {
    const VECTOR3 I = v.pmi * mass;
    const double rate = length(v.omega);
    const int n =
        static_cast<int>(std::min<double>(kMaxRotationSteps, std::max(1.0, std::ceil(rate * h / kMaxTurnPerStep))));
    const double s = h / n;
    const VECTOR3 none = _V(0, 0, 0);
    for (int i = 0; i < n; ++i) {
        VECTOR3 w = v.omega;
        const double L = AngularMomentum(I, w);
        const VECTOR3 k1 = SpinRate(I, none, w), k2 = SpinRate(I, none, w + k1 * (s / 2));
        const VECTOR3 k3 = SpinRate(I, none, w + k2 * (s / 2)), k4 = SpinRate(I, none, w + k3 * s);
        w += (k1 + k2 * 2 + k3 * 2 + k4) * (s / 6);
        const double L1 = AngularMomentum(I, w);
        if (L1 > 0 && std::isfinite(L1)) w = w * (L / L1);
        for (int a = 0; a < 3; ++a)
            if (I.data[a] > 0) w.data[a] += torque.data[a] / I.data[a] * s;
        const double spin = length(w), limit = kMaxSpinDegrees * kDeg;
        if (spin > limit) w = w * (limit / spin);
        v.omega = w;
        Rotate(v.rot, v.omega, s);
    }
}

// The sub-step for a vessel: at most 1 s and 1/500 of an orbit about the nearest body's centre.
double SubStep(const World &w, const Vessel &v) {
    double h = kMaxSubStep;
    for (int b = 0; b < w.BodyCount(); ++b) {
        const double r = length(v.pos - w.body(b).pos), mu = kG * w.body(b).mass;
        if (mu > 0 && r > 0) h = std::min(h, 2 * kPi * std::sqrt(r * r * r / mu) / 500);
    }
    return h;
}

// A vessel in free flight that has reached a body's surface (its gear has): crashed when it sinks
// into the turning ground fast; otherwise held on it, rolling along it until the ground's grip
// stops it, and landed once it has rested 5 s with no thrust (as the simulator lands a vessel
// again). The body it is down on for good, with `down` its status; -1 while it flies or is only
// held.
int Touchdown(World &w, Vessel &v, const FrameBodies &fb, double tau, double h, bool thrust, VesselStatus &down) {
    for (int b = 0; b < w.BodyCount(); ++b) {
        const VECTOR3 bp = fb.Position(static_cast<size_t>(b), tau), bv = fb.Velocity(static_cast<size_t>(b), tau);
        const VECTOR3 rel = v.pos - bp;
        // The ground meets the vessel's gear: its origin at the class's height on its gear.
        const double r = length(rel), radius = w.body(b).radius, reach = radius + v.restHeight;
        if (!(r < reach) || radius <= 0) continue;
        const VECTOR3 up = r > 0 ? rel / r : _V(0, 1, 0);
        const VECTOR3 ground = SurfaceVelocityAt(w.body(b), w.body(b).pos + rel) - w.body(b).vel + bv;
        const VECTOR3 moving = v.vel - ground;
        const double sinking = -dotp(moving, up);
        v.pos = bp + up * reach;
        // Into the ground too fast: a crash. Along it the gear rolls, slowed by the ground's grip.
        if (sinking > kLandingSpeed) {
            v.touchdownSpeed = length(moving);
            down = VesselStatus::Crashed;
            return b;
        }
        VECTOR3 sliding = moving - up * dotp(moving, up);
        const double slide = length(sliding), grip = kGroundGrip * kG * w.body(b).mass / (reach * reach) * h;
        sliding = slide > grip ? sliding * ((slide - grip) / slide) : _V(0, 0, 0);
        // Held on the ground: it moves with the surface, and rests once nothing pushes or rolls it.
        v.vel = ground + sliding;
        if (!v.restSeconds) v.touchdownSpeed = length(moving);
        v.restSeconds = thrust || length(sliding) > 0 ? 0 : v.restSeconds + h;
        down = VesselStatus::Landed;
        return v.restSeconds >= kSettleSeconds ? b : -1;
    }
    v.restSeconds = 0;
    return -1;
}

// Any thrust or torque of the engines sets a landed vessel free, however weak, as in the
// simulator: whatever cannot lift it, the ground then holds.
bool EnginesPush(Vessel &v) {
    std::vector<double> supply;
    TankSupply(v, 0, supply);
    const EngineOutput e = EngineForcesWith(v, supply);
    return length(e.force) > 0 || length(e.torque) > 0;
}

// What the other members of a docked stack add to its leader: their mass, and their engines'
// thrust and torque in the leader's frame (held over the frame), their tanks drained for it.
struct StackPush {
    double mass = 0;
    VECTOR3 force = {{0, 0, 0}}, torque = {{0, 0, 0}};
    double massFlow = 0;
};

StackPush MembersPush(World &w, int leader, double dt) {
    StackPush push;
    std::vector<double> supply;
    for (int i = 0; i < w.VesselCount(); ++i) {
        Vessel &m = w.vessel(i);
        if (i == leader || m.mooring.leader != leader) continue;
        push.mass += m.Mass();
        TankSupply(m, dt, supply);
        const EngineOutput e = EngineForcesWith(m, supply);
        DrainTanks(m, supply, dt);
        // Turned into the leader's frame; its torque about the member's origin, and the force's
        // about the leader's through the member's place.
        const VECTOR3 f = mul(m.mooring.rot, e.force);
        push.force += f;
        push.torque += mul(m.mooring.rot, e.torque) + crossp(f, m.mooring.offset);
        push.massFlow += e.massFlow;
    }
    return push;
}

void AdvanceVessel(World &w, Vessel &v, const FrameBodies &fb, const StackPush &stack) {
    const double dt = fb.dt;
    if (v.status != VesselStatus::Flying && v.landedOn >= 0) {
        const bool stackPushes = length(stack.force) > 0 || length(stack.torque) > 0;
        if (v.status == VesselStatus::Crashed || (!EnginesPush(v) && !stackPushes)) {
            // Carried round with the surface it stands on.
            StandOn(w, v);
            return;
        }
        // Lift-off: free flight from where it stood, its pad left.
        v.status = VesselStatus::Flying;
        v.landedOn = -1;
        v.footing.pad = -1;
        v.omega = _V(0, 0, 0);
        v.restSeconds = 0;
    }
    const int n = std::max(1, static_cast<int>(std::ceil(dt / SubStep(w, v) - 1e-9)));
    const double h = dt / n;
    std::vector<double> supply;
    for (int i = 0; i < n; ++i) {
        const double tau = i * h;
        TankSupply(v, h, supply);
        EngineOutput e = EngineForcesWith(v, supply);
        e.force += stack.force;
        e.torque += stack.torque;
        const VECTOR3 thrust = mul(v.rot, e.force);
        const double flow = e.massFlow + stack.massFlow;
        const TranslationState s0 = {v.pos, v.vel, v.Mass() + stack.mass};
        const Derivative k1 = Rates(fb, s0, tau, thrust, flow);
        const Derivative k2 = Rates(fb, Add(s0, k1, h / 2), tau + h / 2, thrust, flow);
        const Derivative k3 = Rates(fb, Add(s0, k2, h / 2), tau + h / 2, thrust, flow);
        const Derivative k4 = Rates(fb, Add(s0, k3, h), tau + h, thrust, flow);
        v.pos = s0.pos + (k1.dpos + k2.dpos * 2 + k3.dpos * 2 + k4.dpos) * (h / 6);
        v.vel = s0.vel + (k1.dvel + k2.dvel * 2 + k3.dvel * 2 + k4.dvel) * (h / 6);
        AdvanceAttitude(v, e.torque, s0.mass, h);
        DrainTanks(v, supply, h);
        const bool pushed = length(e.force) > 0 || length(e.torque) > 0;
        VesselStatus down = VesselStatus::Flying;
        const int b = Touchdown(w, v, fb, tau + h, h, pushed, down);
        if (b >= 0) {
            // Down part-way through the frame: it stays at the point where it came down, carried
            // with the body to the frame's end.
            v.pos += fb.Position(static_cast<size_t>(b), dt) - fb.Position(static_cast<size_t>(b), tau + h);
            SettleOn(w, v, b, down);
            break;
        }
    }
    Orthonormalize(v.rot);
}

}  // namespace

void AdvanceWorld(World &world, double dt) {
    if (!(dt > 0)) return;
    FrameBodies fb;
    fb.dt = dt;
    for (int b = 0; b < world.BodyCount(); ++b) {
        fb.p0.push_back(world.body(b).pos);
        fb.v0.push_back(world.body(b).vel);
        fb.gm.push_back(kG * world.body(b).mass);
    }
    world.Advance(dt);
    for (int b = 0; b < world.BodyCount(); ++b) {
        fb.p1.push_back(world.body(b).pos);
        fb.v1.push_back(world.body(b).vel);
    }
    // A crashed vessel moves on only with the body it lies on (it cannot lift off). A docked
    // stack flies as its leader, under every member's engines; its members and attached children
    // are carried.
    for (int i = 0; i < world.VesselCount(); ++i) HoldNavmodes(world, world.vessel(i), dt);
    for (int i = 0; i < world.VesselCount(); ++i) {
        Vessel &v = world.vessel(i);
        if (v.mooring.parent >= 0 || (v.mooring.leader >= 0 && v.mooring.leader != i)) continue;
        AdvanceVessel(world, v, fb, v.mooring.leader == i ? MembersPush(world, i, dt) : StackPush());
    }
    PlaceMoored(world);
    // After every vessel has moved, as the simulator's post-step does.
    for (int i = 0; i < world.VesselCount(); ++i) world.UpdateGravityRef(world.vessel(i));
}

}  // namespace kvhost
