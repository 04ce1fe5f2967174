// navmodes.h: the cockpit's navigation modes, the attitude holds every vessel has.
//
// The simulator gives every vessel a few automatic attitude holds, worked by its attitude
// thrusters: kill rotation, level with the local horizon, and prograde / retrograde along the
// velocity relative to the gravity reference. The stand-in has these four, with the
// simulator's numbers and keys; like the simulator it does not save them in a scenario. While
// one runs it sets the attitude thrusters itself every frame, as the simulator's do.
#ifndef KVHOST_WORLD_NAVMODES_H
#define KVHOST_WORLD_NAVMODES_H

#include "vessel.h"

namespace kvhost {

class World;

// The simulator's numbers for the modes (NAVMODE_KILLROT .. NAVMODE_RETROGRADE).
enum Navmode { kNavKillRot = 1, kNavHorizonLevel = 2, kNavPrograde = 3, kNavRetrograde = 4 };
constexpr int kNavmodeCount = 4;

const char *NavmodeName(int mode);  // "KILLROT", "HLEVEL", "PROGRADE", "RETROGRADE"; "" if none
bool NavmodeActive(const Vessel &v, int mode);
// Turns a mode on or off; the attitude modes that point the vessel exclude one another, as in
// the simulator (prograde ends retrograde and levelling, and so on). False for no such mode.
bool SetNavmode(Vessel &v, int mode, bool on);
// Turns every mode off and lets go of the attitude thrusters (a vessel that crashes, say).
void ClearNavmodes(Vessel &v);

// The positive and negative attitude groups of rotation axis 0 (pitch), 1 (yaw), 2 (bank),
// and a level for the axis as the simulator's SetAttitudeRotLevel sets it: a positive level
// fires the group that makes the axis's rate grow, a level that is no number the positive one
// at full thrust.
void SetRotationLevel(Vessel &v, int axis, double level);

// One frame of the active modes, before the vessel moves over `dt` seconds.
void HoldNavmodes(const World &w, Vessel &v, double dt);

}  // namespace kvhost

#endif
