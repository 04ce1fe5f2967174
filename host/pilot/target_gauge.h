// target_gauge.h: what the pilot learns of the target body from the read-outs alone.
//
// The display shows the target's pull here (TargetG, GM / r^2) and the height above its surface
// (TargetD, r - R). Two readings at different heights give both GM and R: with x = 1/sqrt(g),
// r = sqrt(GM) * x, so sqrt(GM) = (d1 - d2) / (x1 - x2) and R = sqrt(GM) * x2 - d2. A pilot
// who knows them knows the speed of a circular orbit where it stands and where the target's
// pull is a given share of the drive's.
#ifndef KVHOST_PILOT_TARGET_GAUGE_H
#define KVHOST_PILOT_TARGET_GAUGE_H

#include <string>

namespace kvhost {

class TargetGauge {
public:
    // A reading of the target `name`: height above its surface (m) and its pull (m/s^2).
    // A reading of another body starts afresh.
    void Read(const std::string &name, double height, double pull);
    bool known() const { return known_; }  // GM and R from two readings far enough apart
    double radius() const { return known_ ? radius_ : 0; }
    double Gm() const { return gm_; }  // the best estimate so far (0: none)
    // The distance from the centre at which the pull is `pull` (0 while nothing is known).
    double DistanceWithPull(double pull) const;

    // Pulls below this print with fewer than three digits: too coarse to measure by.
    static constexpr double kLeastPull = 0.01;  // m/s^2
    static constexpr double kFinePull = 0.1;    // m/s^2: from here on the pull prints four digits

private:
    std::string name_;
    bool first_ = false, known_ = false;
    double firstHeight_ = 0, firstPull_ = 0;
    double gm_ = 0, radius_ = 0;
};

}  // namespace kvhost

#endif
