// catalogue.h: the module-wide tree of gravitating bodies, star -> planets -> moons.
//
// Built from the host's bodies on demand (every body-list rebuild). A body's parent is the
// heavier body about which it moves on a bound orbit with the strongest pull; a body with no
// such partner hangs from the star. Every capacity is bounded: at most 64 host bodies are read,
// 64 children kept per body, 16 planets and 16 moons per planet.
#ifndef KAVREX_ENGINE_CATALOGUE_H
#define KAVREX_ENGINE_CATALOGUE_H

#include <Orbitersdk.h>

#include "../model/ship_table.h"

#include <cstdint>

namespace kavrex {

constexpr double kGravConst = 6.67259e-11;
constexpr int kMaxHostBodies = 64;
constexpr int kMaxChildren = 64;
constexpr int kMaxPlanets = 16;
constexpr int kMaxMoons = 16;
constexpr int kLinkNameLength = 32;   // names in the working links are cut to this

struct MoonRecord {
    char name[kNameLength];
    double distance;   // from its planet, m: the sort key
    double radius;
    double mass;
    OBJHANDLE handle;
    OBJHANDLE planet;
};

struct PlanetRecord {
    char name[kNameLength];
    double distance;   // from the global origin, m: the sort key
    double radius;
    double mass;
    OBJHANDLE handle;
    uint32_t moonCount;
    MoonRecord moons[kMaxMoons];
};

struct BodyLink {
    char name[kNameLength];
    OBJHANDLE handle;
    OBJHANDLE parentHandle;
    OBJHANDLE children[kMaxChildren];
    uint32_t childCount;
};

struct SystemCatalogue {
    uint32_t gbodyCount;   // host bodies read (at most kMaxHostBodies)
    OBJHANDLE starHandle;
    double starRadius;
    double starMass;
    char starName[kNameLength];
    uint32_t planetCount;
    PlanetRecord planets[kMaxPlanets];
    uint32_t moonTotal;
    BodyLink links[kMaxHostBodies];
};

const SystemCatalogue &Catalogue();
void BuildSystemCatalogue();

}  // namespace kavrex

#endif
