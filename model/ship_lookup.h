// ship_lookup.h: turning the focus vessel into a record index and a display into an entry index.
#ifndef KAVREX_MODEL_SHIP_LOOKUP_H
#define KAVREX_MODEL_SHIP_LOOKUP_H

#include <Orbitersdk.h>

namespace kavrex {

// The record of the vessel that has the simulator's focus, or -1.
int FindShip();
// The entry of `instance` in record `ship`, or -1 with "Error! Bad at FindMFD" in the
// simulator's debug string. A display known to have no entry (every window entry taken) gives
// -1 quietly: its page says so itself.
int FindMFD(int ship, const MFD *instance);

// Displays that opened while every window entry of their vessel was taken.
void NoteEntryless(const MFD *instance);
void ForgetEntryless(const MFD *instance);
bool IsEntryless(const MFD *instance);

}  // namespace kavrex

#endif
