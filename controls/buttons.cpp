// buttons.cpp: labels, menus and presses of the two button pages.
#include "buttons.h"

#include "../model/ship_lookup.h"
#include "../model/ship_table.h"
#include "command_table.h"
#include "key_commands.h"

namespace kavrex {

bool IsSettingsPage(const MFD *display) {
    ShipRecord *focus = FocusShip();
    if (!focus) return false;
    const MfdEntry *e = FindEntry(*focus, display);
    return e && e->mode == 4;
}

char *ButtonLabelFor(const MFD *display, int bt) {
    if (bt < 0 || bt >= kButtons) return nullptr;
    // The SDK hands labels out as char*; the host only reads them.
    return const_cast<char *>(InfoOf(ButtonCommand(IsSettingsPage(display), bt)).label);
}

int ButtonMenuFor(const MFD *display, const MFDBUTTONMENU **menu) {
    if (!menu) return 0;
    *menu = PageMenu(IsSettingsPage(display));
    return kButtons;
}

namespace {

// The key of button bt on the page the display shows now.
DWORD ButtonKey(const MFD *display, int bt) { return InfoOf(ButtonCommand(IsSettingsPage(display), bt)).key; }

}  // namespace

bool HandleButton(MFD &display, int bt, int event) {
    if (bt < 0 || bt >= kButtons) return false;
    bool used = false;
    if (event & PANEL_MOUSE_RBDOWN) {
        SetButtonModifier(true);
        used = display.ConsumeKeyBuffered(ButtonKey(&display, bt));
        SetButtonModifier(false);
    }
    // The page is asked again: the modified press may have turned it.
    if (event & PANEL_MOUSE_LBDOWN) return display.ConsumeKeyBuffered(ButtonKey(&display, bt));
    return used;
}

}  // namespace kavrex
