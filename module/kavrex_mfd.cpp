// kavrex_mfd.cpp: building and closing a display instance.
#include "kavrex_mfd.h"

#include "module_state.h"
#include "ship_lookup.h"

namespace kavrex {

Kavrex::Kavrex(UINT mfdId, DWORD w, DWORD h, VESSEL *vessel) : MFD(w, h, vessel) {
    BindDisplay(this, mfdId, vessel);
    Module().lineHeight = h / 24;
}

Kavrex::~Kavrex() { UnbindDisplay(this); }

void Kavrex::Update(HDC /*hDC*/) {
    // The page (title, status strip, read-outs, plot) is drawn by the display subsystem, which
    // this build does not have yet: the display stays blank.
}

}  // namespace kavrex
