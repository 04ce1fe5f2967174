// attitude.h: turning the plan into commands on the vessel: the per-axis attitude autopilot and
// the cut of every thruster.
#ifndef KAVREX_CONTROLS_ATTITUDE_H
#define KAVREX_CONTROLS_ATTITUDE_H

#include "../model/ship_table.h"
#include "../model/units.h"

namespace kavrex {

// Axis 0 pitch, 1 yaw, 2 bank; `angle` is how far the vessel is off its steering direction
// about that axis. With the hold on, commands the axis's rotation level; always reports whether
// the axis has settled (error below 0.1 degree, rate below 0.0001 degree per second).
bool HoldAttitudeAxis(ShipRecord &r, double angle, unsigned axis);

// Sets every thruster of the vessel to level 0, whatever its group.
void CutAllThrusters(const ShipRecord &r);

}  // namespace kavrex

#endif
