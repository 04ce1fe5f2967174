// oapi_vessel.cpp: class VESSEL, the SDK's view of one vessel of the current world.
//
// Propellant, thruster and group handles are addresses inside the vessel's own storage; each
// call checks that a handle belongs to this vessel before it is used, so a handle of another
// vessel or a null handle is ignored (zero results, nothing set).
#include <Orbitersdk.h>

// The SDK declares GetHandle and GetGravityRef as returning `const OBJHANDLE`; the definitions
// must repeat that qualifier, which the compiler rightly calls meaningless.
#pragma GCC diagnostic ignored "-Wignored-qualifiers"

#include "../world/frames.h"
#include "../world/navmodes.h"
#include "../world/vessel_graveyard.h"
#include "../world/world.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

using kvhost::Vessel;

namespace {

Vessel *Find(OBJHANDLE h) {
    kvhost::World *w = kvhost::CurrentWorld();
    return w ? w->ResolveVessel(h) : nullptr;
}

// The vessel behind a view, after checking that the view's vessel was not deleted.
Vessel *Live(const VESSEL *view, OBJHANDLE h, const char *method) {
    if (kvhost::IsBuriedVesselView(view)) kvhost::UseOfDeletedVessel(method);
    return Find(h);
}

// Index of the element that `handle` points to in [base, base + count), or -1.
template <typename T>
int IndexIn(const void *handle, const T *base, size_t count) {
    const uintptr_t h = reinterpret_cast<uintptr_t>(handle);
    const uintptr_t b = reinterpret_cast<uintptr_t>(base);
    if (!handle || count == 0 || h < b) return -1;
    const uintptr_t off = h - b;
    if (off % sizeof(T) != 0 || off / sizeof(T) >= count) return -1;
    return static_cast<int>(off / sizeof(T));
}

int TankIndex(const Vessel &v, PROPELLANT_HANDLE ph) { return IndexIn(ph, v.tanks.data(), v.tanks.size()); }
int ThrusterIndex(const Vessel &v, THRUSTER_HANDLE th) { return IndexIn(th, v.thrusters.data(), v.thrusters.size()); }
int GroupIndex(const Vessel &v, THGROUP_HANDLE g) { return IndexIn(g, v.groups.data(), v.groups.size()); }

const std::vector<int> *Group(const Vessel &v, int type) {
    if (type < 0 || type >= kvhost::kThrusterGroupTypes) return nullptr;
    return &v.groups[type];
}

// A group's level is clamped to 0..1 as it is set (so an infinite one is 0 or 1); one that is no
// number stays so, and runs at full thrust.
double ClampGroupLevel(double level) { return std::isnan(level) ? level : std::min(1.0, std::max(0.0, level)); }

void NoteLevel(Vessel &v, double level) {
    if (!std::isfinite(level)) ++v.nonFiniteLevels;
}

}  // namespace

VESSEL::VESSEL(const OBJHANDLE hVessel, int /*fmodel*/) : hVessel_(hVessel) {}
VESSEL::~VESSEL() {}

const OBJHANDLE VESSEL::GetHandle() const {
    if (kvhost::IsBuriedVesselView(this)) kvhost::UseOfDeletedVessel(__func__);
    return hVessel_;
}

char *VESSEL::GetName() const {
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v) return nullptr;
    std::strncpy(v->nameBuffer, v->name.c_str(), sizeof v->nameBuffer - 1);
    v->nameBuffer[sizeof v->nameBuffer - 1] = '\0';
    return v->nameBuffer;
}

const OBJHANDLE VESSEL::GetGravityRef() const {
    kvhost::World *w = kvhost::CurrentWorld();
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v) return nullptr;
    return w->BodyHandle(v->gravityRef);
}

double VESSEL::GetMass() const {
    Vessel *v = Live(this, hVessel_, __func__);
    return v ? v->Mass() : 0;
}

bool VESSEL::GetWeightVector(VECTOR3 &G) const {
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v) {
        G = _V(0, 0, 0);
        return false;
    }
    const VECTOR3 force = kvhost::CurrentWorld()->GravityAccel(v->pos) * v->Mass();
    G = tmul(v->rot, force);
    return true;
}

void VESSEL::Global2Local(const VECTOR3 &global, VECTOR3 &local) const {
    Vessel *v = Live(this, hVessel_, __func__);
    local = v ? tmul(v->rot, global - v->pos) : _V(0, 0, 0);
}

void VESSEL::GetStatus(VESSELSTATUS &status) const {
    std::memset(&status, 0, sizeof status);
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v) return;
    kvhost::World *w = kvhost::CurrentWorld();
    const int ref = v->gravityRef;
    status.rbody = w->BodyHandle(ref);
    if (ref >= 0) {
        status.rpos = v->pos - w->body(ref).pos;
        status.rvel = v->vel - w->body(ref).vel;
    }
    if (v->status != kvhost::VesselStatus::Flying && v->landedOn >= 0) {
        // Landed, as the simulator reports it: the height where the rate would be, the attitude
        // on the turning body, the place in the first extra vector, the BASE line's pad.
        const kvhost::Footing &f = v->footing;
        status.vrot = _V(f.height, 0, 0);
        status.arot = kvhost::EulerFromRotation(f.attitude);
        status.vdata[0] = _V(f.lngDeg, f.latDeg, f.headingDeg) * kvhost::kDeg;
        status.port = f.linePad;
    } else {
        status.vrot = v->omega;
        status.arot = kvhost::EulerFromRotation(v->rot);
        status.port = -1;
    }
    double fuel = 0, cap = 0;
    for (const kvhost::Tank &t : v->tanks) {
        fuel += t.mass;
        cap += t.maxMass;
    }
    status.fuel = cap > 0 ? fuel / cap : 0;
    status.eng_main = v->groups[THGROUP_MAIN].empty() ? 0 : v->thrusters[v->groups[THGROUP_MAIN][0]].level;
    status.eng_hovr = v->groups[THGROUP_HOVER].empty() ? 0 : v->thrusters[v->groups[THGROUP_HOVER][0]].level;
    status.status = v->status == kvhost::VesselStatus::Flying ? 0 : 1;
}

