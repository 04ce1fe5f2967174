// settings_reset.h: back to the default flight settings, starting again from the vessel's
// gravity reference.
#ifndef KAVREX_CONTROLS_SETTINGS_RESET_H
#define KAVREX_CONTROLS_SETTINGS_RESET_H

#include "../model/ship_table.h"

namespace kavrex {

// Resets the record's flight settings (not artGee or the list options), rebuilds its body list,
// selects source and target from the gravity reference and centres entry `e` on the source.
void ResetSettings(ShipRecord &r, MfdEntry &e);

}  // namespace kavrex

#endif
