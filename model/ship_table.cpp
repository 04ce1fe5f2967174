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

// The load-time defaults of the ten display entries of a record.
void ResetMfdEntries(ShipRecord &record) {
    for (MfdEntry &e : record.mfds) {
        e.mfd = nullptr;
        e.mode = kDefaultMode;
        e.centerBody = 0;
        e.zoom = 1.0;
        e.shipProjection = false;
    }
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

ShipRecord *AllocatedShip(int index) {
    if (index < 0 || index >= kMaxShips) return nullptr;
    return Table().records[index];
}

ShipRecord &Ship(int index) {
    ShipRecord *r = AllocatedShip(index);
    if (!r) {
        // Indices come from FindShip or from loops below the count, which always have storage.
        std::fprintf(stderr, "Kavrex: ship record %d used before it was claimed\n", index);
        std::abort();
    }
    return *r;
}

MfdEntry &Entry(int ship, int mfd) { return Ship(ship).mfds[mfd]; }

ShipRecord *PrepareFreeShip(int index) {
    if (index < 0 || index >= kMaxShips || static_cast<uint32_t>(index) != Table().count) return nullptr;
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

void ClaimShip(int index) {
    ShipTable &t = Table();
    if (static_cast<uint32_t>(index) == t.count && t.records[index]) ++t.count;
}

void ClearShipTable() {
    ShipTable &t = Table();
    for (ShipRecord *&r : t.records) {
        std::free(r);
        r = nullptr;
    }
    t.count = 0;
}

void ResetShipRecord(int index, bool full) { ResetRecordSettings(Ship(index), full); }

}  // namespace kavrex
