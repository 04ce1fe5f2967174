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

namespace {

const OpenDisplay *FindOpenDisplay(const MFD *instance) {
    for (const OpenDisplay &d : Module().openDisplays)
        if (instance && d.instance == instance) return &d;
    return nullptr;
}

}  // namespace

MfdEntry *FindEntry(ShipRecord &r, const MFD *instance) {
    for (MfdEntry &e : r.mfds)
        if (e.mfd == instance) return &e;
    if (const OpenDisplay *open = FindOpenDisplay(instance)) {
        MfdEntry *e = EntryForDisplay(r, open->mfdId, r.sourceBody);
        if (e) e->mfd = instance;
        return e;
    }
    std::snprintf(oapiDebugString(), 256, "Error! Bad at FindMFD");
    return nullptr;
}

int FindMFD(int ship, const MFD *instance) {
    ShipRecord &r = Ship(ship);
    const MfdEntry *e = FindEntry(r, instance);
    return e ? static_cast<int>(e - r.mfds) : kNone;
}

void NoteOpenDisplay(const MFD *instance, unsigned mfdId) {
    if (!instance || FindOpenDisplay(instance)) return;
    for (OpenDisplay &d : Module().openDisplays)
        if (!d.instance) {
            d = {instance, mfdId};
            return;
        }
}

void ForgetOpenDisplay(const MFD *instance) {
    for (OpenDisplay &d : Module().openDisplays)
        if (d.instance == instance) d = {nullptr, 0};
}

bool IsOpenDisplay(const MFD *instance) { return FindOpenDisplay(instance) != nullptr; }

}  // namespace kavrex
