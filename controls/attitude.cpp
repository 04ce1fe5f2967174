// attitude.cpp: the attitude autopilot and the thruster cut.
//
// The autopilot turns an axis towards zero error at a rate that steps down as it closes in, and
// corrects the rate error within one step where the thrusters allow it. A level that is not a
// number (no moment of inertia and no torque, or a step of no length) is never handed to the
// simulator: a non-number becomes 0 and an infinite level the full level of its sign.
#include "attitude.h"

#include "../model/module_state.h"
#include "../model/ship_table.h"

#include <cmath>

namespace kavrex {

namespace {

// Torque capacity of an axis: attitudeTorque is stored pitch, bank, yaw.
double AxisTorque(const ShipRecord &r, unsigned axis) {
    static const int storage[3] = {0, 2, 1};
    return r.attitudeTorque[storage[axis]];
}

// A level the host can take: a non-number is 0, an infinite level the full level of its sign.
double Finite(double level) {
    if (std::isnan(level)) return 0.0;
    if (std::isinf(level)) return level > 0 ? 1.0 : -1.0;
    return level;
}

// The target turn rate for an error of size |e| (>= 0.1 degree).
double TurnRate(double error) {
    if (error < 0.15 * kDegree) return 0.01 * kDegree;
    if (error < 1 * kDegree) return 0.25 * kDegree;
    if (error < 3 * kDegree) return 0.5 * kDegree;
    if (error < 10 * kDegree) return 1 * kDegree;
    return 2 * kDegree;
}

}  // namespace

bool HoldAttitudeAxis(ShipRecord &r, double angle, unsigned axis) {
    if (axis > 2) return false;
    VESSELSTATUS status;
    r.vessel->GetStatus(status);
    const double omega = status.vrot.data[axis];
    const double e = -angle;
    r.vessel->GetPMI(r.pmi);
    const double settledRate = 0.0001 * kDegree, smallError = 0.1 * kDegree;
    if (!r.attitudeHold) return std::fabs(e) < smallError && std::fabs(omega) < settledRate;

    const double inertia = r.pmi.data[axis], torque = AxisTorque(r, axis), dt = Driver().stepLength;
    if (std::fabs(e) < smallError) {
        if (std::fabs(omega) < settledRate) {
            r.vessel->SetAttitudeRotLevel(static_cast<int>(axis), 0.0);
            return true;
        }
        r.mass = r.vessel->GetMass();
        const double level = Finite(-(r.mass * inertia * omega / dt) / torque);
        r.vessel->SetAttitudeRotLevel(static_cast<int>(axis), std::fmax(-1.0, std::fmin(1.0, level)));
        return false;
    }

    const double rate = TurnRate(std::fabs(e));
    const double band = std::fmin(0.5 * rate, 0.01 * kDegree);
    const double desired = e > 0 ? rate : -rate;
    const double D = desired - omega;
    double level = 0.0;
    if (std::fabs(D) > band) {
        // Capped at +1 when speeding up the turn, floored at -1 when slowing it.
        level = Finite(inertia * r.mass * D / dt / torque);
        level = D > band ? std::fmin(level, 1.0) : std::fmax(level, -1.0);
    }
    r.vessel->SetAttitudeRotLevel(static_cast<int>(axis), level);
    return false;
}

void CutAllThrusters(const ShipRecord &r) {
    VESSEL *v = r.vessel;
    const DWORD count = v->GetThrusterCount();
    for (DWORD i = 0; i < count; ++i) v->SetThrusterLevel(v->GetThrusterHandleByIndex(i), 0.0);
}

}  // namespace kavrex
