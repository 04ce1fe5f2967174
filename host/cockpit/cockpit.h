// cockpit.h: the registered display modes, the cockpit's twelve display slots (identifiers 0 to
// 11, as the simulator's cockpits have) and a few displays in external windows, which pass any
// identifier the window chooses.
//
// Opening a slot in a mode sends OAPI_MSG_MFD_OPENED through the mode's message procedure, as
// the simulator does, with the width in the low and the height in the high 16 bits; the
// procedure's result is the new instance's address, and the slot keeps that instance.
#ifndef KVHOST_COCKPIT_COCKPIT_H
#define KVHOST_COCKPIT_COCKPIT_H

#include <Orbitersdk.h>

#include <string>
#include <vector>

namespace kvhost {

struct RegisteredMode {
    int id = 0;
    std::string name;
    DWORD key = 0;
    OAPI_MSGTYPE (*msgproc)(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam) = nullptr;
};

int RegisterMode(const MFDMODESPEC &spec);
bool UnregisterMode(int id);
const RegisteredMode *FindMode(const std::string &name);  // case-insensitive

constexpr int kCockpitDisplays = 12;  // slots 0..11: identifier = slot
constexpr int kWindowDisplays = 6;    // slots 12..17: external windows, identifier of their own
constexpr int kDisplaySlots = kCockpitDisplays + kWindowDisplays;
constexpr int kDefaultDisplaySize = 256;  // the simulator's classic display size

struct DisplaySlot {
    MFD *instance = nullptr;
    UINT id = 0;  // the identifier the display's mode is given
    std::string mode;
    int width = kDefaultDisplaySize, height = kDefaultDisplaySize;
    bool displayInvalid = false, buttonsInvalid = false;
    bool menuShown = false;  // the display shows its button menu (and is not refreshed)
    // A window's vessel, which it keeps through changes of focus; null for a cockpit display,
    // which is always on the focus vessel.
    OBJHANDLE vessel = nullptr;
};

// The character cell of the display font for a display of the given height, as the simulator
// makes its display font: an em of 9 H / 200 pixels (ch), a monospace advance of 0.6 em (cw).
void FontCell(DWORD height, DWORD &cw, DWORD &ch);
// Sets a new instance's cw and ch (the SDK's MFD base keeps them).
void SetFontCell(MFD &instance);

// Opens cockpit slot `slot` (0..11) in the named mode on the focus vessel, as the simulator
// opens a display: OAPI_MSG_MFD_OPENEDEX first, OAPI_MSG_MFD_OPENED when that makes nothing;
// then the font cell is set and, for an opening by the pilot (`interactive`), RecallStatus is
// called. On failure returns false and says why in `error`; a slot already open is closed first
// (StoreStatus, then OAPI_MSG_MFD_CLOSED, then the instance is deleted).
bool OpenDisplay(int slot, const std::string &mode, std::string &error, int width = kDefaultDisplaySize,
                 int height = kDefaultDisplaySize, bool interactive = true);
// Opens a display in an external window with identifier `id` on vessel `vessel` (an index of the
// world's vessels; -1: the focus vessel), in the first free window slot; returns that slot, or -1
// with the cause. The simulator never gives a window a cockpit display's identifier (0 to 11):
// such an identifier is refused.
int OpenWindowDisplay(UINT id, int vessel, const std::string &mode, std::string &error, int width = kDefaultDisplaySize,
                      int height = kDefaultDisplaySize);
// Closes every window bound to the vessel of handle `vessel` (before the vessel is deleted).
void CloseWindowsOf(OBJHANDLE vessel);
void CloseDisplay(int slot);  // deletes the instance; nothing for a closed slot
// Gives the focus to another vessel as the simulator does: its cockpit is built anew, so every
// open cockpit display is closed and opened again, in the same mode and size, on the new focus
// vessel. Displays in external windows stay open on their own vessels.
// False (with the cause) when the vessel does not exist; a display that fails to reopen stays shut.
bool ChangeFocus(int vessel, std::string &error);
void CloseAllDisplays();
DisplaySlot &Slot(int slot);
int SlotOf(const MFD *instance);  // -1 when the instance is in no slot

// The pilot at a display: a buffered key press, a press of button bt (0..11) with the SDK's
// mouse event bits. Both return what the display answered (false for a closed slot).
bool PressKey(int slot, DWORD key);
bool PressButton(int slot, int bt, int event);
// A key pressed for the focus vessel rather than a display: the navigation modes' keys, as
// in the simulator (numeric keypad 5 kill rotation, L level with the horizon, [ prograde,
// ] retrograde), each turning its mode on or off. False for any other key, or no vessel.
bool PressVesselKey(DWORD key);
constexpr DWORD kKeyKillRot = 0x4C, kKeyHorizonLevel = 0x26, kKeyPrograde = 0x1A, kKeyRetrograde = 0x1B;
// The twelve labels a display shows (empty where it gives none).
std::vector<std::string> ButtonLabels(int slot);

// The instance a message procedure's result names, or null for 0.
MFD *InstanceFromResult(OAPI_MSGTYPE result);

// Called by the MFD base when an instance is destroyed: its slot forgets it.
void NoteMfdDestroyed(MFD *instance);

}  // namespace kvhost

#endif
