// cockpit.cpp: display modes and slots.
#include "cockpit.h"

#include "../gdi/raster_dc.h"
#include "../world/navmodes.h"
#include "../world/world.h"
#include "cockpit_globals.h"

#include <strings.h>

#include <algorithm>
#include <cmath>

namespace kvhost {

namespace {

std::vector<RegisteredMode> &Modes() { return HostCockpit().modes; }
DisplaySlot *Slots() { return HostCockpit().slots; }

}  // namespace

int RegisterMode(const MFDMODESPEC &spec) {
    RegisteredMode m;
    m.id = HostCockpit().nextModeId++;
    m.name = spec.name ? spec.name : "";
    m.key = spec.key;
    m.msgproc = spec.msgproc;
    Modes().push_back(m);
    return m.id;
}

bool UnregisterMode(int id) {
    for (size_t i = 0; i < Modes().size(); ++i)
        if (Modes()[i].id == id) {
            Modes().erase(Modes().begin() + static_cast<long>(i));
            return true;
        }
    return false;
}

const RegisteredMode *FindMode(const std::string &name) {
    for (const RegisteredMode &m : Modes())
        if (strcasecmp(m.name.c_str(), name.c_str()) == 0) return &m;
    return nullptr;
}

void FontCell(DWORD height, DWORD &cw, DWORD &ch) {
    const double em = DisplayFontSize(static_cast<int>(height));
    ch = static_cast<DWORD>(em);
    cw = std::max<DWORD>(1, static_cast<DWORD>(std::lround(0.6 * em)));
}

namespace {

// The message procedure's instance for a display: OAPI_MSG_MFD_OPENEDEX with the opening
// parameters (size and mode record) first, and OAPI_MSG_MFD_OPENED when that made none.
MFD *MakeInstance(const RegisteredMode &m, UINT id, int width, int height, LPARAM vessel) {
    MFDMODESPECEX spec = {const_cast<char *>(m.name.c_str()), m.key, nullptr, m.msgproc};
    MFDMODEOPENSPEC open = {static_cast<DWORD>(width), static_cast<DWORD>(height), &spec};
    MFD *instance = InstanceFromResult(m.msgproc(OAPI_MSG_MFD_OPENEDEX, id, reinterpret_cast<WPARAM>(&open), vessel));
    if (instance) return instance;
    const WPARAM size = static_cast<WPARAM>(width) | (static_cast<WPARAM>(height) << 16);
    return InstanceFromResult(m.msgproc(OAPI_MSG_MFD_OPENED, id, size, vessel));
}

// Opens any slot, cockpit or window, with the identifier `id`, on vessel `vessel` (-1: the focus).
bool OpenSlot(int slot, UINT id, int vessel, const std::string &mode, std::string &error, int width, int height,
              bool interactive) {
    const RegisteredMode *m = FindMode(mode);
    if (!m || !m->msgproc) {
        error = "no display mode named '" + mode + "' is registered";
        return false;
    }
    World *w = CurrentWorld();
    const int on = vessel >= 0 ? vessel : w ? w->focus() : -1;
    if (on < 0 || on >= (w ? w->VesselCount() : 0)) {
        error = vessel >= 0 ? "vessel " + std::to_string(vessel) + " does not exist"
                            : "there is no focus vessel to open a display on";
        return false;
    }
    if (width <= 0 || width > 0xFFFF || height <= 0 || height > 0xFFFF) {
        error = "display size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range";
        return false;
    }
    CloseDisplay(slot);
    MFD *instance = MakeInstance(*m, id, width, height, reinterpret_cast<LPARAM>(w->vessel(on).api.get()));
    if (!instance) {
        error = "display mode '" + mode + "' made no display";
        return false;
    }
    SetFontCell(*instance);
    DisplaySlot &s = Slots()[slot];
    s.instance = instance;
    s.id = id;
    s.mode = m->name;
    s.width = width;
    s.height = height;
    s.displayInvalid = s.buttonsInvalid = true;
    s.vessel = slot >= kCockpitDisplays ? w->VesselHandle(on) : nullptr;
    if (interactive) instance->RecallStatus();
    return true;
}

}  // namespace

bool OpenDisplay(int slot, const std::string &mode, std::string &error, int width, int height, bool interactive) {
    if (slot < 0 || slot >= kCockpitDisplays) {
        error = "display slot " + std::to_string(slot) + " does not exist (slots are 0 to " +
                std::to_string(kCockpitDisplays - 1) + ")";
        return false;
    }
    return OpenSlot(slot, static_cast<UINT>(slot), -1, mode, error, width, height, interactive);
}

int OpenWindowDisplay(UINT id, int vessel, const std::string &mode, std::string &error, int width, int height) {
    if (id < static_cast<UINT>(kCockpitDisplays)) {
        error = "display identifier " + std::to_string(id) + " is a cockpit display's (0 to " +
                std::to_string(kCockpitDisplays - 1) + "); an external window has an identifier of its own";
        return -1;
    }
    for (int slot = kCockpitDisplays; slot < kDisplaySlots; ++slot)
        if (!Slots()[slot].instance) return OpenSlot(slot, id, vessel, mode, error, width, height, true) ? slot : -1;
    error = "every one of the " + std::to_string(kWindowDisplays) + " external display windows is open";
    return -1;
}

void CloseDisplay(int slot) {
    if (slot < 0 || slot >= kDisplaySlots) return;
    MFD *instance = Slots()[slot].instance;
    const DisplaySlot closing = Slots()[slot];
    Slots()[slot] = DisplaySlot();
    if (!instance) return;
    // As the simulator closes a display: its status stored, its mode told, then it goes.
    instance->StoreStatus();
    const RegisteredMode *m = FindMode(closing.mode);
    World *w = CurrentWorld();
    if (m && m->msgproc) {
        // A window closes on its own vessel, a cockpit display on the focus vessel.
        Vessel *on = !w                ? nullptr
                     : closing.vessel  ? w->ResolveVessel(closing.vessel)
                     : w->focus() >= 0 ? &w->vessel(w->focus())
                                       : nullptr;
        m->msgproc(OAPI_MSG_MFD_CLOSED, closing.id, 0, on ? reinterpret_cast<LPARAM>(on->api.get()) : 0);
    }
    delete instance;
}

void CloseWindowsOf(OBJHANDLE vessel) {
    for (int slot = kCockpitDisplays; slot < kDisplaySlots; ++slot)
        if (vessel && Slots()[slot].vessel == vessel) CloseDisplay(slot);
}

bool ChangeFocus(int vessel, std::string &error) {
    World *w = CurrentWorld();
    if (!w || vessel < 0 || vessel >= w->VesselCount()) {
        error = "vessel " + std::to_string(vessel) + " does not exist";
        return false;
    }
    DisplaySlot open[kCockpitDisplays];
    for (int i = 0; i < kCockpitDisplays; ++i) {
        open[i] = Slots()[i];
        CloseDisplay(i);
    }
    w->SetFocus(vessel);
    for (int i = 0; i < kCockpitDisplays; ++i) {
        std::string why;
        // The new cockpit's displays: no ReadStatus, no RecallStatus, as the simulator rebuilds them.
        if (!open[i].mode.empty() &&
            !OpenSlot(i, open[i].id, -1, open[i].mode, why, open[i].width, open[i].height, false))
            error = why;
    }
    return true;
}

void CloseAllDisplays() {
    for (int i = 0; i < kDisplaySlots; ++i) CloseDisplay(i);
}

DisplaySlot &Slot(int slot) { return Slots()[slot]; }

int SlotOf(const MFD *instance) {
    for (int i = 0; i < kDisplaySlots; ++i)
        if (instance && Slots()[i].instance == instance) return i;
    return -1;
}

bool PressKey(int slot, DWORD key) {
    if (slot < 0 || slot >= kDisplaySlots || !Slots()[slot].instance) return false;
    return Slots()[slot].instance->ConsumeKeyBuffered(key);
}

bool PressVesselKey(DWORD key) {
    World *w = CurrentWorld();
    if (!w || w->focus() < 0) return false;
    static const struct {
        DWORD key;
        int mode;
    } keys[] = {{kKeyKillRot, kNavKillRot},
                {kKeyHorizonLevel, kNavHorizonLevel},
                {kKeyPrograde, kNavPrograde},
                {kKeyRetrograde, kNavRetrograde}};
    Vessel &v = w->vessel(w->focus());
    for (const auto &k : keys)
        if (k.key == key) return SetNavmode(v, k.mode, !NavmodeActive(v, k.mode));
    return false;
}

bool PressButton(int slot, int bt, int event) {
    if (slot < 0 || slot >= kDisplaySlots || !Slots()[slot].instance) return false;
    return Slots()[slot].instance->ConsumeButton(bt, event);
}

std::vector<std::string> ButtonLabels(int slot) {
    std::vector<std::string> labels;
    MFD *m = slot >= 0 && slot < kDisplaySlots ? Slots()[slot].instance : nullptr;
    for (int bt = 0; bt < 12 && m; ++bt) {
        const char *label = m->ButtonLabel(bt);
        labels.push_back(label ? label : "");
    }
    return labels;
}

MFD *InstanceFromResult(OAPI_MSGTYPE result) { return reinterpret_cast<MFD *>(static_cast<intptr_t>(result)); }

void NoteMfdDestroyed(MFD *instance) {
    const int s = SlotOf(instance);
    if (s >= 0) Slots()[s].instance = nullptr;
}

}  // namespace kvhost
