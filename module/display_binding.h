// display_binding.h: binding a display instance to its vessel's record when it opens (claiming
// a record if the vessel has none) and unbinding it when it closes.
#ifndef KAVREX_MODULE_DISPLAY_BINDING_H
#define KAVREX_MODULE_DISPLAY_BINDING_H

#include <Orbitersdk.h>

#include "../model/ship_table.h"

namespace kavrex {

// Torque capacity of one thruster group: the sum of rating x distance from the vessel's origin.
double GroupTorque(VESSEL *v, THGROUP_TYPE group);
// Binds `instance` (display `mfdId`) to the record of `vessel`, claiming one if the vessel has
// none. Returns the record, or null when the table is full and the display stays unbound.
ShipRecord *BindDisplay(const MFD *instance, unsigned mfdId, VESSEL *vessel);
// Clears every entry that still names `instance`.
void UnbindDisplay(const MFD *instance);

}  // namespace kavrex

#endif
