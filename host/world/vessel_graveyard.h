// vessel_graveyard.h: the SDK views (VESSEL objects) of deleted vessels.
//
// The simulator frees a vessel's VESSEL when the vessel is deleted or its scenario ends; a
// module that kept the pointer then reads freed memory, which may go unnoticed for a long time.
// The stand-in keeps those views instead, marked as buried, and every call on a buried view
// stops the program with the method's name: a use after deletion fails loudly, in every build.
#ifndef KVHOST_WORLD_VESSEL_GRAVEYARD_H
#define KVHOST_WORLD_VESSEL_GRAVEYARD_H

#include <Orbitersdk.h>

#include <memory>

namespace kvhost {

void BuryVesselView(std::unique_ptr<VESSEL> view);
bool IsBuriedVesselView(const VESSEL *view);
// Stops the program, naming the method called on a buried view.
[[noreturn]] void UseOfDeletedVessel(const char *method);

}  // namespace kvhost

#endif
