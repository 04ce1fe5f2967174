// segment_minimum.h: the least distance between two stored points of a prediction.
//
// A fast ship covers tens of thousands of kilometres in one step near its target, so the
// stored points alone can step over a planet. Between points k-1 and k the relative position
// of a body is taken as the cubic Hermite curve through both points' relative positions and
// velocities, which matches the midpoint step to its order, and its least length is found.
#ifndef KAVREX_ENGINE_SEGMENT_MINIMUM_H
#define KAVREX_ENGINE_SEGMENT_MINIMUM_H

#include <Orbitersdk.h>

namespace kavrex {

struct SegmentMinimum {
    double fraction;  // where in the step, 0..1
    VECTOR3 rel;      // the relative position there
};

// rel0, vel0 and rel1, vel1: the relative position and velocity at the step's start and end;
// h: the step's length, s. True when the distance dips to a minimum inside the step (it falls
// at the start and grows at the end), with that minimum in `out`; false otherwise, when the
// least distance of the step lies at one of its ends.
bool LeastDistanceInStep(const VECTOR3 &rel0, const VECTOR3 &vel0, const VECTOR3 &rel1, const VECTOR3 &vel1, double h,
                         SegmentMinimum &out);

}  // namespace kavrex

#endif
