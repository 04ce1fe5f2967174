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

// Writes the first n staged points into the tracks from point stagedFrom on.
inline void FlushStaged(TrajectoryBuffer &w, Computation &c, const ModelState &m, uint32_t n) {
    const uint32_t from = c.stagedFrom;
    for (uint32_t s = 0; s < m.count; ++s) {
        std::copy(c.stagedPos[s], c.stagedPos[s] + n, w.bodyTrack[m.listIndex[s]] + from);
        std::copy(c.stagedVel[s], c.stagedVel[s] + n, w.bodyTrackVel[m.listIndex[s]] + from);
    }
    std::copy(c.stagedShipPos, c.stagedShipPos + n, w.shipTrack + from);
    std::copy(c.stagedShipVel, c.stagedShipVel + n, w.shipTrackVel + from);
    c.stagedFrom = from + n;
}

// Keeps the model's state as staged point j; a full block goes to the tracks.
inline void StorePoint(TrajectoryBuffer &w, Computation &c, const ModelState &m, uint32_t j) {
    for (uint32_t s = 0; s < m.count; ++s) {
        c.stagedPos[s][j] = m.pos[s];
        c.stagedVel[s][j] = m.vel[s];
    }
    c.stagedShipPos[j] = m.shipPos;
    c.stagedShipVel[j] = m.shipVel;
    if (j + 1 == kStagedPoints) FlushStaged(w, c, m, kStagedPoints);
}

// A watched body in a computation: its slot in the model, its radius, its rate at the last
// point and its closest approach so far. Kept beside the loop and written to the buffer once,
// at the end. A closest approach at a stored point keeps only its index, its relative position
// read back from the tracks at the end; one inside a step keeps its own.
struct Watch {
    uint32_t slot;
    double radius;
    double lastRate;  // the last point's rate (below)
    double closest;   // the distance of the closest approach
    uint32_t index;
    bool inStep;  // the closest approach lies inside a step (or none is found yet): inStepRel
    VECTOR3 inStepRel;
};

// What the closest approaches say for the step control and the buffer's header.
struct Approach {
    bool impact;
    // The newest closest approach of any watched body: the point's own moment unless it lay
    // inside a step (or none is found yet), when arrivalMjd holds it.
    uint32_t arrivalPoint;
    double arrivalMjd;
};

constexpr uint32_t kInsideAStep = ~0u;

