// settings_reset.cpp: the reset sequence behind the R, L and N keys.
#include "settings_reset.h"

#include "../engine/body_list.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"

namespace kavrex {

void ResetSettings(int ship, int mfd) {
    ResetShipRecord(ship, false);
    RebuildBodyList(ship);
    SelectReferenceBody(ship);
    Entry(ship, mfd).centerBody = Ship(ship).sourceBody;
}

}  // namespace kavrex
