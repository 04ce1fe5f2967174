// ship_lookup.cpp: finding the focus vessel's record and a display's entry in it.
#include "ship_lookup.h"

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
    std::snprintf(oapiDebugString(), 256, "Error! Bad at FindMFD");
    return kNone;
}

}  // namespace kavrex
