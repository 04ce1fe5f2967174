// segment_minimum.cpp: the least distance of a Hermite step, by bisection on the rate.
#include "segment_minimum.h"

namespace kavrex {

namespace {

struct Hermite {
    VECTOR3 p0, m0, p1, m1;  // end points and tangents (velocity times the step length)

    VECTOR3 At(double s) const {
        const double s2 = s * s, s3 = s2 * s;
        return p0 * (2 * s3 - 3 * s2 + 1) + m0 * (s3 - 2 * s2 + s) + p1 * (3 * s2 - 2 * s3) + m1 * (s3 - s2);
    }
    VECTOR3 Slope(double s) const {
        const double s2 = s * s;
        return p0 * (6 * s2 - 6 * s) + m0 * (3 * s2 - 4 * s + 1) + p1 * (6 * s - 6 * s2) + m1 * (3 * s2 - 2 * s);
    }
    // Half the rate of change of the squared distance.
    double Rate(double s) const { return dotp(At(s), Slope(s)); }
};

// Halving [0, 1] this often brings the bracket below 1e-15 of the step.
constexpr int kBisections = 52;

// A step holds a minimum inside it only when its distance falls at the start and grows at the end.
bool StepMayHoldMinimum(const VECTOR3 &rel0, const VECTOR3 &vel0, const VECTOR3 &rel1, const VECTOR3 &vel1, double h) {
    const VECTOR3 m0 = vel0 * h, m1 = vel1 * h;
    return dotp(rel0, m0) < 0 && dotp(rel1, m1) > 0;
}

}  // namespace

bool LeastDistanceInStep(const VECTOR3 &rel0, const VECTOR3 &vel0, const VECTOR3 &rel1, const VECTOR3 &vel1, double h,
                         SegmentMinimum &out) {
    // Only a step that starts closing and ends opening holds a minimum inside it (the curve's
    // rates at its ends are those of the end points themselves, so most steps stop here).
    if (!StepMayHoldMinimum(rel0, vel0, rel1, vel1, h)) return false;
    const VECTOR3 m0 = vel0 * h, m1 = vel1 * h;
    const Hermite c = {rel0, m0, rel1, m1};
    double lo = 0, hi = 1;
    for (int i = 0; i < kBisections; ++i) {
        const double mid = 0.5 * (lo + hi);
        (c.Rate(mid) < 0 ? lo : hi) = mid;
    }
    out.fraction = 0.5 * (lo + hi);
    out.rel = c.At(out.fraction);
    return true;
}

}  // namespace kavrex
