// vessel_classes.h: the vessel classes the host knows by name, in one table: the classes it
// builds (their tanks and thrusters) and the simulator's passive classes it carries as masses
// (stations and modules: a mass, a size and an inertia, no tanks, no engines).
#ifndef KVHOST_WORLD_VESSEL_CLASSES_H
#define KVHOST_WORLD_VESSEL_CLASSES_H

#include "vessel.h"

#include <string>

namespace kvhost {

struct VesselClassEntry {
    const char *name;        // as the scenario names it, any letter case
    VesselClass (*build)();  // null for a passive class
    double mass, size;       // kg and m; of a passive class (a built class has its own)
    VECTOR3 pmi;             // m^2, likewise
};

// Every entry; `count` is set to their number.
const VesselClassEntry *VesselClassTable(int &count);

// The default class: a torch ship that can fly a constant-gee transfer. About one gee of main
// thrust with a full tank, retro and hover engines, attitude thrusters laid out as pure couples.
VesselClass CourierClass();

// A class the host builds, by name (case-insensitive), named as asked; false when it builds none.
bool FindVesselClass(const std::string &name, VesselClass &out);
// The names of the classes it builds, for a message: "Courier, DeltaGlider, ...".
std::string KnownVesselClasses();
// A class it does not build, named as asked: the table's figures for a passive class it knows
// (Mir, ISS, Wheel, ...), else a body of ten tonnes; no tanks, no engines.
VesselClass PassiveClass(const std::string &name);

}  // namespace kvhost

#endif
