// vessel.h: vessel classes (what a vessel is built of) and vessels (a class plus a state).
#ifndef KVHOST_WORLD_VESSEL_H
#define KVHOST_WORLD_VESSEL_H

#include <Orbitersdk.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kvhost {

constexpr int kThrusterGroupTypes = 15;  // THGROUP_MAIN .. THGROUP_ATT_BACK

struct TankSpec {
    double maxMass = 0;  // kg
};

struct ThrusterSpec {
    VECTOR3 pos = {{0, 0, 0}};  // vessel frame, m
    VECTOR3 dir = {{0, 0, 1}};  // direction of the force on the vessel, unit, vessel frame
    double max0 = 0;            // vacuum rating, N
    double exhaustSpeed = 1;    // m/s
    int tank = -1;              // index of the tank it draws from; -1: none
    int group = -1;             // THGROUP_TYPE, or -1 for no group
    std::vector<int> alsoIn;    // more groups it serves in (an attitude thruster that also translates)
};

// A thruster as a class builds it: the direction normalised (as the simulator makes a thruster),
// the first group its own, the others those it also serves in.
ThrusterSpec MakeThruster(VECTOR3 pos, VECTOR3 dir, double max0, double exhaust, int tank, std::vector<int> groups);

struct VesselClass {
    std::string name;
    double dryMass = 0;         // kg
    double size = 1;            // mean radius, m
    VECTOR3 pmi = {{1, 1, 1}};  // principal moments of inertia per unit mass, m^2
    double restHeight = 0;      // of its origin above the ground when it stands on its gear, m
    std::vector<TankSpec> tanks;
    std::vector<ThrusterSpec> thrusters;
};

// The fastest a vessel turns about any axis: ten turns a second, in degrees/s. Attitude
// thrusters held on at high time acceleration could spin a vessel up without end; the host
// stops the rate here (no real vessel holds together beyond it), so every saved rate reads back.
constexpr double kMaxSpinDegrees = 3600;

enum class VesselStatus { Flying, Landed, Crashed };
const char *StatusName(VesselStatus status);  // "flying", "landed", "crashed"

struct Tank {
    double maxMass = 0;
    double mass = 0;
};

struct Thruster {
    ThrusterSpec spec;
    double level = 0;           // 0..1, as the engine runs (a level that is no number: full)
    double requestedLevel = 0;  // the last level set on it alone, as it was passed
    // Its level as the simulator keeps it and saves it: as last set, not clamped (a scenario's
    // THLEVEL of -0.1 stays -0.1 and gives no thrust); a level that is no number stands as 1.
    double permanentLevel = 0;
};

// Where a vessel stands on a body, in the body's own turning frame: held while it is landed or
// crashed, and written back as the simulator writes a landed vessel.
struct Footing {
    double lngDeg = 0, latDeg = 0, headingDeg = 0;     // as the scenario gave them, or as it came down
    double height = 0;                                 // of the vessel's origin above the surface, m
    MATRIX3 attitude = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};  // vessel frame to the body's frame
    int base = -1;                                     // the base it stands at (bases.h), -1: none
    int pad = -1;                                      // the pad of that base it occupies, -1: none
    int linePad = -1;                                  // the pad its scenario's BASE line named, -1: none
};

// A vessel's place in a rigid assembly: docked in a stack whose pose its leader keeps (the
// first of its members the scenario docks), or attached to a parent.
struct Mooring {
    int leader = -1;                              // the docked stack's leader (itself for the leader), -1: not docked
    int parent = -1;                              // the vessel it is attached to, -1: none
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};  // its attitude in the leader's (or parent's) frame
    VECTOR3 offset = {{0, 0, 0}};                 // its origin there, m
};

struct Vessel {
    std::string name;
    std::string className;
    double dryMass = 0, size = 1, restHeight = 0;
    VECTOR3 pmi = {{1, 1, 1}};
    std::vector<Tank> tanks;
    std::vector<Thruster> thrusters;
    // Thruster indices of each group type; the address of a group's vector is its handle.
    std::array<std::vector<int>, kThrusterGroupTypes> groups;

    VECTOR3 pos = {{0, 0, 0}}, vel = {{0, 0, 0}};  // global
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};   // vessel frame to global frame
    VECTOR3 omega = {{0, 0, 0}};                   // angular velocity, vessel axes, rad/s
    VesselStatus status = VesselStatus::Flying;
    int landedOn = -1;       // body index while landed or crashed
    Footing footing;         // where on it
    Mooring mooring;         // docked or attached
    double restSeconds = 0;  // on the ground in free flight with no thrust: 5 s of it land the vessel
    // The gravity reference as the simulator keeps it: the body pulling hardest, chosen when the
    // vessel is placed and again every 100 s of flight (World::ChooseGravityRef).
    int gravityRef = -1;
    double nextGravityRefMjd = -1e300;  // the next choice in free flight, MJD
    double touchdownSpeed = 0;          // m/s relative to the body as it touched
    int navmodes = 0;                   // the navigation modes on, a bit each (navmodes.h)
    // A vessel of a class the stand-in does not know: a body of its mass that nothing drives.
    bool passive = false;
    // What the scenario said that the stand-in keeps without acting on it, written back as read
    // (docking, radios, a class's own lines).
    std::vector<std::string> keptLines;

    // What a plug-in last asked for, before the host clamped it: lets tests and logs see the
    // commands as given (a level of 1.7, a non-number).
    double requestedRotLevel[3] = {0, 0, 0};
    double requestedGroupLevel[kThrusterGroupTypes] = {};
    int rotLevelCommands = 0;    // SetAttitudeRotLevel calls so far
    int nonFiniteLevels = 0;     // levels set that were no finite number
    int refills = 0;             // tanks topped up through the SDK
    double propellantAdded = 0;  // kg those top-ups added

    std::unique_ptr<VESSEL> api;       // the SDK's view of this vessel
    mutable char nameBuffer[64] = {};  // what VESSEL::GetName hands out

    double Mass() const;
    double PropellantMass() const;  // in every tank, kg
};

// Sets a thruster's level as the simulator runs it: within 0..1, a level that is not finite at
// full thrust.
void SetThrusterLevel(Vessel &v, int thruster, double level);

// A vessel of the given class with full tanks, at rest at the origin.
Vessel MakeVessel(const std::string &name, const VesselClass &cls);

}  // namespace kvhost

#endif
