// scenes.cpp: the shared worlds.
#include "scenes.h"

#include "frames.h"

#include <cmath>

namespace scenes {

using kvhost::World;

int AddOrbitingBody(World &w, const std::string &name, double mass, double radius, int parent, double distance,
                    bool circular, double speed) {
    VECTOR3 pos = _V(distance, 0, 0), vel = _V(0, 0, 0);
    if (parent >= 0) {
        const kvhost::Body &p = w.body(parent);
        const double v = circular ? std::sqrt(kvhost::kG * (p.mass + mass) / distance) : speed;
        pos = p.pos + _V(distance, 0, 0);
        vel = p.vel + _V(0, 0, v);
    }
    return w.AddBody(kvhost::DriftingBody(name, mass, radius, pos, vel, parent));
}

int AddShipInOrbit(World &w, const std::string &name, int body, double altitude, const kvhost::VesselClass &cls) {
    const kvhost::Body &b = w.body(body);
    const double r = b.radius + altitude;
    kvhost::Vessel v = kvhost::MakeVessel(name, cls);
    v.pos = b.pos + _V(r, 0, 0);
    v.vel = b.vel + _V(0, 0, std::sqrt(kvhost::kG * b.mass / r));
    const int index = w.AddVessel(std::move(v));
    w.SetFocus(index);
    return index;
}

void LowEarthOrbit(World &w) {
    w.SetMjd(kMjd);
    World::BuildSolarSystem(w);
    AddShipInOrbit(w, "Courier-1", w.FindBody("Earth"), 400e3);
}

void LowLunarOrbit(World &w) {
    w.SetMjd(kMjd);
    World::BuildSolarSystem(w);
    AddShipInOrbit(w, "Selene-2", w.FindBody("Moon"), 100e3);
}

void QuietSpace(World &w) {
    w.SetMjd(kMjd);
    w.AddBody(kvhost::DriftingBody("Lamp", 1, 10, _V(0, 0, 0), _V(0, 0, 0)));
    w.AddBody(kvhost::DriftingBody("Alpha", 0.5, 1000, _V(1e9, 0, 0), _V(0, 0, 0), 0));
    w.AddBody(kvhost::DriftingBody("Beta", 0.4, 1000, _V(-2e9, 0, 0), _V(0, 0, 0), 0));
}

int AddShipAt(World &w, const std::string &name, VECTOR3 pos, VECTOR3 vel) {
    kvhost::Vessel v = kvhost::MakeVessel(name, kvhost::CourierClass());
    v.pos = pos;
    v.vel = vel;
    const int index = w.AddVessel(std::move(v));
    w.SetFocus(index);
    return index;
}

void LongTransfer(World &w) {
    w.SetMjd(kMjd);
    const double au = kvhost::kAu;
    w.AddBody(kvhost::DriftingBody("Star", 1.989e30, 6.96e8, _V(0, 0, 0), _V(0, 0, 0)));
    const int near = w.AddBody(kvhost::DriftingBody("Near", 5.97e24, 6.371e6, _V(au, 0, 0), _V(0, 0, 0), 0));
    const int nearMoon = AddOrbitingBody(w, "NearMoon", 7.35e22, 1.737e6, near, 3.84e8);
    const int far = w.AddBody(kvhost::DriftingBody("Far", 1.898e27, 6.99e7, _V(-3 * au, 0, 0), _V(0, 0, 0), 0));
    AddOrbitingBody(w, "FarMoon", 1.48e23, 2.63e6, far, 1.07e9);
    AddShipAt(w, "Courier-1", w.body(nearMoon).pos + _V(0, 0, 1e8), w.body(nearMoon).vel);
}

kvhost::VesselClass InertClass() {
    kvhost::VesselClass c;
    c.name = "Inert";
    c.dryMass = 1000;
    c.size = 2;
    c.tanks.push_back({100});
    return c;
}

}  // namespace scenes
