// ships_page.h: the ships page, drawn in display mode 4 beside the settings buttons.
#ifndef KAVREX_DISPLAY_SHIPS_PAGE_H
#define KAVREX_DISPLAY_SHIPS_PAGE_H

#include <Orbitersdk.h>

#include "../model/ship_table.h"

namespace kavrex {

// Draws the page for the focus record seen from its entry `e`, font cell width cw. Every
// record's status strip shows the projection flag of its entry in the same place as `e`.
void DrawShipsPage(const ShipRecord &focus, const MfdEntry &e, DWORD cw);

}  // namespace kavrex

#endif
