// body_list.cpp: rebuilding a vessel's body list.
#include "body_list.h"

#include "body_colours.h"
#include "catalogue.h"
#include "../model/text.h"

#include <cstring>

namespace kavrex {

namespace {

// The list index of the body with handle h, into `found`; false when it is not listed.
bool FindBodyByHandle(const ShipRecord &r, OBJHANDLE h, BodyIndex &found) {
    for (BodyIndex j = 0; j < r.bodyCount; ++j) {
        if (r.bodies[j].handle == h) {
            found = j;
            return true;
        }
    }
    return false;
}

// Gives an entry its colour. Pens of the same colour are kept, so a rebuild that changes
// nothing creates no GDI objects; otherwise the old pens are deleted before new ones are made.
void SetColour(BodyEntry &e, COLORREF colour) {
    if (e.dotPen && e.solidPen && e.colour == colour) return;
    ReleaseBodyPens(e);
    e.dotPen = CreatePen(PS_DOT, 1, colour);
    e.solidPen = CreatePen(PS_SOLID, 1, colour);
    e.colour = colour;
}

void FillEntry(BodyEntry &e, OBJHANDLE handle, const char *name, double mass, double radius, COLORREF colour,
               uint32_t moonCount, uint32_t parent) {
    e.handle = handle;
    CopyText(e.name, sizeof e.name, name);
    e.gm = mass * kGravConst;
    e.radius = radius;
    SetColour(e, colour);
    e.moonCount = moonCount;
    e.parent = parent;
}

// Inserts Earth's single moon right after "Earth" when the moons are not listed.
void ApplyLunaRule(ShipRecord &r) {
    const SystemCatalogue &cat = Catalogue();
    uint32_t earth = 0;
    while (earth < r.bodyCount && !SameTextIgnoringCase(r.bodies[earth].name, "Earth")) ++earth;
    if (earth == r.bodyCount || r.bodies[earth].moonCount != 1) return;
    if (r.bodyCount >= kMaxBodies) return;  // no room: never write past the list
    const PlanetRecord *planet = nullptr;
    for (uint32_t p = 0; p < cat.planetCount; ++p)
        if (cat.planets[p].handle == r.bodies[earth].handle) planet = &cat.planets[p];
    if (!planet || planet->moonCount < 1) return;

    // The slot that the shift fills may hold pens of an earlier, longer list: release them
    // first. After the shift the freed slot's pen handles belong to its successor.
    ReleaseBodyPens(r.bodies[r.bodyCount]);
    std::memmove(&r.bodies[earth + 2], &r.bodies[earth + 1], (r.bodyCount - earth - 1) * sizeof(BodyEntry));
    BodyEntry &moon = r.bodies[earth + 1];
    moon.dotPen = nullptr;
    moon.solidPen = nullptr;
    const MoonRecord &m = planet->moons[0];
    FillEntry(moon, m.handle, m.name, m.mass, m.radius, MoonColour(0), 0, earth);
    ++r.bodyCount;
}

}  // namespace

void ReleaseBodyPens(BodyEntry &entry) {
    if (entry.dotPen) DeleteObject(entry.dotPen);
    if (entry.solidPen) DeleteObject(entry.solidPen);
    entry.dotPen = nullptr;
    entry.solidPen = nullptr;
}

void RebuildBodyList(ShipRecord &r) {
    BuildSystemCatalogue();
    const SystemCatalogue &cat = Catalogue();

    FillEntry(r.bodies[0], cat.starHandle, cat.starName, cat.starMass, cat.starRadius, kStarColour, 0, 0);
    uint32_t n = 1;
    for (uint32_t p = 0; p < cat.planetCount && n < kMaxBodies; ++p) {
        const PlanetRecord &planet = cat.planets[p];
        const uint32_t planetIndex = n;
        FillEntry(r.bodies[n++], planet.handle, planet.name, planet.mass, planet.radius, PlanetColour(p),
                  planet.moonCount, 0);
        if (!r.includeMoons) continue;
        for (uint32_t m = 0; m < planet.moonCount && n < kMaxBodies; ++m) {
            const MoonRecord &moon = planet.moons[m];
            FillEntry(r.bodies[n++], moon.handle, moon.name, moon.mass, moon.radius, MoonColour(m), 0, planetIndex);
        }
    }
    r.bodyCount = n;
    if (r.lunaAlways && !r.includeMoons) ApplyLunaRule(r);
}

void SelectReferenceBody(ShipRecord &r) {
    r.sourceBody = r.targetBody = 0;
    OBJHANDLE g = r.vessel->GetGravityRef();
    BodyIndex j = 0;
    bool listed = FindBodyByHandle(r, g, j);
    if (!listed && !r.includeMoons) {
        r.includeMoons = true;
        RebuildBodyList(r);
        listed = FindBodyByHandle(r, g, j);
        if (!listed) {
            r.includeMoons = false;
            RebuildBodyList(r);
        }
    }
    if (listed) r.sourceBody = r.targetBody = j;
}

}  // namespace kavrex
