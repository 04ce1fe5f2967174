// variants.h: the fourteen propagator variants, one per relation of source and target, and the
// choice among them. A variant fixes which bodies are modelled (pull the ship and move) and which
// are watched (closest approach and impact), by their roles: source S, target T and the planets
// pS and pT of moons among them.
#ifndef KAVREX_ENGINE_VARIANTS_H
#define KAVREX_ENGINE_VARIANTS_H

#include "../model/ship_table.h"

#include <cstdint>

namespace kavrex {

constexpr int kVariantCount = 14;

// The bodies of one variant for one record, as body-list indices. The star (index 0) is always
// modelled and is not repeated in `modelled`; a body named by two roles is listed once.
struct VariantBodies {
    BodyIndex modelled[4];
    uint32_t modelledCount;
    BodyIndex watched[kMaxWatched];
    uint32_t watchedCount;
};

int8_t SelectPropagator(const ShipRecord &r);
VariantBodies ResolveVariant(int variant, const ShipRecord &r);

typedef void (*PropagatorFn)(ShipRecord &r);
// Entry v of the propagator table: computes a whole trajectory of variant v into `work`.
PropagatorFn Propagator(int variant);

}  // namespace kavrex

#endif
