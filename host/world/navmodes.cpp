// navmodes.cpp: the attitude holds of the cockpit's navigation modes.
//
// Each pointing mode asks for a turn rate that closes the angle to its wanted attitude, no
// faster than the vessel's thrusters can stop again in the angle left (and at most 5 degrees a
// second), and sets each axis's thrusters to reach that rate within the frame. The sense of a
// rate follows the host's rotation rule: a body-frame vector u moves as du/dt = w x u, so the
// rate k * (u x t) turns u towards t.
#include "navmodes.h"

#include "world.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvhost {

namespace {

constexpr double kMaxRate = 5 * 3.14159265358979323846 / 180;  // rad/s
constexpr double kGain = 0.5;                                  // 1/s: rate per radian of error
constexpr double kStill = 1e-4;                                // rad/s: rotation killed

const THGROUP_TYPE kPositive[3] = {THGROUP_ATT_PITCHUP, THGROUP_ATT_YAWLEFT, THGROUP_ATT_BANKRIGHT};
const THGROUP_TYPE kNegative[3] = {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_YAWRIGHT, THGROUP_ATT_BANKLEFT};

int Bit(int mode) { return 1 << mode; }

// Angular acceleration about `axis` that the positive group gives at full level, rad/s^2.
double AxisAcceleration(const Vessel &v, int axis) {
    VECTOR3 torque = _V(0, 0, 0);
    for (int i : v.groups[kPositive[axis]]) {
        const ThrusterSpec &s = v.thrusters[i].spec;
        torque += crossp(s.dir * s.max0, s.pos);
    }
    const double inertia = v.pmi.data[axis] * v.Mass();
    return inertia > 0 ? torque.data[axis] / inertia : 0;
}

// The body-frame rate that turns body-frame direction `now` onto body-frame direction `want`.
VECTOR3 TurnRate(const Vessel &v, const VECTOR3 &now, const VECTOR3 &want) {
    const VECTOR3 axis = crossp(now, want);
    const double s = length(axis), angle = std::atan2(s, dotp(now, want));
    if (!(s > 1e-12)) return angle > 1 ? _V(1e-3, 0, 0) : _V(0, 0, 0);  // exactly opposite: start a turn
    VECTOR3 rate = axis / s;
    for (int a = 0; a < 3; ++a) {
        // The rate along each axis is capped so that the thrusters can still stop it in time.
        const double alpha = std::fabs(AxisAcceleration(v, a)), part = angle * std::fabs(rate.data[a]);
        const double most = std::min({kMaxRate, kGain * part, std::sqrt(2 * alpha * part * 0.5)});
        rate.data[a] = rate.data[a] > 0 ? most : -most;
    }
    return rate;
}

// Each axis's level goes to its groups' thrusters; a thruster that serves two axes' groups (as
// the Shuttle-PB's do) gets the sum, as the simulator adds the holds' group overrides.
void DriveRates(Vessel &v, const VECTOR3 &wanted, double dt) {
    const double response = std::max(dt, 0.5);  // s within which a rate error is closed
    std::vector<double> level(v.thrusters.size(), 0.0);
    std::vector<bool> used(v.thrusters.size(), false);
    for (int a = 0; a < 3; ++a) {
        const double alpha = AxisAcceleration(v, a);
        const double l =
            std::fabs(alpha) > 0 ? std::clamp((wanted.data[a] - v.omega.data[a]) / (alpha * response), -1.0, 1.0) : 0.0;
        for (int i : v.groups[kPositive[a]]) level[i] += std::max(0.0, l), used[i] = true;
        for (int i : v.groups[kNegative[a]]) level[i] += std::max(0.0, -l), used[i] = true;
    }
    for (size_t i = 0; i < level.size(); ++i)
        if (used[i]) SetThrusterLevel(v, static_cast<int>(i), level[i]);
}

}  // namespace

const char *NavmodeName(int mode) {
    static const char *const names[kNavmodeCount + 1] = {"", "KILLROT", "HLEVEL", "PROGRADE", "RETROGRADE"};
    return mode >= 1 && mode <= kNavmodeCount ? names[mode] : "";
}

bool NavmodeActive(const Vessel &v, int mode) { return mode >= 1 && mode <= kNavmodeCount && (v.navmodes & Bit(mode)); }

bool SetNavmode(Vessel &v, int mode, bool on) {
    if (mode < 1 || mode > kNavmodeCount) return false;
    if (on) {
        // One pointing mode at a time; kill rotation gives way to any of them.
        v.navmodes &= ~(Bit(kNavKillRot) | Bit(kNavHorizonLevel) | Bit(kNavPrograde) | Bit(kNavRetrograde));
        v.navmodes |= Bit(mode);
    } else {
        v.navmodes &= ~Bit(mode);
        if (v.navmodes == 0)
            for (int a = 0; a < 3; ++a) SetRotationLevel(v, a, 0);
    }
    return true;
}

void ClearNavmodes(Vessel &v) {
    if (v.navmodes == 0) return;
    v.navmodes = 0;
    for (int a = 0; a < 3; ++a) SetRotationLevel(v, a, 0);
}

void SetRotationLevel(Vessel &v, int axis, double level) {
    if (axis < 0 || axis > 2) return;
    const bool positiveOn = level > 0 || std::isnan(level);
    for (int i : v.groups[kPositive[axis]]) SetThrusterLevel(v, i, positiveOn ? level : 0);
    for (int i : v.groups[kNegative[axis]]) SetThrusterLevel(v, i, level < 0 ? -level : 0);
}

void HoldNavmodes(const World &w, Vessel &v, double dt) {
    if (v.navmodes == 0) return;
    // A wreck has nothing to turn; a landed vessel's holds fire its thrusters, which lift it off
    // the ground, as in the simulator.
    if (v.status == VesselStatus::Crashed || v.gravityRef < 0) {
        ClearNavmodes(v);
        return;
    }
    const Body &ref = w.body(v.gravityRef);
    VECTOR3 wanted = _V(0, 0, 0);
    if (NavmodeActive(v, kNavKillRot)) {
        if (length(v.omega) < kStill) {
            SetNavmode(v, kNavKillRot, false);  // done: the simulator ends the mode itself
            return;
        }
    } else if (NavmodeActive(v, kNavHorizonLevel)) {
        wanted = TurnRate(v, tmul(v.rot, unit(v.pos - ref.pos)), _V(0, 1, 0));
    } else {
        const VECTOR3 along = tmul(v.rot, unit(v.vel - ref.vel));
        wanted = TurnRate(v, NavmodeActive(v, kNavPrograde) ? along : -along, _V(0, 0, 1));
    }
    DriveRates(v, wanted, dt);
}

}  // namespace kvhost
