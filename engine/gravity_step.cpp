// gravity_step.cpp: accelerations and the midpoint step.
#include "gravity_step.h"

#include <cmath>

namespace kavrex {

namespace {

VECTOR3 ShipAccel(const ModelState &s, const VECTOR3 *pos, const VECTOR3 &ship, const VECTOR3 &thrust) {
    VECTOR3 a = thrust;
    for (uint32_t b = 0; b < s.count; ++b) a += PullTowards(ship, pos[b], s.gm[b]);
    return a;
}

void BodyAccels(const ModelState &s, const VECTOR3 *pos, VECTOR3 *acc) {
    for (uint32_t b = 0; b < s.count; ++b) {
        acc[b] = _V(0, 0, 0);
        for (uint32_t k = 0; k < s.ancestorCount[b]; ++k) {
            const uint32_t a = s.ancestors[b][k];
            acc[b] += PullTowards(pos[b], pos[a], s.gm[a]);
        }
    }
}

}  // namespace

VECTOR3 PullTowards(const VECTOR3 &from, const VECTOR3 &to, double gm) {
    const VECTOR3 d = to - from;
    const double r2 = dotp(d, d);
    if (!(r2 > 0)) return _V(0, 0, 0);
    return d * (gm / (r2 * std::sqrt(r2)));
}

void MidpointStep(ModelState &s, const VECTOR3 &thrust, double dt) {
    const double h = dt / 2;
    VECTOR3 acc[kMaxModelled], midPos[kMaxModelled], midVel[kMaxModelled], accMid[kMaxModelled];

    // Accelerations at the start of the step, then the state at the half step.
    const VECTOR3 A = ShipAccel(s, s.pos, s.shipPos, thrust);
    BodyAccels(s, s.pos, acc);
    for (uint32_t b = 0; b < s.count; ++b) {
        midPos[b] = s.pos[b] + s.vel[b] * h;
        midVel[b] = s.vel[b] + acc[b] * h;  // the star has no acceleration: it coasts
    }
    const VECTOR3 midP = s.shipPos + s.shipVel * h;
    const VECTOR3 midV = s.shipVel + A * h;

    // Accelerations at the midpoint carry the whole step.
    const VECTOR3 Amid = ShipAccel(s, midPos, midP, thrust);
    BodyAccels(s, midPos, accMid);
    s.shipPos += midV * dt;
    s.shipVel += Amid * dt;
    for (uint32_t b = 0; b < s.count; ++b) {
        s.pos[b] += midVel[b] * dt;
        s.vel[b] += accMid[b] * dt;
    }
}

}  // namespace kavrex
