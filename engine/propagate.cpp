// propagate.cpp: the prediction loop and its step control.
#include "propagate.h"

#include "../model/module_state.h"
#include "../model/units.h"
#include "gravity_step.h"
#include "segment_minimum.h"

#include <algorithm>

namespace kavrex {

namespace {

Computation &Comp() { return Module().computation; }

// The slot of a list index among the modelled bodies; 0 (the star's) when it is not modelled.
uint32_t SlotOf(const ModelState &m, BodyIndex listIndex) {
    for (uint32_t s = 1; s < m.count; ++s)
        if (m.listIndex[s] == listIndex) return s;
    return 0;
}

// Slot 0 is the star; then the variant's bodies, each pulled by its ancestors among them.
void SetUpModel(const ShipRecord &r, const VariantBodies &vb, ModelState &m) {
    m.count = 1;
    m.listIndex[0] = 0;
    for (uint32_t i = 0; i < vb.modelledCount && m.count < kMaxModelled; ++i) m.listIndex[m.count++] = vb.modelled[i];
    for (uint32_t s = 0; s < m.count; ++s) {
        const BodyEntry &e = r.bodies[m.listIndex[s]];
        m.gm[s] = e.gm;
        oapiGetGlobalPos(e.handle, &m.pos[s]);
        oapiGetGlobalVel(e.handle, &m.vel[s]);
        m.ancestorCount[s] = 0;
        if (s == 0) continue;
        m.ancestors[s][m.ancestorCount[s]++] = 0;
        const uint32_t planet = e.parent != 0 ? SlotOf(m, e.parent) : 0;
        if (planet > 0) m.ancestors[s][m.ancestorCount[s]++] = planet;
    }
    oapiGetGlobalPos(r.vesselHandle, &m.shipPos);
    oapiGetGlobalVel(r.vesselHandle, &m.shipVel);
}

// Writes the staged points from stagedFrom up to (not including) end into the tracks.
void FlushStaged(TrajectoryBuffer &w, Computation &c, const ModelState &m, uint32_t end) {
    const uint32_t from = c.stagedFrom, n = end - from;
    for (uint32_t s = 0; s < m.count; ++s) {
        std::copy(c.stagedPos[s], c.stagedPos[s] + n, w.bodyTrack[m.listIndex[s]] + from);
        std::copy(c.stagedVel[s], c.stagedVel[s] + n, w.bodyTrackVel[m.listIndex[s]] + from);
    }
    std::copy(c.stagedShipPos, c.stagedShipPos + n, w.shipTrack + from);
    std::copy(c.stagedShipVel, c.stagedShipVel + n, w.shipTrackVel + from);
    c.stagedFrom = end;
}

void StorePoint(TrajectoryBuffer &w, Computation &c, const ModelState &m, uint32_t k) {
    const uint32_t j = k - c.stagedFrom;
    for (uint32_t s = 0; s < m.count; ++s) {
        c.stagedPos[s][j] = m.pos[s];
        c.stagedVel[s][j] = m.vel[s];
    }
    c.stagedShipPos[j] = m.shipPos;
    c.stagedShipVel[j] = m.shipVel;
    if (j + 1 == kStagedPoints) FlushStaged(w, c, m, k + 1);
}

// The least distance to each watched body over the step that ends at point k (at point 0, the
// point itself). A minimum inside the step counts with its own distance and moment, so that a
// fast ship cannot step over a body; closestIndex names the stored end nearer to it.
// The point's states are the model's own (the tracks get them a block later), its distances
// those of the step's start; watchedSlot holds each watched body's slot in the model.
void RecordClosestApproaches(const ShipRecord &r, TrajectoryBuffer &w, Computation &c, const ModelState &model,
                             const VariantBodies &vb, const uint32_t *watchedSlot, const StepStart &start, uint32_t k,
                             double stepLength) {
    const double *pointMjd = c.pointMjd;
    for (uint32_t i = 0; i < vb.watchedCount; ++i) {
        const BodyIndex b = vb.watched[i];
        const VECTOR3 pointRel = model.pos[watchedSlot[i]] - model.shipPos;
        VECTOR3 rel = pointRel;
        const VECTOR3 relVel = model.vel[watchedSlot[i]] - model.shipVel;
        uint32_t index = k;
        double mjd = pointMjd[k];
        double d = start.shipDistance[watchedSlot[i]];
        SegmentMinimum m;
        if (k > 0 && StepMayHoldMinimum(c.lastRel[i], c.lastRelVel[i], rel, relVel, stepLength) &&
            LeastDistanceInStep(c.lastRel[i], c.lastRelVel[i], rel, relVel, stepLength, m) && length(m.rel) < d) {
            rel = m.rel;
            d = length(rel);
            index = m.fraction < 0.5 ? k - 1 : k;
            mjd = pointMjd[k - 1] + m.fraction * stepLength / kSecondsPerDay;
        }
        // The point's own relative state, for the next step's test.
        c.lastRel[i] = pointRel;
        c.lastRelVel[i] = relVel;
        if (!(d < c.closestDistance[b])) continue;
        w.closestIndex[b] = index;
        w.closestRel[b] = rel;
        c.closestDistance[b] = d;
        w.arrivalMjd = mjd;
        if (d < r.bodies[b].radius) w.impact = true;
    }
}

}  // namespace

VECTOR3 PredictionThrust(const ShipRecord &r) {
    if (!r.attitudeHold && !r.kvEngaged) return _V(0, 0, 0);
    const uint32_t T = ListIndex(r, r.targetBody);
    const VECTOR3 dir = r.directionAdjust ? r.shipVel - r.bodyVel[T] : r.bodyRelPos[T];
    const double len = length(dir);
    // The target at the ship's position, or no motion relative to it: no direction to push in.
    if (!(len > 0)) return _V(0, 0, 0);
    const double g = r.invertDirection ? -r.artGee : r.artGee;
    return dir * (g / len);
}

void UpdateStepControl(TrajectoryBuffer &w) {
    Computation &c = Comp();
    const uint32_t N = c.numSteps;
    const uint32_t k = ++c.k;
    const uint32_t sinceClosest = k - w.closestIndex[c.target];
    if (sinceClosest <= kPointsAfterClosest && !w.impact)
        w.pointCount = std::min<uint32_t>(w.pointCount + 1, N);
    else
        w.pointCount = k;  // stops the computation at once

    double dt = 128;
    if (w.pointCount < N / 4) {
        dt = 64;
        if (w.pointCount < N / 8) {
            dt = 32;
            if (w.pointCount < N / 16) dt = 16;
        }
    }
    c.dt = dt * c.weightFactor;
}

namespace {

// Strong gravity where the ship is now: the steps are halved once for each of the marks 0.5, 1,
// 2, 4 and 7 m/s^2 that its weight per mass passes, down to 1/32.
double WeightFactor(const VECTOR3 &weightAccel) {
    const double g = length(weightAccel);
    double factor = 1;
    for (double limit : {0.5, 1.0, 2.0, 4.0, 7.0}) {
        if (!(g > limit)) break;
        factor /= 2;
    }
    return factor;
}

}  // namespace

void Propagate(ShipRecord &r, const VariantBodies &vb) {
    TrajectoryBuffer &w = r.work;
    Computation &c = Comp();
    c.record = &r;
    SetUpModel(r, vb, c.model);
    c.startMjd = oapiGetSimMJD();
    c.t = 0;
    c.k = 0;
    // The keys keep numSteps within 128..8192; the buffer bound holds whatever it is.
    c.numSteps = std::min<uint32_t>(r.numSteps, kMaxPoints);
    c.target = ListIndex(r, r.targetBody);
    c.weightFactor = WeightFactor(Driver().weightAccel);
    c.stagedFrom = 0;
    w.impact = false;
    w.pointCount = 128;
    // Every watched body is modelled (the star in slot 0).
    uint32_t watchedSlot[kMaxWatched];
    for (uint32_t i = 0; i < vb.watchedCount; ++i) {
        watchedSlot[i] = SlotOf(c.model, vb.watched[i]);
        w.closestRel[vb.watched[i]] = _V(1e40, 1e40, 1e40);
        w.closestIndex[vb.watched[i]] = 0;
        c.closestDistance[vb.watched[i]] = length(w.closestRel[vb.watched[i]]);
    }
    const VECTOR3 thrust = PredictionThrust(r);
    // The loop steps a copy of the model, which no store into the buffers can be taken to touch.
    ModelState m = c.model;
    for (;;) {
        const uint32_t k = c.k;
        StorePoint(w, c, m, k);
        c.pointMjd[k] = c.startMjd + c.t / kSecondsPerDay;
        StepStart start;
        StartStep(m, thrust, start);
        RecordClosestApproaches(r, w, c, m, vb, watchedSlot, start, k, c.dt);  // c.dt: the step that led to point k
        UpdateStepControl(w);
        c.t += c.dt;
        FinishStep(m, thrust, start, c.dt);
        if (w.pointCount <= c.k) break;
    }
    FlushStaged(w, c, m, c.k);
    c.model = m;
}

double PredictionPointMjd(uint32_t k) { return k < kMaxPoints ? Comp().pointMjd[k] : 0; }

void HandOverTrajectory(ShipRecord &r) {
    const TrajectoryBuffer &w = r.work;
    TrajectoryBuffer &d = r.display;
    if (Comp().record != &r) {
        // No computation of this record to go by: the literal, whole copy.
        const uint32_t handOvers = d.handOvers;
        d = w;
        d.handOvers = handOvers + 1;
        d.ready = true;
        return;
    }
    d.impact = w.impact;
    d.variant = w.variant;
    d.arrivalMjd = w.arrivalMjd;
    d.pointCount = w.pointCount;
    std::copy(w.closestIndex, w.closestIndex + kMaxBodies, d.closestIndex);
    std::copy(w.closestRel, w.closestRel + kMaxBodies, d.closestRel);
    const uint32_t n = std::min<uint32_t>(w.pointCount, kMaxPoints);
    std::copy(w.shipTrack, w.shipTrack + n, d.shipTrack);
    std::copy(w.shipTrackVel, w.shipTrackVel + n, d.shipTrackVel);
    const ModelState &m = Comp().model;
    for (uint32_t s = 0; s < m.count; ++s) {
        const BodyIndex b = m.listIndex[s];
        std::copy(w.bodyTrack[b], w.bodyTrack[b] + n, d.bodyTrack[b]);
        std::copy(w.bodyTrackVel[b], w.bodyTrackVel[b] + n, d.bodyTrackVel[b]);
    }
    ++d.handOvers;
    d.ready = true;
}

}  // namespace kavrex
