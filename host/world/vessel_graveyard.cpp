// vessel_graveyard.cpp: buried VESSEL views. They are never freed, so their addresses are never
// handed out again and a buried address always means a deleted vessel.
#include "vessel_graveyard.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

namespace kvhost {

namespace {
std::unordered_map<const VESSEL *, std::unique_ptr<VESSEL>> &Graveyard() {
    static std::unordered_map<const VESSEL *, std::unique_ptr<VESSEL>> views;
    return views;
}
}  // namespace

void BuryVesselView(std::unique_ptr<VESSEL> view) {
    if (!view) return;
    const VESSEL *key = view.get();
    Graveyard()[key] = std::move(view);
}

bool IsBuriedVesselView(const VESSEL *view) {
    const auto &views = Graveyard();
    return !views.empty() && views.count(view) != 0;
}

void UseOfDeletedVessel(const char *method) {
    std::fprintf(stderr,
                 "kavrex host: VESSEL::%s called on a vessel that has been deleted: the module kept "
                 "its VESSEL pointer past opcDeleteVessel or the end of its scenario\n",
                 method);
    std::abort();
}

}  // namespace kvhost
