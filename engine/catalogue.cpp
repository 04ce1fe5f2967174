// catalogue.cpp: building the star, planet and moon tree from the host's bodies.
#include "catalogue.h"

#include "../model/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavrex {

namespace {

void FetchName(OBJHANDLE h, char *dst, int size) {
    if (!h) {
        CopyText(dst, static_cast<size_t>(size), "unknown");
        return;
    }
    dst[0] = '\0';
    oapiGetObjectName(h, dst, size);
    dst[size - 1] = '\0';
}

// The most massive body, first of equals; null when no body has positive mass.
OBJHANDLE FindStar(uint32_t count) {
    OBJHANDLE star = nullptr;
    double heaviest = 0.0;
    for (uint32_t i = 0; i < count; ++i) {
        OBJHANDLE h = oapiGetGbodyByIndex(static_cast<int>(i));
        if (!h) continue;
        const double m = oapiGetMass(h);
        if (m > heaviest) {
            heaviest = m;
            star = h;
        }
    }
    return star;
}

// The heavier body that h orbits bound with the strongest pull, else the star.
OBJHANDLE FindParent(OBJHANDLE h, OBJHANDLE star, uint32_t count) {
    if (!h || h == star) return star;
    const double m = oapiGetMass(h);
    double best = 0.0;
    OBJHANDLE parent = star;
    for (uint32_t k = 0; k < count; ++k) {
        OBJHANDLE c = oapiGetGbodyByIndex(static_cast<int>(k));
        if (c == h || c == star) continue;
        const double mc = oapiGetMass(c);
        if (!(mc > m)) continue;  // equal masses never parent each other
        VECTOR3 r, v;
        oapiGetRelativePos(c, h, &r);
        oapiGetRelativeVel(c, h, &v);
        const double mu = mc * kGravConst;
        const double rl = length(r);
        const VECTOR3 e = (r * (dotp(v, v) - mu / rl) - v * dotp(r, v)) / mu;
        // A zero distance or mu makes e a non-number, which is no candidate either.
        if (!(length(e) < 1.0)) continue;
        const double pull = mu / (rl * rl);
        if (pull > best) {
            best = pull;
            parent = c;
        }
    }
    return parent;
}

void BuildLinks(SystemCatalogue &cat) {
    for (uint32_t i = 0; i < cat.gbodyCount; ++i) {
        OBJHANDLE h = oapiGetGbodyByIndex(static_cast<int>(i));
        BodyLink &link = cat.links[i];
        link.handle = h;
        link.parentHandle = FindParent(h, cat.starHandle, cat.gbodyCount);
        link.childCount = 0;
        FetchName(h, link.name, kLinkNameLength);
    }
    for (uint32_t i = 0; i < cat.gbodyCount; ++i) {
        BodyLink &link = cat.links[i];
        for (uint32_t j = 0; j < cat.gbodyCount; ++j) {
            const BodyLink &other = cat.links[j];
            if (other.parentHandle != link.handle || other.handle == link.handle) continue;
            if (link.childCount < kMaxChildren) link.children[link.childCount++] = other.handle;
        }
    }
}

void CollectMoons(SystemCatalogue &cat, PlanetRecord &planet) {
    planet.moonCount = 0;
    for (uint32_t j = 0; j < cat.gbodyCount && planet.moonCount < kMaxMoons; ++j) {
        const BodyLink &link = cat.links[j];
        if (link.parentHandle != planet.handle || link.handle == planet.handle) continue;
        MoonRecord &moon = planet.moons[planet.moonCount++];
        moon.planet = planet.handle;
        moon.handle = link.handle;
        VECTOR3 rel;
        oapiGetRelativePos(link.handle, planet.handle, &rel);
        moon.distance = length(rel);
        moon.mass = oapiGetMass(link.handle);
        moon.radius = oapiGetSize(link.handle);
        FetchName(link.handle, moon.name, kNameLength);
    }
}

void CollectPlanets(SystemCatalogue &cat) {
    // The planets are the star's children. The star is looked up by handle rather than taken
    // to be host body 0, so a host that lists its star later still gets a sound tree.
    const BodyLink *starLink = nullptr;
    for (uint32_t i = 0; i < cat.gbodyCount && cat.starHandle; ++i)
        if (cat.links[i].handle == cat.starHandle) starLink = &cat.links[i];
    const uint32_t children = starLink ? starLink->childCount : 0;
    cat.planetCount = std::min<uint32_t>(children, kMaxPlanets);
    cat.moonTotal = cat.gbodyCount > children ? cat.gbodyCount - children - 1 : 0;
    for (uint32_t p = 0; p < cat.planetCount; ++p) {
        PlanetRecord &planet = cat.planets[p];
        planet.handle = starLink->children[p];
        if (planet.handle) {
            FetchName(planet.handle, planet.name, kNameLength);
            VECTOR3 pos;
            oapiGetGlobalPos(planet.handle, &pos);
            planet.distance = length(pos);
            planet.radius = oapiGetSize(planet.handle);
            planet.mass = oapiGetMass(planet.handle);
        } else {
            CopyText(planet.name, sizeof planet.name, "unknown");
        }
        CollectMoons(cat, planet);
    }
}

void SortByDistance(SystemCatalogue &cat) {
    std::stable_sort(cat.planets, cat.planets + cat.planetCount,
                     [](const PlanetRecord &a, const PlanetRecord &b) { return a.distance < b.distance; });
    for (uint32_t p = 0; p < cat.planetCount; ++p) {
        PlanetRecord &planet = cat.planets[p];
        std::stable_sort(planet.moons, planet.moons + planet.moonCount,
                         [](const MoonRecord &a, const MoonRecord &b) { return a.distance < b.distance; });
    }
}

}  // namespace

void BuildSystemCatalogue() {
    SystemCatalogue &cat = Module().catalogue;
    cat.gbodyCount = std::min<uint32_t>(oapiGetGbodyCount(), kMaxHostBodies);
    cat.starHandle = FindStar(cat.gbodyCount);
    FetchName(cat.starHandle, cat.starName, kNameLength);
    cat.starMass = cat.starHandle ? oapiGetMass(cat.starHandle) : 0.0;
    cat.starRadius = cat.starHandle ? oapiGetSize(cat.starHandle) : 0.0;
    BuildLinks(cat);
    CollectPlanets(cat);
    SortByDistance(cat);
}

}  // namespace kavrex
