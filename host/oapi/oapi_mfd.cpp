// oapi_mfd.cpp: display modes and the MFD base class.
#include <Orbitersdk.h>

#include "../cockpit/cockpit.h"

int oapiRegisterMFDMode(MFDMODESPEC &spec) { return kvhost::RegisterMode(spec); }

bool oapiUnregisterMFDMode(int mode) { return kvhost::UnregisterMode(mode); }

// The simulator measures the display's font once the instance exists: cw and ch are 0 inside
// the constructor, as there.
MFD::MFD(DWORD w, DWORD h, VESSEL *vessel) : W(w), H(h), cw(0), ch(0), pV(vessel) {}

struct MfdFontCell {
    static void Set(MFD &m) { kvhost::FontCell(m.H, m.cw, m.ch); }
};

namespace kvhost {
void SetFontCell(MFD &instance) { MfdFontCell::Set(instance); }
}  // namespace kvhost

MFD::~MFD() { kvhost::NoteMfdDestroyed(this); }

void MFD::InvalidateDisplay() {
    const int s = kvhost::SlotOf(this);
    if (s >= 0) kvhost::Slot(s).displayInvalid = true;
}

void MFD::InvalidateButtons() {
    const int s = kvhost::SlotOf(this);
    if (s >= 0) kvhost::Slot(s).buttonsInvalid = true;
}
