// world_globals.h: what the world layer keeps for the whole process. The SDK is a set of free
// functions, so the host answers them from the world made current; the buried VESSEL views and
// the last Earth series live as long. The storage is the host's one state (host/oapi).
#ifndef KVHOST_WORLD_WORLD_GLOBALS_H
#define KVHOST_WORLD_WORLD_GLOBALS_H

#include <Orbitersdk.h>

#include <cmath>
#include <memory>
#include <vector>

namespace kvhost {

class World;

// ERFA's Earth series at the last date asked for: the Sun and the Earth both need it at every
// date the world moves to, so the second of them reads it here.
struct EarthSeriesMemo {
    double mjd = std::nan("");
    double heliocentric[2][3] = {};
    double barycentric[2][3] = {};
};

struct WorldGlobals {
    World *current = nullptr;
    // Views of deleted vessels, never freed, so that their addresses are never handed out again.
    std::vector<std::unique_ptr<VESSEL>> graveyard;
    EarthSeriesMemo earth;
};

WorldGlobals &HostWorld();

}  // namespace kvhost

#endif
