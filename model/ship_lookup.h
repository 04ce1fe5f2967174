// ship_lookup.h: turning the focus vessel into a record index and a display into an entry index.
#ifndef KAVREX_MODEL_SHIP_LOOKUP_H
#define KAVREX_MODEL_SHIP_LOOKUP_H

#include <Orbitersdk.h>

namespace kavrex {

struct ShipRecord;
struct MfdEntry;

// The record of the vessel that has the simulator's focus: its index, or -1; the record, or null.
int FindShip();
ShipRecord *FocusShip();
// The entry of `instance` in record `r`, or null with "Error! Bad at FindMFD" in the simulator's
// debug string. A display known to have no entry (every window entry taken) gives null quietly:
// its page says so itself.
MfdEntry *FindEntry(ShipRecord &r, const MFD *instance);
// The same as an index into the record's entries, or -1.
int FindMFD(int ship, const MFD *instance);

// Displays that opened while every window entry of their vessel was taken.
void NoteEntryless(const MFD *instance);
void ForgetEntryless(const MFD *instance);
bool IsEntryless(const MFD *instance);

}  // namespace kavrex

#endif
