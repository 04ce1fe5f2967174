// scenes.h: worlds shared by tests, benchmarks and tools: the default solar system with a
// vessel in a low orbit, and small worlds of a few bodies put together in code.
#ifndef KVHOST_WORLD_SCENES_H
#define KVHOST_WORLD_SCENES_H

#include "vessel_classes.h"
#include "world.h"

#include <string>

namespace scenes {

constexpr double kMjd = 61450.5;

// A body at `distance` from body `parent` along +x, on a circular orbit (velocity along +z)
// when `circular`, else moving with `speed` relative to the parent along +z.
int AddOrbitingBody(kvhost::World &w, const std::string &name, double mass, double radius, int parent, double distance,
                    bool circular = true, double speed = 0);

// A Courier called `name` on a circular orbit `altitude` above body `body`, made the focus.
int AddShipInOrbit(kvhost::World &w, const std::string &name, int body, double altitude,
                   const kvhost::VesselClass &cls = kvhost::CourierClass());

// The solar system at kMjd with a Courier 400 km above the Earth (the focus).
void LowEarthOrbit(kvhost::World &w);
// The solar system at kMjd with a Courier 100 km above the Moon (the focus).
void LowLunarOrbit(kvhost::World &w);

// Nearly empty space: a star of 1 kg at the origin ("Lamp", radius 10 m) and two bodies
// ("Alpha" 0.5 kg at +1e9 m on x, "Beta" 0.4 kg at -1e9 m), all at rest. Gravity there is
// below 1e-20 m/s^2, so a prediction is pure kinematics.
void QuietSpace(kvhost::World &w);

// A Courier at a given global state, made the focus.
int AddShipAt(kvhost::World &w, const std::string &name, VECTOR3 pos, VECTOR3 vel);

// A long transfer: the Sun-mass "Star" at the origin; "Near" (Earth-like) 1 au out on +x with
// its moon "NearMoon", "Far" (Jupiter-like) 3 au out on -x with its moon "FarMoon"; planets at
// rest, moons on circular orbits. The focus Courier waits 1e8 m off Near's moon (along +z), so
// a flight towards Far or its moon closes in for weeks: every point of a prediction is computed.
void LongTransfer(kvhost::World &w);

// A vessel class without any thrusters.
kvhost::VesselClass InertClass();

}  // namespace scenes

#endif
