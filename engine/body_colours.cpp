// body_colours.cpp: the star and planet table and the moon table.
#include "body_colours.h"

#include "../model/capacities.h"

namespace kavrex {

namespace {

// Index 0 is the star, 1 + p planet p: a colour for each planet the catalogue can hold.
const COLORREF kStarAndPlanets[] = {
    kStarColour, 0xFF00FF, 0xFFFF00, 0x00FF00, 0x0000FF, 0x0080C0, 0x800080, 0x808000, 0xFF0000,
    0x00C0C0,    0xC000C0, 0xC0C000, 0x00C000, 0x0000C0, 0x0080C0, 0x0080C0, 0x0080C0,
};

const COLORREF kMoons[] = {
    0xFF0000, 0xFF00FF, 0xFFFF00, 0x00FF00, 0x0000FF, 0x0080C0, 0x800080, 0x808000,
    0x00C0C0, 0xC000C0, 0xC0C000, 0x00C000, 0x0000C0, 0x0080C0, 0x000000, 0x000000,
};

static_assert(sizeof kStarAndPlanets / sizeof kStarAndPlanets[0] == kMaxPlanets + 1, "a colour for each planet");
static_assert(sizeof kMoons / sizeof kMoons[0] == kMaxMoons, "a colour for each moon of a planet");

}  // namespace

COLORREF PlanetColour(uint32_t p) {
    if (p >= kMaxPlanets) return kStarAndPlanets[kMaxPlanets];
    return kStarAndPlanets[1 + p];
}

COLORREF MoonColour(uint32_t m) {
    if (m >= kMaxMoons) return kMoons[kMaxMoons - 1];
    return kMoons[m];
}

}  // namespace kavrex
