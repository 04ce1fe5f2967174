// ship_lookup.cpp: finding the focus vessel's record and a display's entry in it.
#include "ship_lookup.h"

#include "module_state.h"
#include "ship_table.h"

#include <cstdio>

namespace kavrex {

int FindShip() {
    int i = 0;
    for (const ShipRecord &r : ClaimedShips()) {
        if (r.vessel && r.vessel->GetHandle() == oapiGetFocusObject()) return i;
        ++i;
    }
    return kNone;
}

ShipRecord *FocusShip() {
    const int i = FindShip();
    return i == kNone ? nullptr : &Ship(i);
}

MfdEntry *FindEntry(ShipRecord &r, const MFD *instance) {
    for (MfdEntry &e : r.mfds)
        if (e.mfd == instance) return &e;
    if (IsEntryless(instance)) return nullptr;
    std::snprintf(oapiDebugString(), 256, "Error! Bad at FindMFD");
    return nullptr;
}

int FindMFD(int ship, const MFD *instance) {
    ShipRecord &r = Ship(ship);
    const MfdEntry *e = FindEntry(r, instance);
    return e ? static_cast<int>(e - r.mfds) : kNone;
}

void NoteEntryless(const MFD *instance) {
    if (IsEntryless(instance)) return;
    for (const MFD *&slot : Module().entryless)
        if (!slot) {
            slot = instance;
            return;
        }
}

void ForgetEntryless(const MFD *instance) {
    for (const MFD *&slot : Module().entryless)
        if (slot == instance) slot = nullptr;
}

bool IsEntryless(const MFD *instance) {
    for (const MFD *slot : Module().entryless)
        if (instance && slot == instance) return true;
    return false;
}

}  // namespace kavrex
