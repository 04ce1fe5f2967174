// host_state.h: everything of the stand-in simulator that outlives a call, in one structure.
//
// The simulator's SDK is a set of free functions and a module may call any of them at any time,
// so the host keeps its answers' sources here: the current world, the cockpit's modes and slots,
// the live pens and device contexts, the scenario readers and writers, the debug string, and the
// flag a signal sets to end a run. Each layer reaches its own part through its own accessor
// (HostWorld, HostGdi, HostScenario, HostCockpit), declared in that layer.
#ifndef KVHOST_OAPI_HOST_STATE_H
#define KVHOST_OAPI_HOST_STATE_H

#include "../cockpit/cockpit_globals.h"
#include "../gdi/gdi_globals.h"
#include "../scenario/scenario_globals.h"
#include "../world/world_globals.h"

#include <csignal>

namespace kvhost {

constexpr size_t kDebugStringLength = 256;  // the simulator's debug string buffer

struct HostState {
    WorldGlobals world;
    GdiGlobals gdi;
    ScenarioGlobals scenario;
    CockpitGlobals cockpit;
    char debug[kDebugStringLength] = {};
    // Set by SIGINT or SIGTERM while a run flies: it stops at the next frame and writes what it has.
    volatile std::sig_atomic_t stopSignal = 0;
};

HostState &Host();

// Gives every part its value at the program's start, with no module loaded and no scenario
// running: no world, modes, slots, pens, device contexts or readers; an empty debug string. The
// buried vessel views stay, since a pointer to one may outlive any reset.
void ResetHostState();

}  // namespace kvhost

#endif
