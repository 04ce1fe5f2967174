// key_commands.h: the pilot's commands, by key. Each changes a setting of the focus vessel's
// record or of the display's own entry, then asks for a redraw.
#ifndef KAVREX_CONTROLS_KEY_COMMANDS_H
#define KAVREX_CONTROLS_KEY_COMMANDS_H

#include <Orbitersdk.h>

namespace kavrex {

// Runs the command of `key` for `display`; false for a key that is no command.
bool HandleKey(MFD &display, DWORD key);

// True while a right click is being dispatched or the Ctrl key is down: stepping commands then
// go the other way.
bool IsModifierActive();
void SetButtonModifier(bool on);

// The "Select G" input box's callback: artGee from the text's leading decimal number.
bool SetKvAccelClbk(void *id, char *str, void *usrdata);
// The longest leading decimal number of text (blanks skipped, sign, digits, point, exponent);
// 0.0 when the text does not begin with one.
double LeadingNumber(const char *text);

}  // namespace kavrex

#endif
