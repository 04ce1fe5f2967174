// stock_classes.h: the simulator's own vessels that pilots fly most, with its figures.
//
// The Delta-glider (as DeltaGlider and, with its scramjets, DG-S), the Shuttle-A and the
// Shuttle-PB: empty masses, tanks, thrusters (position, direction, vacuum thrust, exhaust speed,
// tank, the groups each serves in, shared as the classes share them) and moments of inertia,
// in the simulator's default ("realistic") flight model. What the stand-in leaves out: the
// atmosphere's effect on thrust (it has no atmosphere), the Delta-glider's retro covers (its
// retros fire whenever asked) and the Shuttle-A's pod tilt (its pods stay as built, pointing
// back).
#ifndef KVHOST_WORLD_STOCK_CLASSES_H
#define KVHOST_WORLD_STOCK_CLASSES_H

#include "vessel.h"

namespace kvhost {

VesselClass DeltaGliderClass(bool scramjets);  // DeltaGlider, or DG-S with scramjets
VesselClass ShuttleAClass();
VesselClass ShuttlePBClass();

}  // namespace kvhost

#endif
