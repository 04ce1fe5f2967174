// display_binding.cpp: the claim of a record and the binding of displays to records.
#include "display_binding.h"

#include "../engine/body_list.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"

namespace kavrex {

namespace {

double MainThrustMax(VESSEL *v) {
    double sum = 0;
    THGROUP_HANDLE h = v->GetThrusterGroupHandle(THGROUP_MAIN);
    for (DWORD k = 0; k < v->GetGroupThrusterCount(h); ++k) sum += v->GetThrusterMax0(v->GetGroupThruster(h, k));
    return sum;
}

// Binds `instance` to its entry in record `r`; with every window entry taken it has none, and
// its page says so.
void TakeEntry(ShipRecord &r, const MFD *instance, unsigned mfdId) {
    if (MfdEntry *e = EntryForDisplay(r, mfdId, r.sourceBody)) e->mfd = instance;
}

// What a claim measures and selects for a new record `r` bound to `instance` (display `mfdId`).
void ClaimRecord(ShipRecord &r, const MFD *instance, unsigned mfdId, VESSEL *vessel) {
    r.vessel = vessel;
    r.vesselHandle = vessel->GetHandle();
    RebuildBodyList(r);
    SelectReferenceBody(r);
    TakeEntry(r, instance, mfdId);
    if (mfdId < kCockpitMfds) r.mfds[mfdId].centerBody = r.sourceBody;
    r.attitudeTorque[0] = GroupTorque(vessel, THGROUP_ATT_PITCHDOWN) + GroupTorque(vessel, THGROUP_ATT_PITCHUP);
    r.attitudeTorque[1] = GroupTorque(vessel, THGROUP_ATT_BANKRIGHT) + GroupTorque(vessel, THGROUP_ATT_BANKLEFT);
    r.attitudeTorque[2] = GroupTorque(vessel, THGROUP_ATT_YAWRIGHT) + GroupTorque(vessel, THGROUP_ATT_YAWLEFT);
    r.mainThrustMax = MainThrustMax(vessel);
}

}  // namespace

double GroupTorque(VESSEL *v, THGROUP_TYPE group) {
    double sum = 0;
    for (DWORD i = 0; i < v->GetGroupThrusterCount(group); ++i) {
        THRUSTER_HANDLE th = v->GetGroupThruster(group, i);
        VECTOR3 p;
        v->GetThrusterRef(th, p);
        sum += v->GetThrusterMax(th) * length(p);
    }
    return sum;
}

ShipRecord *BindDisplay(const MFD *instance, unsigned mfdId, VESSEL *vessel) {
    NoteOpenDisplay(instance, mfdId);
    for (ShipRecord &r : ClaimedShips())
        if (r.vessel == vessel) {
            TakeEntry(r, instance, mfdId);
            return &r;
        }
    // A full table (or no memory for a record) leaves the display unbound; nothing is written.
    ShipRecord *r = vessel ? PrepareFreeShip() : nullptr;
    if (!r) return nullptr;
    ClaimRecord(*r, instance, mfdId, vessel);
    ClaimShip(*r);
    return r;
}

void UnbindDisplay(const MFD *instance) {
    // Every record, not only the focus vessel's: an entry left naming a closed display could be
    // matched by a later display built at the same address, which would then show another
    // slot's settings.
    for (ShipRecord &r : ClaimedShips())
        for (MfdEntry &e : r.mfds)
            if (e.mfd == instance) e.mfd = nullptr;
    ForgetOpenDisplay(instance);
}

}  // namespace kavrex
