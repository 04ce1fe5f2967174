// settings_reset.cpp: the reset sequence behind the R, L and N keys.
#include "settings_reset.h"

#include "../engine/body_list.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"

namespace kavrex {

void ResetSettings(ShipRecord &r, MfdEntry &e) {
    ResetShipRecord(r, false);
    RebuildBodyList(r);
    SelectReferenceBody(r);
    e.centerBody = r.sourceBody;
}

}  // namespace kavrex
