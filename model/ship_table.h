// ship_table.h: the per-vessel state of the module.
//
// Every setting and result of the module lives in one table of 16 ship records, one per vessel
// that has opened the display; display instances hold nothing themselves. A record carries two
// full-capacity trajectory buffers (about 24 MiB each), so its storage is allocated when the
// record is claimed, not at load; it is freed when its vessel is deleted, when a scenario ends
// (the simulator runs many on one load) and when the module unloads. Records are addressed by
// index; Ship(i) is only valid for a claimed record (i < ShipCount()).
#ifndef KAVREX_MODEL_SHIP_TABLE_H
#define KAVREX_MODEL_SHIP_TABLE_H

#include <Orbitersdk.h>

#include "capacities.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kavrex {

constexpr double kDefaultArtGee = 9.800000190734863;  // 9.8f held as a double
constexpr uint32_t kDefaultNumSteps = 4096;
constexpr uint32_t kDefaultMode = 3;

static_assert(static_cast<double>(9.8f) == kDefaultArtGee, "artGee default is 9.8 in single precision");

// artGee is saved as KV_ARTGEE and read back in single precision: an acceleration beyond that
// range (or not a number) could be saved but never read back, so no door lets one in.
inline bool FitsSinglePrecision(double v) {
    return std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max());
}

// One body of a vessel's body list.
struct BodyEntry {
    OBJHANDLE handle;
    char name[kNameLength];
    double gm;      // m^3/s^2
    double radius;  // m
    HPEN dotPen;
    HPEN solidPen;
    COLORREF colour;
    uint32_t moonCount;
    BodyIndex parent;  // list index of the parent; 0 for the star and the planets
};

// One computed trajectory. In the display buffer, `ready` is the hand-shake with the driver (a
// trajectory handed over that no display has drawn yet: the driver computes only while it is
// clear), and `handOvers` counts the trajectories handed over since the record was claimed, so
// that every display can tell whether the buffer holds one at all.
struct TrajectoryBuffer {
    bool impact;
    bool ready;
    uint32_t handOvers;
    int8_t variant;
    double arrivalMjd;
    uint32_t pointCount;
    uint32_t closestIndex[kMaxBodies];
    VECTOR3 closestRel[kMaxBodies];
    VECTOR3 shipTrack[kMaxPoints];
    VECTOR3 shipTrackVel[kMaxPoints];
    VECTOR3 bodyTrack[kMaxBodies][kMaxPoints];
    VECTOR3 bodyTrackVel[kMaxBodies][kMaxPoints];
};

// The settings of one display of a vessel. Cockpit displays (identifiers 0..11) own the entry of
// their identifier; a display in an external window takes one of the window entries, which
// remembers the window's identifier so that the window finds its settings again.
struct MfdEntry {
    const MFD *mfd;    // the instance that owns the entry; compared, never followed
    bool windowTaken;  // a window entry that belongs to windowId
    uint32_t windowId;
    uint32_t mode;  // 1 read-outs, 2 plot, 3 both, 4 ships and settings
    BodyIndex centerBody;
    double zoom;
    bool shipProjection;
};

struct ShipRecord {
    bool autozoomOff;
    bool includeMoons;
    bool lunaAlways;
    uint32_t numSteps;
    VESSEL *vessel;
    MfdEntry mfds[kMaxMfds];
    OBJHANDLE vesselHandle;
    bool attitudeHold;
    bool kvEngaged;
    bool attitudeAligned;
    bool autofillOff;
    bool ejected;
    bool invertDirection;
    bool directionAdjust;
    double artGee;
    double ejectMjd;
    uint32_t tanksRefilled;
    double superthrust;
    double attitudeTorque[3];  // pitch, bank, yaw
    double elapsed;
    double bodyG[kMaxBodies];
    double mainThrustMax;
    double thrustLevel;
    double mass;
    double maxVel;
    MATRIX3 rotation;
    TrajectoryBuffer work;
    TrajectoryBuffer display;
    VECTOR3 pmi;
    VECTOR3 shipPos;
    VECTOR3 shipVel;
    VECTOR3 bodyPos[kMaxBodies];
    VECTOR3 bodyVel[kMaxBodies];
    VECTOR3 bodyRelPos[kMaxBodies];
    VECTOR3 bodyRelVel[kMaxBodies];
    double targetDist;
    double sourceDist;
    BodyEntry bodies[kMaxBodies];
    uint32_t bodyCount;
    BodyIndex sourceBody;
    BodyIndex targetBody;
};

// A body-list index the record holds; an index that a shorter rebuild left beyond the list is
// read as the star, so nothing reaches past the list.
inline BodyIndex ListIndex(const ShipRecord &r, BodyIndex index) { return index < r.bodyCount ? index : 0; }
inline const BodyEntry &BodyAt(const ShipRecord &r, BodyIndex index) { return r.bodies[ListIndex(r, index)]; }

// Records in use: 0 .. ShipCount() - 1 are claimed. A record found once is passed on by
// reference; Ship(i) is for code that holds an index (the claim, and inspection by index).
uint32_t ShipCount();
ShipRecord &Ship(int index);
MfdEntry &Entry(int ship, int mfd);

// The claimed records in claim order: for (ShipRecord &r : ClaimedShips()).
struct ClaimedShipIterator {
    ShipRecord *const *slot;
    ShipRecord &operator*() const { return **slot; }
    ClaimedShipIterator &operator++() {
        ++slot;
        return *this;
    }
    bool operator!=(const ClaimedShipIterator &other) const { return slot != other.slot; }
};
struct ClaimedShipRange {
    ShipRecord *const *first;
    ShipRecord *const *last;
    ClaimedShipIterator begin() const { return {first}; }
    ClaimedShipIterator end() const { return {last}; }
};
ClaimedShipRange ClaimedShips();

// The entry of display identifier `mfdId` in record `r`: a cockpit display's own, else the
// window entry that identifier holds, a free one, or one whose display has closed (given back
// its defaults, centred on `center`). Null when every window entry belongs to an open display.
MfdEntry *EntryForDisplay(ShipRecord &r, unsigned mfdId, BodyIndex center);

// Storage of the next free record (index ShipCount()), allocated if need be and holding exactly
// what InitModule gives a record; null when the table is full or memory runs out.
ShipRecord *PrepareFreeShip();
// Makes the prepared record claimed (count + 1).
void ClaimShip(const ShipRecord &prepared);

// Forgets every record: the count becomes 0 and all storage is released.
void ClearShipTable();
// Releases a claimed record: its storage is freed and the records after it move down one place,
// so that 0 .. count - 1 stay the claimed ones, in the order they were claimed.
void ReleaseShip(const ShipRecord &claimed);
// Visits the storage of every record that has some, claimed or only prepared.
template <typename F>
void ForEachAllocatedShip(F f);
ShipRecord *AllocatedShip(uint32_t index);  // null when the record has no storage

// Restores the pilot's settings of a record; with `full` also artGee and the catalogue options.
void ResetShipRecord(ShipRecord &r, bool full);

template <typename F>
void ForEachAllocatedShip(F f) {
    for (uint32_t i = 0; i < kMaxShips; ++i)
        if (ShipRecord *r = AllocatedShip(i)) f(*r);
}

}  // namespace kavrex

#endif
