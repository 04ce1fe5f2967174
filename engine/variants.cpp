// variants.cpp: the variant table, the selection rule and the propagator table.
#include "variants.h"

#include "propagate.h"

namespace kavrex {

namespace {

enum Role : uint8_t { kS, kT, kPS, kPT };

struct VariantRoles {
    uint8_t modelledCount;
    Role modelled[4];
    uint8_t watchedCount;
    Role watched[4];
};

// Modelled besides the star, and watched in the order of the closest-approach tests.
const VariantRoles kVariants[] = {
    {0, {}, 1, {kT}},                                // 0: star -> the star
    {1, {kT}, 2, {kS, kT}},                          // 1: star -> a planet
    {1, {kS}, 2, {kS, kT}},                          // 2: a planet -> star
    {2, {kT, kPT}, 3, {kS, kT, kPT}},                // 3: star -> a moon
    {2, {kS, kPS}, 3, {kS, kPS, kT}},                // 4: a moon -> star
    {2, {kS, kT}, 2, {kS, kT}},                      // 5: planet -> another planet
    {1, {kT}, 1, {kT}},                              // 6: planet -> the same planet
    {2, {kT, kPT}, 2, {kT, kPT}},                    // 7: moon -> the same moon
    {3, {kS, kT, kPT}, 3, {kS, kT, kPT}},            // 8: planet -> moon of another
    {3, {kS, kPS, kT}, 3, {kS, kPS, kT}},            // 9: moon -> another planet
    {2, {kT, kPT}, 2, {kT, kPT}},                    // 10: planet -> its own moon
    {2, {kS, kT}, 2, {kS, kT}},                      // 11: moon -> its own planet
    {3, {kS, kT, kPT}, 3, {kS, kT, kPT}},            // 12: moon -> sibling moon
    {4, {kS, kPS, kT, kPT}, 4, {kS, kPS, kT, kPT}},  // 13: moon -> moon elsewhere
};

struct Roles {
    BodyIndex s, t, ps, pt;
};

Roles RolesOf(const ShipRecord &r) {
    Roles x;
    x.s = ListIndex(r, r.sourceBody);
    x.t = ListIndex(r, r.targetBody);
    x.ps = ListIndex(r, r.bodies[x.s].parent);
    x.pt = ListIndex(r, r.bodies[x.t].parent);
    return x;
}

BodyIndex RoleIndex(const Roles &x, Role role) {
    switch (role) {
    case kS: return x.s;
    case kT: return x.t;
    case kPS: return x.ps;
    case kPT: return x.pt;
    }
    return 0;
}

template <int V>
void PropagateVariant(ShipRecord &r) {
    Propagate(r, ResolveVariant(V, r));
}

const PropagatorFn kPropagatorTable[] = {
    PropagateVariant<0>,  PropagateVariant<1>,  PropagateVariant<2>,  PropagateVariant<3>,  PropagateVariant<4>,
    PropagateVariant<5>,  PropagateVariant<6>,  PropagateVariant<7>,  PropagateVariant<8>,  PropagateVariant<9>,
    PropagateVariant<10>, PropagateVariant<11>, PropagateVariant<12>, PropagateVariant<13>,
};

static_assert(sizeof kVariants / sizeof kVariants[0] == kVariantCount, "a role table for each variant");
static_assert(sizeof kPropagatorTable / sizeof kPropagatorTable[0] == kVariantCount, "a propagator for each variant");

}  // namespace

int8_t SelectPropagator(const ShipRecord &r) {
    const Roles x = RolesOf(r);
    const uint32_t S = x.s, T = x.t, pS = x.ps, pT = x.pt;
    int8_t v = 13;
    if (S == 0 && T == 0) v = 0;
    if (S == 0 && T != 0 && pT == 0) v = 1;
    if (S != 0 && pS == 0 && T == 0) v = 2;
    if (S == 0 && pT != 0) v = 3;
    if (pS != 0 && T == 0) v = 4;
    if (S != 0 && pS == 0 && T != 0 && pT == 0) v = T == S ? 6 : 5;
    if (pS != 0 && pT != 0) v = pS == pT ? (S == T ? 7 : 12) : 13;
    if (S != 0 && T != 0 && pS == 0 && pT != 0) v = pT == S ? 10 : 8;
    if (T != 0 && pT == 0 && pS != 0) v = T == pS ? 11 : 9;
    return v;
}

VariantBodies ResolveVariant(int variant, const ShipRecord &r) {
    VariantBodies vb = {};
    if (variant < 0 || variant >= kVariantCount) variant = 0;
    const VariantRoles &roles = kVariants[variant];
    const Roles x = RolesOf(r);
    for (uint32_t i = 0; i < roles.modelledCount; ++i) {
        const BodyIndex b = RoleIndex(x, roles.modelled[i]);
        bool seen = b == 0;  // the star is modelled anyway
        for (uint32_t j = 0; j < vb.modelledCount; ++j) seen = seen || vb.modelled[j] == b;
        if (!seen) vb.modelled[vb.modelledCount++] = b;
    }
    for (uint32_t i = 0; i < roles.watchedCount; ++i) vb.watched[vb.watchedCount++] = RoleIndex(x, roles.watched[i]);
    return vb;
}

PropagatorFn Propagator(int variant) {
    if (variant < 0 || variant >= kVariantCount) return kPropagatorTable[0];
    return kPropagatorTable[variant];
}

}  // namespace kavrex
