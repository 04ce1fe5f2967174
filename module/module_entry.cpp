// module_entry.cpp: the module's entry points: load, unload and the mode's message procedure.
#include <Orbitersdk.h>

#include "../display/projection.h"
#include "../engine/body_list.h"
#include "kavrex_mfd.h"
#include "module_state.h"
#include "ship_table.h"

#include <cstdint>
#include <new>

namespace kavrex {

namespace {

char g_modeName[] = "Kavrex";

int MsgProc(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam) {
    if (msg != OAPI_MSG_MFD_OPENED) return 0;
    const DWORD width = static_cast<DWORD>(wparam & 0xFFFF);
    const DWORD height = static_cast<DWORD>((wparam >> 16) & 0xFFFF);
    Kavrex *instance = new (std::nothrow) Kavrex(mfd, width, height, reinterpret_cast<VESSEL *>(lparam));
    // The SDK's result is an int; on a 64-bit host it cannot hold the address, and the host
    // takes the instance from its constructor. Non-zero still means "made".
    if (!instance) return 0;
    const int bits = static_cast<int>(reinterpret_cast<intptr_t>(instance));
    return bits != 0 ? bits : 1;
}

}  // namespace

}  // namespace kavrex

using namespace kavrex;

DLLCLBK void InitModule(HINSTANCE /*hModule*/) {
    MFDMODESPEC spec;
    spec.name = g_modeName;
    spec.key = OAPI_KEY_G;
    spec.msgproc = MsgProc;
    Module().modeId = oapiRegisterMFDMode(spec);
    SetProjection(kNone, false);   // the ecliptic view; no record is read for it
    Module().whitePen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    // Record storage is made when a record is claimed, already holding the load-time defaults;
    // here the table only starts empty.
    ClearShipTable();
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
