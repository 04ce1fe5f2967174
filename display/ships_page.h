// ships_page.h: the ships page, drawn in display mode 4 beside the settings buttons.
#ifndef KAVREX_DISPLAY_SHIPS_PAGE_H
#define KAVREX_DISPLAY_SHIPS_PAGE_H

#include <Orbitersdk.h>

namespace kavrex {

// Draws the page for record `ship` seen from its entry `mfd`, font cell width cw.
void DrawShipsPage(int ship, int mfd, DWORD cw);

}  // namespace kavrex

#endif
