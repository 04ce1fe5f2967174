// catalogue_records.h: the records of the system catalogue, the module-wide tree of
// gravitating bodies (star -> planets -> moons) that every body list is derived from.
#ifndef KAVREX_MODEL_CATALOGUE_RECORDS_H
#define KAVREX_MODEL_CATALOGUE_RECORDS_H

#include <Orbitersdk.h>

#include "capacities.h"

#include <cstdint>

namespace kavrex {

struct MoonRecord {
    char name[kNameLength];
    double distance;  // from its planet, m: the sort key
    double radius;
    double mass;
    OBJHANDLE handle;
    OBJHANDLE planet;
};

struct PlanetRecord {
    char name[kNameLength];
    double distance;  // from the global origin, m: the sort key
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
    uint32_t gbodyCount;  // host bodies read (at most kMaxHostBodies)
    OBJHANDLE starHandle;
    double starRadius;
    double starMass;
    char starName[kNameLength];
    uint32_t planetCount;
    PlanetRecord planets[kMaxPlanets];
    uint32_t moonTotal;
    BodyLink links[kMaxHostBodies];
};

}  // namespace kavrex

#endif
