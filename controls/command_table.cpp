// command_table.cpp: the command table and the two button pages.
#include "command_table.h"

namespace kavrex {

namespace {

const CommandInfo kCommands[] = {
#define KAVREX_COMMAND_INFO(name, letter, code, menu, label) {letter, code, menu, label},
    KAVREX_COMMANDS(KAVREX_COMMAND_INFO)
#undef KAVREX_COMMAND_INFO
};

// The buttons 0 to 11 of each page: 0 to 5 down the bezel's left side, 6 to 11 down its right.
// clang-format off
const Command kFlightPage[] = {kTargetSelect, kDirectionAdjust,  kInvert, kSetThrust, kHold,   kEngage,
                               kModeToggle,   kProjectionToggle, kAbort,  kCenter,    kZoomIn, kZoomOut};
const Command kSettingsPage[] = {kTargetSelect, kSourceSelect, kLunaAlways, kPlanetsOnly, kStepMore, kStepLess,
                                 kModeToggle,   kAutofill,     kAbort,      kSuperthrust, kAutozoom, kResetSettings};
// clang-format on

static_assert(sizeof kCommands / sizeof kCommands[0] == kCommandCount, "a row for each command");
static_assert(sizeof kFlightPage / sizeof kFlightPage[0] == kButtons, "a command for each button");
static_assert(sizeof kSettingsPage / sizeof kSettingsPage[0] == kButtons, "a command for each button");

struct PageMenus {
    MFDBUTTONMENU flight[kButtons];
    MFDBUTTONMENU settings[kButtons];
    PageMenus() {
        for (int b = 0; b < kButtons; ++b) {
            flight[b] = {InfoOf(kFlightPage[b]).menu, nullptr, InfoOf(kFlightPage[b]).letter};
            settings[b] = {InfoOf(kSettingsPage[b]).menu, nullptr, InfoOf(kSettingsPage[b]).letter};
        }
    }
};

}  // namespace

const CommandInfo &InfoOf(Command c) { return kCommands[c < kCommandCount ? c : 0]; }

Command CommandForKey(DWORD key) {
    for (int c = 0; c < kCommandCount; ++c)
        if (kCommands[c].key == key) return static_cast<Command>(c);
    return kCommandCount;
}

Command ButtonCommand(bool settingsPage, int bt) {
    if (bt < 0 || bt >= kButtons) return kCommandCount;
    return settingsPage ? kSettingsPage[bt] : kFlightPage[bt];
}

const MFDBUTTONMENU *PageMenu(bool settingsPage) {
    static const PageMenus menus;
    return settingsPage ? menus.settings : menus.flight;
}

}  // namespace kavrex
