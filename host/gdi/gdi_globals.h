// gdi_globals.h: what the drawing layer keeps for the whole process: the live pens (a handle is
// a pen's address), the stock black pen and the live device contexts, so that every handle the
// module passes can be checked before it is used. The storage is the host's one state.
#ifndef KVHOST_GDI_GDI_GLOBALS_H
#define KVHOST_GDI_GDI_GLOBALS_H

#include "gdi_objects.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace kvhost {

struct GdiGlobals {
    std::unordered_map<const void *, std::unique_ptr<Pen>> pens;
    Pen stockBlack;
    std::unordered_set<const void *> liveDcs;
};

GdiGlobals &HostGdi();

}  // namespace kvhost

#endif
