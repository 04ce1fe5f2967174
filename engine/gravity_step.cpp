// gravity_step.cpp: accelerations and the midpoint step.
#include "gravity_step.h"

#include "../model/portability.h"

#include <cmath>

namespace kavrex {

namespace {

// gm * (to - from) / |to - from|^3 with |to - from| in `distance`; zero when the points coincide.
KAVREX_INLINE VECTOR3 Pull(const VECTOR3 &from, const VECTOR3 &to, double gm, double &distance) {
    const VECTOR3 d = to - from;
    const double r2 = dotp(d, d);
    distance = std::sqrt(r2);
    if (!(r2 > 0)) return _V(0, 0, 0);
    return d * (gm / (r2 * distance));
}

KAVREX_INLINE VECTOR3 ShipAccel(const ModelState &s, const VECTOR3 *pos, const VECTOR3 &ship, const VECTOR3 &thrust,
                                double *distance) {
    VECTOR3 a = thrust;
    for (uint32_t b = 0; b < s.count; ++b) a += Pull(ship, pos[b], s.gm[b], distance[b]);
    return a;
}

KAVREX_INLINE void BodyAccels(const ModelState &s, const VECTOR3 *pos, VECTOR3 *acc) {
    for (uint32_t b = 0; b < s.count; ++b) {
        acc[b] = _V(0, 0, 0);
        for (uint32_t k = 0; k < s.ancestorCount[b]; ++k) {
            const uint32_t a = s.ancestors[b][k];
            double distance;
            acc[b] += Pull(pos[b], pos[a], s.gm[a], distance);
        }
    }
}

}  // namespace

void StartStep(const ModelState &s, const VECTOR3 &thrust, StepStart &out) {
    out.shipAcc = ShipAccel(s, s.pos, s.shipPos, thrust, out.shipDistance);
    BodyAccels(s, s.pos, out.bodyAcc);
}

void FinishStep(ModelState &s, const VECTOR3 &thrust, const StepStart &start, double dt) {
    const double h = dt / 2;
    VECTOR3 midPos[kMaxModelled], midVel[kMaxModelled], accMid[kMaxModelled];
    double distance[kMaxModelled];

    // The state at the half step.
    for (uint32_t b = 0; b < s.count; ++b) {
        midPos[b] = s.pos[b] + s.vel[b] * h;
        midVel[b] = s.vel[b] + start.bodyAcc[b] * h;  // the star has no acceleration: it coasts
    }
    const VECTOR3 midP = s.shipPos + s.shipVel * h;
    const VECTOR3 midV = s.shipVel + start.shipAcc * h;

    // Accelerations at the midpoint carry the whole step.
    const VECTOR3 Amid = ShipAccel(s, midPos, midP, thrust, distance);
    BodyAccels(s, midPos, accMid);
    s.shipPos += midV * dt;
    s.shipVel += Amid * dt;
    for (uint32_t b = 0; b < s.count; ++b) {
        s.pos[b] += midVel[b] * dt;
        s.vel[b] += accMid[b] * dt;
    }
}

void MidpointStep(ModelState &s, const VECTOR3 &thrust, double dt) {
    StepStart start;
    StartStep(s, thrust, start);
    FinishStep(s, thrust, start, dt);
}

}  // namespace kavrex
