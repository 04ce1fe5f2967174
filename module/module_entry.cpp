// module_entry.cpp: the module's entry points: load and unload, the start and end of each
// scenario (the simulator runs many on one load), a vessel's deletion, and the mode's message
// procedure.
#include <Orbitersdk.h>

#include "../display/projection.h"
#include "../engine/body_list.h"
#include "kavrex_mfd.h"
#include "../model/module_state.h"
#include "../model/ship_table.h"

#include <cstdint>
#include <new>

namespace kavrex {

namespace {

char g_modeName[] = "Kavrex";

// The simulator takes the display it drives from the result: the new instance's address as an
// MFD, which OAPI_MSGTYPE is wide enough to hold. 0 tells it that no display was made.
OAPI_MSGTYPE MsgProc(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam) {
    if (msg != OAPI_MSG_MFD_OPENED) return 0;
    const DWORD width = static_cast<DWORD>(wparam & 0xFFFF);
    const DWORD height = static_cast<DWORD>((wparam >> 16) & 0xFFFF);
    MFD *instance = new (std::nothrow) Kavrex(mfd, width, height, reinterpret_cast<VESSEL *>(lparam));
    return static_cast<OAPI_MSGTYPE>(reinterpret_cast<intptr_t>(instance));
}

void ReleaseAllBodyPens() {
    ForEachAllocatedShip([](ShipRecord &r) {
        for (BodyEntry &e : r.bodies) ReleaseBodyPens(e);
    });
}

// A scenario's vessels are gone when it ends, and the next one has others: nothing of one
// scenario (a record's VESSEL, a handle, a prediction) may reach the next.
void StartAfresh() {
    ReleaseAllBodyPens();
    ResetSessionState();
}

}  // namespace

}  // namespace kavrex

using namespace kavrex;

DLLCLBK void InitModule(HINSTANCE /*hModule*/) {
    ResetModuleState();
    MFDMODESPEC spec;
    spec.name = g_modeName;
    spec.key = OAPI_KEY_G;
    spec.msgproc = MsgProc;
    Module().modeId = oapiRegisterMFDMode(spec);
    SetEclipticProjection();
    Module().whitePen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    Module().trajectoryPen = CreatePen(PS_SOLID, 1, RGB(192, 128, 0));
    Module().trajectoryDotPen = CreatePen(PS_DOT, 1, RGB(192, 128, 0));
}

DLLCLBK void ExitModule(HINSTANCE /*hModule*/) {
    oapiUnregisterMFDMode(Module().modeId);
    DeleteObject(Module().whitePen);
    DeleteObject(Module().trajectoryPen);
    DeleteObject(Module().trajectoryDotPen);
    Module().whitePen = Module().trajectoryPen = Module().trajectoryDotPen = nullptr;
    ReleaseAllBodyPens();
    ClearShipTable();
}

DLLCLBK void opcOpenRenderViewport(HWND /*hRenderWnd*/, DWORD /*width*/, DWORD /*height*/, BOOL /*fullscreen*/) {
    StartAfresh();
}

DLLCLBK void opcCloseRenderViewport() { StartAfresh(); }

// The simulator deletes the vessel after this returns: its record goes now, so that no step and
// no display reaches the VESSEL again. Displays that showed it show the focus vessel's record.
DLLCLBK void opcDeleteVessel(OBJHANDLE hVessel) {
    for (ShipRecord &r : ClaimedShips()) {
        if (r.vesselHandle != hVessel) continue;
        for (BodyEntry &e : r.bodies) ReleaseBodyPens(e);
        // The prediction under way names its record, which is about to go.
        Computation &c = Module().computation;
        if (c.record == &r) c.record = nullptr;
        ReleaseShip(r);
        return;
    }
}
