// kavrex_mfd.h: the display instance. It carries no data of its own: its address is its
// identity in the ship table, where every setting and result lives.
#ifndef KAVREX_MODULE_KAVREX_MFD_H
#define KAVREX_MODULE_KAVREX_MFD_H

#include <Orbitersdk.h>

namespace kavrex {

class Kavrex : public MFD {
public:
    Kavrex(UINT mfdId, DWORD w, DWORD h, VESSEL *vessel);
    ~Kavrex() override;
    void Update(HDC hDC) override;
    bool ConsumeKeyBuffered(DWORD key) override;
    bool ConsumeButton(int bt, int event) override;
    char *ButtonLabel(int bt) override;
    int ButtonMenu(const MFDBUTTONMENU **menu) const override;
    void WriteStatus(FILEHANDLE scn) const override;
    void ReadStatus(FILEHANDLE scn) override;
};

}  // namespace kavrex

#endif
