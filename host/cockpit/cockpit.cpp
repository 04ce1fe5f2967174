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

// Opens any slot, cockpit or window, with the identifier `id`.
bool OpenSlot(int slot, UINT id, const std::string &mode, std::string &error, int width, int height,
              bool interactive) {
    const RegisteredMode *m = FindMode(mode);
    if (!m || !m->msgproc) {
        error = "no display mode named '" + mode + "' is registered";
        return false;
    }
    World *w = CurrentWorld();
    const int focus = w ? w->focus() : -1;
    if (focus < 0) {
        error = "there is no focus vessel to open a display on";
        return false;
    }
    if (width <= 0 || width > 0xFFFF || height <= 0 || height > 0xFFFF) {
        error = "display size " + std::to_string(width) + "x" + std::to_string(height) +
                " is out of range";
        return false;
    }
    CloseDisplay(slot);
    const LPARAM vessel = reinterpret_cast<LPARAM>(w->vessel(focus).api.get());
    MFD *instance = MakeInstance(*m, id, width, height, vessel);
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
    return OpenSlot(slot, static_cast<UINT>(slot), mode, error, width, height, interactive);
}

int OpenWindowDisplay(UINT id, const std::string &mode, std::string &error, int width, int height) {
    for (int slot = kCockpitDisplays; slot < kDisplaySlots; ++slot)
        if (!Slots()[slot].instance) return OpenSlot(slot, id, mode, error, width, height, true) ? slot : -1;
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
        const LPARAM vessel = w && w->focus() >= 0 ? reinterpret_cast<LPARAM>(w->vessel(w->focus()).api.get()) : 0;
        m->msgproc(OAPI_MSG_MFD_CLOSED, closing.id, 0, vessel);
    }
    delete instance;
}

bool ChangeFocus(int vessel, std::string &error) {
    World *w = CurrentWorld();
    if (!w || vessel < 0 || vessel >= w->VesselCount()) {
        error = "vessel " + std::to_string(vessel) + " does not exist";
        return false;
    }
    DisplaySlot open[kDisplaySlots];
    for (int i = 0; i < kDisplaySlots; ++i) {
        open[i] = Slots()[i];
        CloseDisplay(i);
    }
    w->SetFocus(vessel);
    for (int i = 0; i < kDisplaySlots; ++i) {
        std::string why;
        // The new cockpit's displays: no ReadStatus, no RecallStatus, as the simulator rebuilds them.
        if (!open[i].mode.empty() && !OpenSlot(i, open[i].id, open[i].mode, why, open[i].width, open[i].height, false))
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
    } keys[] = {{kKeyKillRot, kNavKillRot}, {kKeyHorizonLevel, kNavHorizonLevel}, {kKeyPrograde, kNavPrograde},
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

MFD *InstanceFromResult(OAPI_MSGTYPE result) {
    return reinterpret_cast<MFD *>(static_cast<intptr_t>(result));
}

void NoteMfdDestroyed(MFD *instance) {
    const int s = SlotOf(instance);
    if (s >= 0) Slots()[s].instance = nullptr;
}

}  // namespace kvhost
