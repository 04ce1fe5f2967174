// ship_lookup.cpp: finding the focus vessel's record and a display's entry in it.
#include "ship_lookup.h"

#include "module_state.h"
#include "ship_table.h"

#include <cstdio>

namespace kavrex {

int FindShip() {
    const uint32_t count = ShipCount();
    for (uint32_t i = 0; i < count; ++i) {
        const ShipRecord &r = Ship(static_cast<int>(i));
        if (r.vessel && r.vessel->GetHandle() == oapiGetFocusObject()) return static_cast<int>(i);
    }
    return kNone;
}

int FindMFD(int ship, const MFD *instance) {
    const ShipRecord &r = Ship(ship);
    for (int k = 0; k < kMaxMfds; ++k)
        if (r.mfds[k].mfd == instance) return k;
    if (IsEntryless(instance)) return kNone;
    std::snprintf(oapiDebugString(), 256, "Error! Bad at FindMFD");
    return kNone;
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
