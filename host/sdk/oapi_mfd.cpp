// oapi_mfd.cpp: display modes and the MFD base class.
#include <Orbitersdk.h>

#include "../cockpit/cockpit.h"

int oapiRegisterMFDMode(MFDMODESPEC &spec) { return kvhost::RegisterMode(spec); }

bool oapiUnregisterMFDMode(int mode) { return kvhost::UnregisterMode(mode); }

MFD::MFD(DWORD w, DWORD h, VESSEL *vessel) : W(w), H(h), cw(0), ch(0), pV(vessel) {
    kvhost::FontCell(h, cw, ch);
}

MFD::~MFD() { kvhost::NoteMfdDestroyed(this); }

void MFD::InvalidateDisplay() {
    const int s = kvhost::SlotOf(this);
    if (s >= 0) kvhost::Slot(s).displayInvalid = true;
}

void MFD::InvalidateButtons() {
    const int s = kvhost::SlotOf(this);
    if (s >= 0) kvhost::Slot(s).buttonsInvalid = true;
}
