// target_gauge.cpp: the target's GM and radius from pairs of read-outs.
#include "target_gauge.h"

#include <cmath>

namespace kvhost {

void TargetGauge::Read(const std::string &name, double height, double pull) {
    if (name != name_) {
        *this = TargetGauge();
        name_ = name;
    }
    if (!(pull >= kLeastPull) || !std::isfinite(height)) return;
    if (!first_) {
        first_ = true;
        firstHeight_ = height;
        firstPull_ = pull;
        gm_ = pull * height * height;  // the radius taken as nothing until a second reading
        return;
    }
    if (firstPull_ < kFinePull && pull >= kFinePull) {
        // A reading with four digits makes a finer reference; what is known stays until the
        // ship is far enough in to measure against it.
        firstHeight_ = height;
        firstPull_ = pull;
        return;
    }
    // The second reading must be a third nearer the centre or more, for the digits to tell.
    if (pull < 2.25 * firstPull_) return;
    const double x1 = 1 / std::sqrt(firstPull_), x2 = 1 / std::sqrt(pull);
    const double root = (firstHeight_ - height) / (x1 - x2);
    if (!(root > 0)) return;
    const double radius = root * x2 - height;
    if (!(radius >= 0)) return;
    gm_ = root * root;
    radius_ = radius;
    known_ = true;
}

double TargetGauge::DistanceWithPull(double pull) const { return gm_ > 0 && pull > 0 ? std::sqrt(gm_ / pull) : 0; }

}  // namespace kvhost
