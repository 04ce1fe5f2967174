// assembly.h: docked and attached vessels: the ports of the classes the simulator's scenarios
// dock and attach, rigid stacks of docked vessels flown as one, and children carried at their
// parent's attachment point.
#ifndef KVHOST_WORLD_ASSEMBLY_H
#define KVHOST_WORLD_ASSEMBLY_H

#include "world.h"

#include <string>
#include <vector>

namespace kvhost {

// A dock or attachment point in its vessel's frame: its reference point, the direction it
// faces and its "up" (rot) direction.
struct Port {
    VECTOR3 pos, dir, rot;
};

// The docks of a class, its points towards a parent and its points for children; false for a
// class the table does not hold.
struct ClassPorts {
    std::vector<Port> docks, toParent, forChildren;
};
bool FindClassPorts(const std::string &className, ClassPorts &out);

// The pose (attitude, origin) of vessel 2 in vessel 1's frame when port p2 of vessel 2 meets
// port p1 of vessel 1: p2 faces opposite to p1, their up directions agree, their points coincide.
void MatedPose(const Port &p1, const Port &p2, MATRIX3 &rot, VECTOR3 &offset);

// Docks vessel v's dock dv to vessel w's dock dw, as the simulator builds its stacks at load:
// v keeps its pose (or its stack's), w (or its stack) is placed from it; when only w is in a
// stack, v joins w's. False with the cause when a vessel lacks that dock.
bool DockVessels(World &world, int v, int dv, int w, int dw, std::string &why);
// Attaches `child`'s point c (towards a parent) to `parent`'s point p (for children).
bool AttachVessel(World &world, int child, int c, int parent, int p, std::string &why);

// Puts every docked member and attached child where its leader or parent now is.
void PlaceMoored(World &world);

}  // namespace kvhost

#endif
