// buttons.h: the display's twelve buttons on its two pages. A press becomes the key code of
// the button's command and runs as a typed key; a right click runs it reversed.
#ifndef KAVREX_CONTROLS_BUTTONS_H
#define KAVREX_CONTROLS_BUTTONS_H

#include <Orbitersdk.h>

namespace kavrex {

// True when the display's entry (in the focus vessel's record) shows page 4, the settings.
bool IsSettingsPage(const MFD *display);
// The label of button bt on the display's page; null for a button that does not exist.
char *ButtonLabelFor(const MFD *display, int bt);
int ButtonMenuFor(const MFD *display, const MFDBUTTONMENU **menu);
bool HandleButton(MFD &display, int bt, int event);

}  // namespace kavrex

#endif
