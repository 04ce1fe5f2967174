// ship_table.cpp: storage of the ship table, record claims and the record reset.
#include "ship_table.h"

#include "module_state.h"

#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace kavrex {

static_assert(std::is_trivial<ShipRecord>::value, "a record must be plain data: it is calloc'ed");

namespace {

ShipTable &Table() { return Module().ships; }

void ResetMfdEntry(MfdEntry &e) {
    e.mfd = nullptr;
    e.windowTaken = false;
    e.windowId = 0;
    e.mode = kDefaultMode;
    e.centerBody = 0;
    e.zoom = 1.0;
    e.shipProjection = false;
}

// The load-time defaults of the display entries of a record.
void ResetMfdEntries(ShipRecord &record) {
    for (MfdEntry &e : record.mfds) ResetMfdEntry(e);
}

void ResetRecordSettings(ShipRecord &r, bool full) {
    r.attitudeHold = false;
    r.kvEngaged = false;
    r.autofillOff = false;
    r.ejected = false;
    r.invertDirection = false;
    r.directionAdjust = false;
    r.autozoomOff = false;
    r.display.ready = false;
    r.superthrust = 0.0;
    r.maxVel = 0.0;
    r.numSteps = kDefaultNumSteps;
    r.tanksRefilled = 0;
    if (full) {
        r.artGee = kDefaultArtGee;
        r.includeMoons = false;
        r.lunaAlways = true;
    }
}

}  // namespace

uint32_t ShipCount() { return Table().count; }

ShipRecord *AllocatedShip(uint32_t index) {
    if (index >= kMaxShips) return nullptr;
    return Table().records[index];
}

ShipRecord &Ship(int index) {
    ShipRecord *r = index < 0 ? nullptr : AllocatedShip(static_cast<uint32_t>(index));
    if (!r) {
        // Indices come from FindShip or from loops below the count, which always have storage.
        std::fprintf(stderr, "Kavrex: ship record %d used before it was claimed\n", index);
        std::abort();
    }
    return *r;
}

MfdEntry &Entry(int ship, int mfd) { return Ship(ship).mfds[mfd]; }

ClaimedShipRange ClaimedShips() {
    const ShipTable &t = Table();
    return {t.records, t.records + t.count};
}

MfdEntry *EntryForDisplay(ShipRecord &r, unsigned mfdId, BodyIndex center) {
    if (mfdId < kCockpitMfds) return &r.mfds[mfdId];
    MfdEntry *unused = nullptr, *closed = nullptr;
    for (uint32_t k = kCockpitMfds; k < kMaxMfds; ++k) {
        MfdEntry &e = r.mfds[k];
        if (e.windowTaken && e.windowId == mfdId) return &e;
        if (!e.windowTaken && !unused) unused = &e;
        if (e.windowTaken && !e.mfd && !closed) closed = &e;
    }
    // A closed window's settings are given up only when no entry was ever free.
    MfdEntry *taken = unused ? unused : closed;
    if (!taken) return nullptr;
    MfdEntry &e = *taken;
    ResetMfdEntry(e);
    e.windowTaken = true;
    e.windowId = mfdId;
    e.centerBody = center;
    return &e;
}

ShipRecord *PrepareFreeShip() {
    const uint32_t index = Table().count;
    if (index >= kMaxShips) return nullptr;
    ShipRecord *&slot = Table().records[index];
    if (!slot) {
        void *block = std::calloc(1, sizeof(ShipRecord));
        if (!block) return nullptr;
        ShipRecord *r = static_cast<ShipRecord *>(block);
        // What InitModule gives every record: no vessel, full reset, entry defaults.
        ResetRecordSettings(*r, true);
        ResetMfdEntries(*r);
        slot = r;
    }
    return slot;
}

void ClaimShip(const ShipRecord &prepared) {
    ShipTable &t = Table();
    if (t.count < kMaxShips && t.records[t.count] == &prepared) ++t.count;
}

void ClearShipTable() {
    ShipTable &t = Table();
    for (ShipRecord *&r : t.records) {
        std::free(r);
        r = nullptr;
    }
    t.count = 0;
}

void ReleaseShip(const ShipRecord &claimed) {
    ShipTable &t = Table();
    uint32_t index = 0;
    while (index < t.count && t.records[index] != &claimed) ++index;
    if (index == t.count) return;
    ShipRecord *released = t.records[index];
    for (uint32_t i = index; i + 1 < kMaxShips; ++i) t.records[i] = t.records[i + 1];
    t.records[kMaxShips - 1] = nullptr;
    --t.count;
    std::free(released);
}

void ResetShipRecord(ShipRecord &r, bool full) { ResetRecordSettings(r, full); }

}  // namespace kavrex
