// ship_lookup.h: turning the focus vessel into a record index and a display into an entry index.
#ifndef KAVREX_MODEL_SHIP_LOOKUP_H
#define KAVREX_MODEL_SHIP_LOOKUP_H

#include <Orbitersdk.h>

namespace kavrex {

// The record of the vessel that has the simulator's focus, or -1.
int FindShip();
// The entry (0..9) of `instance` in record `ship`, or -1 with "Error! Bad at FindMFD" in the
// simulator's debug string.
int FindMFD(int ship, const MFD *instance);

}  // namespace kavrex

#endif
