// display_binding.h: binding a display instance to its vessel's record when it opens (claiming
// a record if the vessel has none) and unbinding it when it closes.
#ifndef KAVREX_MODULE_DISPLAY_BINDING_H
#define KAVREX_MODULE_DISPLAY_BINDING_H

#include <Orbitersdk.h>

namespace kavrex {

// Torque capacity of one thruster group: the sum of rating x distance from the vessel's origin.
double GroupTorque(int ship, THGROUP_TYPE group);
// Binds `instance` (display `mfdId`) to the record of `vessel`, claiming one if the vessel has
// none. Returns the record index, or -1 when the table is full and the display stays unbound.
int BindDisplay(const MFD *instance, unsigned mfdId, VESSEL *vessel);
// Clears every entry that still names `instance`.
void UnbindDisplay(const MFD *instance);

}  // namespace kavrex

#endif
