// ship_lookup.h: turning the focus vessel into a record index and a display into an entry
// index, and what a freshly claimed record measures of its vessel.
#ifndef KAVREX_MODULE_SHIP_LOOKUP_H
#define KAVREX_MODULE_SHIP_LOOKUP_H

#include <Orbitersdk.h>

namespace kavrex {

// The record of the vessel that has the simulator's focus, or -1.
int FindShip();
// The entry (0..9) of `instance` in record `ship`, or -1 with "Error! Bad at FindMFD" in the
// simulator's debug string.
int FindMFD(int ship, const MFD *instance);
// Source and target from the vessel's gravity reference, widening the list to moons if needed.
void SelectReferenceBody(int ship);
// Torque capacity of one thruster group: the sum of rating x distance from the vessel's origin.
double GroupTorque(int ship, THGROUP_TYPE group);
// Binds `instance` (display `mfdId`) to the record of `vessel`, claiming one if the vessel has
// none. Returns the record index, or -1 when the table is full and the display stays unbound.
int BindDisplay(const MFD *instance, unsigned mfdId, VESSEL *vessel);
// Clears every entry that still names `instance`.
void UnbindDisplay(const MFD *instance);

}  // namespace kavrex

#endif