void VESSEL::GetPMI(VECTOR3 &pmi) const {
    Vessel *v = Live(this, hVessel_, __func__);
    pmi = v ? v->pmi : _V(0, 0, 0);
}

void VESSEL::SetAttitudeRotLevel(int axis, double th) const {
    if (axis < 0 || axis > 2) return;
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v) return;
    v->requestedRotLevel[axis] = th;
    ++v->rotLevelCommands;
    NoteLevel(*v, th);
    kvhost::SetRotationLevel(*v, axis, th);
}

DWORD VESSEL::GetPropellantCount() const {
    Vessel *v = Live(this, hVessel_, __func__);
    return v ? static_cast<DWORD>(v->tanks.size()) : 0;
}

PROPELLANT_HANDLE VESSEL::GetPropellantHandleByIndex(DWORD idx) const {
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v || idx >= v->tanks.size()) return nullptr;
    return &v->tanks[idx];
}

double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int i = v ? TankIndex(*v, ph) : -1;
    return i < 0 ? 0 : v->tanks[i].mass;
}

double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE ph) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int i = v ? TankIndex(*v, ph) : -1;
    return i < 0 ? 0 : v->tanks[i].maxMass;
}

void VESSEL::SetPropellantMass(PROPELLANT_HANDLE ph, double mass) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int i = v ? TankIndex(*v, ph) : -1;
    if (i < 0 || !std::isfinite(mass)) return;
    kvhost::Tank &t = v->tanks[i];
    const double before = t.mass;
    t.mass = mass < 0 ? 0 : (mass > t.maxMass ? t.maxMass : mass);
    if (t.mass > before) {  // topped up: the flight log counts refills and the propellant added
        ++v->refills;
        v->propellantAdded += t.mass - before;
    }
}

THGROUP_HANDLE VESSEL::GetThrusterGroupHandle(THGROUP_TYPE thgt) const {
    Vessel *v = Live(this, hVessel_, __func__);
    // Every group type has a handle, an empty one too (its count is 0), as in the simulator.
    const std::vector<int> *g = v ? Group(*v, thgt) : nullptr;
    return g ? const_cast<std::vector<int> *>(g) : nullptr;
}

DWORD VESSEL::GetGroupThrusterCount(THGROUP_HANDLE thg) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int gi = v ? GroupIndex(*v, thg) : -1;
    return gi < 0 ? 0 : static_cast<DWORD>(v->groups[gi].size());
}

DWORD VESSEL::GetGroupThrusterCount(THGROUP_TYPE thgt) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const std::vector<int> *g = v ? Group(*v, thgt) : nullptr;
    return g ? static_cast<DWORD>(g->size()) : 0;
}

THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_HANDLE thg, DWORD idx) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int gi = v ? GroupIndex(*v, thg) : -1;
    if (gi < 0 || idx >= v->groups[gi].size()) return nullptr;
    return &v->thrusters[v->groups[gi][idx]];
}

THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const std::vector<int> *g = v ? Group(*v, thgt) : nullptr;
    if (!g || idx >= g->size()) return nullptr;
    return &v->thrusters[(*g)[idx]];
}

double VESSEL::GetThrusterMax0(THRUSTER_HANDLE th) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int i = v ? ThrusterIndex(*v, th) : -1;
    return i < 0 ? 0 : v->thrusters[i].spec.max0;
}

double VESSEL::GetThrusterMax(THRUSTER_HANDLE th) const {
    // The stand-in has no atmospheres: the rating at ambient pressure is the vacuum rating.
    return GetThrusterMax0(th);
}

void VESSEL::GetThrusterRef(THRUSTER_HANDLE th, VECTOR3 &pos) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int i = v ? ThrusterIndex(*v, th) : -1;
    pos = i < 0 ? _V(0, 0, 0) : v->thrusters[i].spec.pos;
}

DWORD VESSEL::GetThrusterCount() const {
    Vessel *v = Live(this, hVessel_, __func__);
    return v ? static_cast<DWORD>(v->thrusters.size()) : 0;
}

THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD idx) const {
    Vessel *v = Live(this, hVessel_, __func__);
    if (!v || idx >= v->thrusters.size()) return nullptr;
    return &v->thrusters[idx];
}

void VESSEL::SetThrusterLevel(THRUSTER_HANDLE th, double level) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const int i = v ? ThrusterIndex(*v, th) : -1;
    if (i < 0) return;
    v->thrusters[i].requestedLevel = level;
    NoteLevel(*v, level);
    kvhost::SetThrusterLevel(*v, i, level);
}

void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const {
    Vessel *v = Live(this, hVessel_, __func__);
    const std::vector<int> *g = v ? Group(*v, thgt) : nullptr;
    if (!g) return;
    v->requestedGroupLevel[thgt] = level;
    NoteLevel(*v, level);
    for (int i : *g) kvhost::SetThrusterLevel(*v, i, ClampGroupLevel(level));
}
