// vessel_graveyard.cpp: buried VESSEL views. They are never freed, so their addresses are never
// handed out again; each carries its own mark, so that checking it costs a VESSEL call nothing.
#include "vessel_graveyard.h"

#include "world_globals.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

struct VesselBurial {
    static void Mark(VESSEL &view) { view.buried_ = true; }
    static bool Marked(const VESSEL &view) { return view.buried_; }
};

namespace kvhost {

void BuryVesselView(std::unique_ptr<VESSEL> view) {
    if (!view) return;
    VesselBurial::Mark(*view);
    HostWorld().graveyard.push_back(std::move(view));
}

bool IsBuriedVesselView(const VESSEL *view) { return view && VesselBurial::Marked(*view); }

void UseOfDeletedVessel(const char *method) {
    std::fprintf(stderr,
                 "kavrex host: VESSEL::%s called on a vessel that has been deleted: the module kept "
                 "its VESSEL pointer past opcDeleteVessel or the end of its scenario\n",
                 method);
    std::abort();
}

}  // namespace kvhost
