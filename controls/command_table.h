// command_table.h: the display's commands, each with its key, menu text and button label, and
// the two button pages built from them. Labels, menus and keys all come from this one table, so
// a page can never show one command and send another.
#ifndef KAVREX_CONTROLS_COMMAND_TABLE_H
#define KAVREX_CONTROLS_COMMAND_TABLE_H

#include <Orbitersdk.h>

namespace kavrex {

// name, key letter, key code, menu text, button label
#define KAVREX_COMMANDS(X)                                         \
    X(TargetSelect, 'T', OAPI_KEY_T, "Target select", "TGT")       \
    X(DirectionAdjust, 'D', OAPI_KEY_D, "Direction Adjust", "DIR") \
    X(Invert, 'V', OAPI_KEY_V, "Invert trajectory", "INV")         \
    X(SetThrust, 'S', OAPI_KEY_S, "Set KV thrust", "SET")          \
    X(Hold, 'H', OAPI_KEY_H, "Hold selection", "HLD")              \
    X(Engage, 'E', OAPI_KEY_E, "Engage KV", "ENG")                 \
    X(ModeToggle, 'M', OAPI_KEY_M, "Mode toggle", "MOD")           \
    X(ProjectionToggle, 'P', OAPI_KEY_P, "Projection", "PRJ")      \
    X(Abort, 'A', OAPI_KEY_A, "Abort", "ABT")                      \
    X(Center, 'C', OAPI_KEY_C, "Center", "CEN")                    \
    X(ZoomIn, 'J', OAPI_KEY_J, "Zoom in", "ZM-")                   \
    X(ZoomOut, 'K', OAPI_KEY_K, "Zoom out", "ZM+")                 \
    X(SourceSelect, 'O', OAPI_KEY_O, "Source select", "SRC")       \
    X(LunaAlways, 'L', OAPI_KEY_L, "Luna always", "LUN")           \
    X(PlanetsOnly, 'N', OAPI_KEY_N, "Planets only", "PLO")         \
    X(StepMore, 'Q', OAPI_KEY_Q, "Max Step More", "ST+")           \
    X(StepLess, 'W', OAPI_KEY_W, "Max Step Less", "ST-")           \
    X(Autofill, 'F', OAPI_KEY_F, "Autofill tanks", "FIL")          \
    X(Superthrust, 'U', OAPI_KEY_U, "Superthrust", "SUP")          \
    X(Autozoom, 'Z', OAPI_KEY_Z, "Autozoom", "AZM")                \
    X(ResetSettings, 'R', OAPI_KEY_R, "Reset Settings", "RST")     \
    X(ZoomReset, 'X', OAPI_KEY_X, nullptr, nullptr)

enum Command {
#define KAVREX_COMMAND_ENUM(name, letter, code, menu, label) k##name,
    KAVREX_COMMANDS(KAVREX_COMMAND_ENUM)
#undef KAVREX_COMMAND_ENUM
        kCommandCount
};

struct CommandInfo {
    char letter;
    DWORD key;
    const char *menu;  // null: the command has no button
    const char *label;
};

const CommandInfo &InfoOf(Command c);
// The command a key code stands for, or kCommandCount for a key that is none.
Command CommandForKey(DWORD key);

constexpr int kButtons = 12;

// The command of button bt (0..11) on the flight page or on the settings page.
Command ButtonCommand(bool settingsPage, int bt);
// The page's twelve menu records, in button order.
const MFDBUTTONMENU *PageMenu(bool settingsPage);

}  // namespace kavrex

#endif
