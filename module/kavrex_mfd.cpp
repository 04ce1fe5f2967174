// kavrex_mfd.cpp: building and closing a display instance.
#include "kavrex_mfd.h"

#include "../controls/buttons.h"
#include "../controls/key_commands.h"
#include "../controls/persistence.h"
#include "../display/draw_state.h"
#include "../display/page.h"
#include "../model/module_state.h"
#include "../model/ship_lookup.h"
#include "display_binding.h"

namespace kavrex {

Kavrex::Kavrex(UINT mfdId, DWORD w, DWORD h, VESSEL *vessel) : MFD(w, h, vessel) {
    BindDisplay(this, mfdId, vessel);
    // The page has 25 lines; the largest whole step at which all of them fit. At the
    // simulator's classic 256 pixels that is h / 24, the font's own height.
    Module().lineHeight = h / kPageLines;
}

Kavrex::~Kavrex() { UnbindDisplay(this); }

void Kavrex::Update(HDC hDC) { DrawPage(this, hDC, static_cast<int>(W), static_cast<int>(H), cw); }

bool Kavrex::ConsumeKeyBuffered(DWORD key) { return HandleKey(*this, key); }
bool Kavrex::ConsumeButton(int bt, int event) { return HandleButton(*this, bt, event); }
char *Kavrex::ButtonLabel(int bt) { return ButtonLabelFor(this, bt); }
int Kavrex::ButtonMenu(const MFDBUTTONMENU **menu) const { return ButtonMenuFor(this, menu); }
void Kavrex::WriteStatus(FILEHANDLE scn) const { WriteStatusLines(this, scn); }
void Kavrex::ReadStatus(FILEHANDLE scn) { ReadStatusLines(this, scn); }

}  // namespace kavrex
