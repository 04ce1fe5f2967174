// module_entry.cpp: the module's entry points: load, unload and the mode's message procedure.
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
    SetProjection(kNone, false);   // the ecliptic view; no record is read for it
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
    ForEachAllocatedShip([](ShipRecord &r) {
        for (BodyEntry &e : r.bodies) ReleaseBodyPens(e);
    });
    ClearShipTable();
}
