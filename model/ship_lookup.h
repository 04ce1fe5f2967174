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
// The entry of `instance` in record `r`. An open display that has none there (one bound to another
// vessel than the focus) takes the entry of its identifier, as a display opened on that vessel
// would; when every window entry belongs to another open display it gets null quietly (its page
// says so itself). An instance the module never opened gets null with "Error! Bad at FindMFD" in
// the simulator's debug string.
MfdEntry *FindEntry(ShipRecord &r, const MFD *instance);
// The same as an index into the record's entries, or -1.
int FindMFD(int ship, const MFD *instance);

// The open displays and their identifiers: noted when a display opens, forgotten when it closes.
void NoteOpenDisplay(const MFD *instance, unsigned mfdId);
void ForgetOpenDisplay(const MFD *instance);
bool IsOpenDisplay(const MFD *instance);

}  // namespace kavrex

#endif