// The least distance to each watched body over the step that ends at point k (at point 0, the
// point itself). A minimum inside the step counts with its own distance and moment, so that a
// fast ship cannot step over a body; the index names the stored end nearer to it.
// The point's states are the model's own (the tracks get them a block later), its distances
// those of the step's start; the last point's states are still staged.
inline void RecordClosestApproaches(Watch *watch, uint32_t count, Approach &a, const Computation &c,
                                    const ModelState &model, const StepStart &start, uint32_t k, double stepLength) {
    for (uint32_t i = 0; i < count; ++i) {
        Watch &x = watch[i];
        const VECTOR3 rel = model.pos[x.slot] - model.shipPos;
        const VECTOR3 relVel = model.vel[x.slot] - model.shipVel;
        double d = start.shipDistance[x.slot];
        // Only a step whose distance falls at its start and grows at its end holds a minimum
        // inside it. The rate at a point: its relative position against its velocity. The
        // step's own test takes the velocity times the step's length, always a power of two
        // seconds, which scales the rate exactly and so keeps its sign.
        const double rate = dotp(rel, relVel);
        const bool fallsThenGrows = k > 0 && x.lastRate < 0 && rate > 0;
        x.lastRate = rate;
        SegmentMinimum m;
        if (fallsThenGrows) {
            const uint32_t last = (k - 1) % kStagedPoints;
            const VECTOR3 lastRel = c.stagedPos[x.slot][last] - c.stagedShipPos[last];
            const VECTOR3 lastRelVel = c.stagedVel[x.slot][last] - c.stagedShipVel[last];
            if (LeastDistanceInStep(lastRel, lastRelVel, rel, relVel, stepLength, m) && length(m.rel) < d) {
                d = length(m.rel);
                if (!(d < x.closest)) continue;
                x.closest = d;
                x.index = m.fraction < 0.5 ? k - 1 : k;
                x.inStep = true;
                x.inStepRel = m.rel;
                a.arrivalPoint = kInsideAStep;
                a.arrivalMjd = c.pointMjd[k - 1] + m.fraction * stepLength / kSecondsPerDay;
                if (d < x.radius) a.impact = true;
                continue;
            }
        }
        if (!(d < x.closest)) continue;
        x.closest = d;
        x.index = k;
        x.inStep = false;
        a.arrivalPoint = k;
        if (d < x.radius) a.impact = true;
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

namespace {

// The step control after point k: moves the stop bound and gives the length of the next step.
// N and weightFactor: the computation's point bound and step shortening; closestOfTarget: the
// index of the target's closest approach so far.
inline double StepControl(uint32_t N, double weightFactor, uint32_t &pointCount, uint32_t k, uint32_t closestOfTarget,
                          bool impact) {
    if (k - closestOfTarget <= kPointsAfterClosest && !impact)
        pointCount = std::min<uint32_t>(pointCount + 1, N);
    else
        pointCount = k;  // stops the computation at once

    double dt = 128;
    if (pointCount < N / 4) {
        dt = 64;
        if (pointCount < N / 8) {
            dt = 32;
            if (pointCount < N / 16) dt = 16;
        }
    }
    return dt * weightFactor;
}

}  // namespace

void UpdateStepControl(TrajectoryBuffer &w) {
    Computation &c = Comp();
    ++c.k;
    c.dt = StepControl(c.numSteps, c.weightFactor, w.pointCount, c.k, w.closestIndex[c.target], w.impact);
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
    // Every watched body is modelled (the star in slot 0).
    Watch watch[kMaxWatched];
    uint32_t targetWatch = 0;
    for (uint32_t i = 0; i < vb.watchedCount; ++i) {
        const BodyIndex b = vb.watched[i];
        watch[i].slot = SlotOf(c.model, b);
        watch[i].radius = r.bodies[b].radius;
        watch[i].lastRate = 0;
        watch[i].inStep = true;  // none found yet: the far mark below
        watch[i].inStepRel = _V(1e40, 1e40, 1e40);
        watch[i].closest = length(watch[i].inStepRel);
        watch[i].index = 0;
        if (b == c.target) targetWatch = i;
    }
    Approach approach = {false, kInsideAStep, w.arrivalMjd};
    const VECTOR3 thrust = PredictionThrust(r);
    // The loop steps a copy of the model and keeps its counters and its watch in locals, which no
    // store into the buffers and no call of the gravity can be taken to touch. The copy starts a
    // page, so the loop's frame lies the same way against the staged points wherever the stack
    // begins: at some stack positions their addresses met in the low bits and the prediction
    // took up to a quarter longer.
    alignas(4096) ModelState m = c.model;
    const double startMjd = c.startMjd, weightFactor = c.weightFactor;
    const uint32_t numSteps = c.numSteps;
    double t = 0, dt = c.dt;
    uint32_t k = 0, pointCount = 128;
    for (;;) {
        StorePoint(w, c, m, k % kStagedPoints);
        c.pointMjd[k] = startMjd + t / kSecondsPerDay;
        StepStart start;
        StartStep(m, thrust, start);
        // dt: the step that led to point k
        RecordClosestApproaches(watch, vb.watchedCount, approach, c, m, start, k, dt);
        ++k;
        dt = StepControl(numSteps, weightFactor, pointCount, k, watch[targetWatch].index, approach.impact);
        t += dt;
        FinishStep(m, thrust, start, dt);
        if (pointCount <= k) break;
    }
    c.k = k;
    c.t = t;
    c.dt = dt;
    FlushStaged(w, c, m, k - c.stagedFrom);
    c.model = m;
    w.pointCount = pointCount;
    w.impact = approach.impact;
    w.arrivalMjd = approach.arrivalPoint == kInsideAStep ? approach.arrivalMjd : c.pointMjd[approach.arrivalPoint];
    for (uint32_t i = 0; i < vb.watchedCount; ++i) {
        const Watch &x = watch[i];
        const BodyIndex b = vb.watched[i];
        w.closestIndex[b] = x.index;
        // The tracks hold each point's states exactly as the loop had them.
        w.closestRel[b] = x.inStep ? x.inStepRel : w.bodyTrack[b][x.index] - w.shipTrack[x.index];
    }
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
