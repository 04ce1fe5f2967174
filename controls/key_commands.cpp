// key_commands.cpp: what each key does.
#include "key_commands.h"

#include "../display/projection.h"
#include "../engine/body_list.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"
#include "attitude.h"
#include "command_table.h"
#include "settings_reset.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kavrex {

namespace {

char g_inputTitle[] = "Select G";

const double kSuperthrustFraction = static_cast<double>(0.012f);  // 0.012 in single precision

void Toggle(bool &flag) { flag = !flag; }

// Steps an index through the list: forwards, or backwards with the modifier, wrapping round.
void StepIndex(uint32_t &index, uint32_t count) {
    if (count == 0) return;
    if (IsModifierActive())
        index = index == 0 || index >= count ? count - 1 : index - 1;
    else
        index = index + 1 >= count ? 0 : index + 1;
}

void MoreSteps(uint32_t &n) { n = n >= kMaxPoints / 2 ? kMaxPoints : n * 2; }
void FewerSteps(uint32_t &n) { n = (n >> 1) <= 128 ? 128 : n >> 1; }

uint32_t NextMode(uint32_t mode) {
    switch (mode) {
    case 1: return 2;
    case 2: return 4;
    case 3: return 1;
    default: return 3;
    }
}

void Run(MFD &display, Command c, ShipRecord &r, MfdEntry &e) {
    switch (c) {
    case kStepMore: IsModifierActive() ? FewerSteps(r.numSteps) : MoreSteps(r.numSteps); break;
    case kStepLess: IsModifierActive() ? MoreSteps(r.numSteps) : FewerSteps(r.numSteps); break;
    case kEngage: Toggle(r.kvEngaged); break;
    case kResetSettings: ResetSettings(r, e); break;
    case kTargetSelect:
        StepIndex(r.targetBody, r.bodyCount);
        RebuildBodyList(r);
        break;
    case kSuperthrust: r.superthrust = r.superthrust == 0 ? kSuperthrustFraction : 0.0; break;
    case kSourceSelect:
        StepIndex(r.sourceBody, r.bodyCount);
        RebuildBodyList(r);
        break;
    case kProjectionToggle:
        Toggle(e.shipProjection);
        SetProjection(r, e.shipProjection);
        break;
    case kAbort:
        r.attitudeHold = false;
        r.kvEngaged = false;
        CutAllThrusters(r);
        break;
    case kSetThrust: oapiOpenInputBox(g_inputTitle, SetKvAccelClbk, nullptr, 20, &display); break;
    case kDirectionAdjust: Toggle(r.directionAdjust); break;
    case kAutofill: Toggle(r.autofillOff); break;
    case kHold: Toggle(r.attitudeHold); break;
    case kZoomIn: e.zoom *= 2; break;
    case kZoomOut: e.zoom *= 0.5; break;
    case kLunaAlways:
        Toggle(r.lunaAlways);
        display.ConsumeKeyBuffered(OAPI_KEY_R);
        break;
    case kAutozoom: Toggle(r.autozoomOff); break;
    case kZoomReset: e.zoom = 1.0; break;
    case kCenter: StepIndex(e.centerBody, r.bodyCount); break;
    case kInvert: Toggle(r.invertDirection); break;
    case kPlanetsOnly:
        Toggle(r.includeMoons);
        display.ConsumeKeyBuffered(OAPI_KEY_R);
        break;
    case kModeToggle:
        e.mode = NextMode(e.mode);
        display.InvalidateButtons();
        break;
    case kCommandCount: break;
    }
}

}  // namespace

bool IsModifierActive() { return Module().buttonModifier || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }
void SetButtonModifier(bool on) { Module().buttonModifier = on; }

bool HandleKey(MFD &display, DWORD key) {
    ShipRecord *focus = FocusShip();
    MfdEntry *e = focus ? FindEntry(*focus, &display) : nullptr;
    if (!e) {
        display.InvalidateDisplay();
        return true;
    }
    const Command c = CommandForKey(key);
    if (c == kCommandCount) return false;
    Run(display, c, *focus, *e);
    display.InvalidateDisplay();
    return true;
}

double LeadingNumber(const char *text) {
    if (!text) return 0.0;
    const char *p = text;
    while (*p == ' ' || *p == '\t') ++p;
    const char *start = p;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when digits follow it.
    if (*p == 'e' || *p == 'E') {
        const char *q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (std::isdigit(static_cast<unsigned char>(*q))) {
            while (std::isdigit(static_cast<unsigned char>(*q))) ++q;
            p = q;
        }
    }
    // The number is read whole, however long. strtod agrees with the scan above except after
    // "0x", where it would read a hexadecimal number; the decimal reading there is the 0.
    char *end = nullptr;
    const double value = std::strtod(start, &end);
    if (end != p) return *start == '-' ? -0.0 : 0.0;
    return value;
}

bool SetKvAccelClbk(void * /*id*/, char *str, void * /*usrdata*/) {
    ShipRecord *focus = FocusShip();
    if (!focus) return true;
    // A number too large for a double ("1e999") would make the drive's level infinite, and one
    // beyond single precision could be saved but never read back (KV_ARTGEE is read as a float):
    // such a text leaves the acceleration as it was.
    const double value = LeadingNumber(str);
    if (FitsSinglePrecision(value)) focus->artGee = value;
    return true;
}

}  // namespace kavrex
