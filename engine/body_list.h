// body_list.h: each vessel's list of bodies, derived from the system catalogue.
//
// Entry 0 is the star; then the planets by distance from the star, each followed by its moons
// when moons are included. With moons excluded and lunaAlways set, the single moon of "Earth"
// still follows it. Every entry owns two pens in its colour.
#ifndef KAVREX_ENGINE_BODY_LIST_H
#define KAVREX_ENGINE_BODY_LIST_H

#include "../model/ship_table.h"

namespace kavrex {

void RebuildBodyList(ShipRecord &r);

// Source and target from the vessel's gravity reference, widening the list to moons if needed.
void SelectReferenceBody(ShipRecord &r);

// Deletes both pens of an entry and clears their handles.
void ReleaseBodyPens(BodyEntry &entry);

}  // namespace kavrex

#endif
