// bases.h: the surface bases of the default solar system and their landing pads.
#ifndef KVHOST_WORLD_BASES_H
#define KVHOST_WORLD_BASES_H

#include <string>

namespace kvhost {

// A pad's centre in its base's frame: metres south and east of the base's centre.
struct PadOffset {
    double south, east;
};

struct SurfaceBase {
    const char *body;
    const char *name;       // as a scenario's BASE line spells it
    double lngDeg, latDeg;  // the base's centre
    int padCount;
    const PadOffset *pads;  // the pads' positions; null where the stand-in does not know them
};

int BaseCount();
const SurfaceBase &BaseAt(int index);
// The base of that name on that body, the name matched exactly (as the simulator's BASE line
// matches it); -1 when there is none.
int FindBase(const std::string &body, const std::string &name);
// The names of a body's bases, for an error that lists them.
std::string BaseNames(const std::string &body);

// Pad `pad` (0-based) of a base: its longitude and latitude in degrees on a body of `radius` m
// (an offset on the flat map at the base, as the simulator places pads). False when the base has
// no such pad or the stand-in does not know where its pads lie.
bool PadPosition(int base, int pad, double radius, double &lngDeg, double &latDeg);

// The first pad of base `base` whose centre lies within 30 m of the point (great-circle distance
// on a sphere of `radius` m), or -1: the pad a ship standing there occupies.
int PadAt(int base, double lngDeg, double latDeg, double radius);
constexpr double kPadReach = 30;  // m

}  // namespace kvhost

#endif
