// catalogue.h: the module-wide tree of gravitating bodies, star -> planets -> moons.
//
// Built from the host's bodies on demand (every body-list rebuild). A body's parent is the
// heavier body about which it moves on a bound orbit with the strongest pull; a body with no
// such partner hangs from the star. Every capacity is bounded: at most 64 host bodies are read,
// 64 children kept per body, 16 planets and 16 moons per planet.
#ifndef KAVREX_ENGINE_CATALOGUE_H
#define KAVREX_ENGINE_CATALOGUE_H

#include <Orbitersdk.h>

#include "../model/catalogue_records.h"
#include "../model/module_state.h"

namespace kavrex {

constexpr double kGravConst = 6.67259e-11;

void BuildSystemCatalogue();

}  // namespace kavrex

#endif
