// oapi_objects.cpp: the SDK's object queries, answered from the current world.
//
// Unknown or null handles give zero vectors, zero masses and an empty name: the simulator's
// plug-ins must never be able to crash the host with a stale handle.
#include <Orbitersdk.h>

#include "../world/frames.h"
#include "../world/world.h"

#include <cstring>

using kvhost::CurrentWorld;
using kvhost::ObjectKind;
using kvhost::ObjectRef;
using kvhost::World;

namespace {

const ObjectRef *Resolve(OBJHANDLE h) {
    World *w = CurrentWorld();
    return (w && h) ? w->Resolve(h) : nullptr;
}

bool StateOf(OBJHANDLE h, VECTOR3 &pos, VECTOR3 &vel) {
    const ObjectRef *ref = Resolve(h);
    if (!ref) {
        pos = vel = _V(0, 0, 0);
        return false;
    }
    World &w = *CurrentWorld();
    if (ref->kind == ObjectKind::Body) {
        pos = w.body(ref->index).pos;
        vel = w.body(ref->index).vel;
    } else {
        pos = w.vessel(ref->index).pos;
        vel = w.vessel(ref->index).vel;
    }
    return true;
}

}  // namespace

OBJHANDLE oapiGetFocusObject() {
    World *w = CurrentWorld();
    return w ? w->VesselHandle(w->focus()) : nullptr;
}

DWORD oapiGetGbodyCount() {
    World *w = CurrentWorld();
    return w ? static_cast<DWORD>(w->BodyCount()) : 0;
}

OBJHANDLE oapiGetGbodyByIndex(int index) {
    World *w = CurrentWorld();
    return w ? w->BodyHandle(index) : nullptr;
}

void oapiGetObjectName(OBJHANDLE hObj, char *name, int n) {
    if (!name || n <= 0) return;
    const ObjectRef *ref = Resolve(hObj);
    const char *src = "";
    if (ref) {
        World &w = *CurrentWorld();
        src = ref->kind == ObjectKind::Body ? w.body(ref->index).name.c_str() : w.vessel(ref->index).name.c_str();
    }
    std::strncpy(name, src, static_cast<size_t>(n - 1));
    name[n - 1] = '\0';
}

double oapiGetMass(OBJHANDLE hObj) {
    const ObjectRef *ref = Resolve(hObj);
    if (!ref) return 0;
    World &w = *CurrentWorld();
    return ref->kind == ObjectKind::Body ? w.body(ref->index).mass : w.vessel(ref->index).Mass();
}

double oapiGetSize(OBJHANDLE hObj) {
    const ObjectRef *ref = Resolve(hObj);
    if (!ref) return 0;
    World &w = *CurrentWorld();
    return ref->kind == ObjectKind::Body ? w.body(ref->index).radius : w.vessel(ref->index).size;
}

void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos) {
    VECTOR3 vel;
    if (pos) StateOf(hObj, *pos, vel);
}

void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3 *vel) {
    VECTOR3 pos;
    if (vel) StateOf(hObj, pos, *vel);
}

void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *pos) {
    VECTOR3 p1, v1, p2, v2;
    StateOf(hObj, p1, v1);
    StateOf(hRef, p2, v2);
    if (pos) *pos = p1 - p2;
}

void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel) {
    VECTOR3 p1, v1, p2, v2;
    StateOf(hObj, p1, v1);
    StateOf(hRef, p2, v2);
    if (vel) *vel = v1 - v2;
}

void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat) {
    if (!mat) return;
    *mat = kvhost::IdentityMatrix();
    const ObjectRef *ref = Resolve(hObj);
    if (ref && ref->kind == ObjectKind::Vessel) *mat = CurrentWorld()->vessel(ref->index).rot;
    if (ref && ref->kind == ObjectKind::Body) *mat = CurrentWorld()->body(ref->index).Axes().rot;
}

double oapiGetSimMJD() {
    World *w = CurrentWorld();
    return w ? w->Mjd() : 0;
}
