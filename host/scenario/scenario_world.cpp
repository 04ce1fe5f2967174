// scenario_world.cpp: from a parsed scenario to the world's bodies and vessels.
#include "scenario_world.h"

#include "../world/frames.h"
#include "../world/vessel_classes.h"

#include <strings.h>

namespace kvhost {

static_assert(kMaxSpin >= kMaxSpinDegrees, "every rate a vessel reaches must read back from a scenario");

namespace {

std::string Where(const Scenario &sc, int line) { return sc.path + ":" + std::to_string(line) + ": "; }

bool AddShip(const Scenario &sc, const ScenarioShip &s, World &world, std::string &error) {
    VesselClass cls;
    if (!FindVesselClass(s.className, cls)) {
        error = Where(sc, s.line) + "unknown vessel class '" + s.className + "'";
        return false;
    }
    const int body = world.FindBody(s.statusBody);
    if (body < 0) {
        error = Where(sc, s.statusLine) + "no body named '" + s.statusBody + "' in system " + sc.system;
        return false;
    }
    Vessel v = MakeVessel(s.name, cls);
    v.pos = world.body(body).pos + s.rpos;
    v.vel = world.body(body).vel + s.rvel;
    v.rot = RotationFromEuler(s.arot * kDeg);
    v.omega = s.vrot * kDeg;
    if (s.landed) {
        v.status = VesselStatus::Landed;
        v.landedOn = body;
    }
    for (const auto &level : s.tankLevels) {
        if (level.first >= static_cast<int>(v.tanks.size())) {
            error = Where(sc, s.tankLine) + "vessel class '" + cls.name + "' has no tank " +
                    std::to_string(level.first);
            return false;
        }
        v.tanks[level.first].mass = v.tanks[level.first].maxMass * level.second;
    }
    world.AddVessel(std::move(v));
    return true;
}

}  // namespace

bool BuildScenarioWorld(const Scenario &sc, World &world, std::string &error) {
    if (strcasecmp(sc.system.c_str(), "Sol") != 0) {
        error = Where(sc, sc.systemLine) + "unknown system '" + sc.system + "' (this host has Sol)";
        return false;
    }
    world.SetMjd(sc.mjd);
    World::BuildSolarSystem(world);
    for (const ScenarioShip &s : sc.ships)
        if (!AddShip(sc, s, world, error)) return false;
    if (!sc.focus.empty()) {
        const int focus = world.FindVessel(sc.focus);
        if (focus < 0) {
            error = Where(sc, sc.focusLine) + "the focus ship '" + sc.focus + "' is not in BEGIN_SHIPS";
            return false;
        }
        world.SetFocus(focus);
    }
    return true;
}

}  // namespace kvhost
