// vessel_classes.h: the vessel classes the host knows by name.
#ifndef KVHOST_WORLD_VESSEL_CLASSES_H
#define KVHOST_WORLD_VESSEL_CLASSES_H

#include "vessel.h"

namespace kvhost {

// The default class: a torch ship that can fly a constant-gee transfer. About one gee of main
// thrust with a full tank, retro and hover engines, attitude thrusters laid out as pure couples.
VesselClass CourierClass();

// A class by name (case-insensitive), named as asked; false when the host does not build it.
bool FindVesselClass(const std::string &name, VesselClass &out);
const char *KnownVesselClasses();   // their names, for a message

}  // namespace kvhost

#endif
