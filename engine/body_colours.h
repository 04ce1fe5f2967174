// body_colours.h: the colours bodies are drawn in (COLORREF, 0xBBGGRR).
#ifndef KAVREX_ENGINE_BODY_COLOURS_H
#define KAVREX_ENGINE_BODY_COLOURS_H

#include <Orbitersdk.h>

namespace kavrex {

constexpr COLORREF kStarColour = 0x00FFFF;

// Planet p (0-based, in catalogue order).
COLORREF PlanetColour(uint32_t p);
// Moon m (0-based, among its planet's moons).
COLORREF MoonColour(uint32_t m);

}  // namespace kavrex

#endif
