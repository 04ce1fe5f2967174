// scenario_world.cpp: from a parsed scenario to the world's bodies and vessels.
#include "scenario_world.h"

#include "numbers.h"

#include "../world/assembly.h"
#include "../world/bases.h"
#include "../world/frames.h"
#include "../world/surface.h"
#include "../world/vessel_classes.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace kvhost {

static_assert(kMaxSpin >= kMaxSpinDegrees, "every rate a vessel reaches must read back from a scenario");

namespace {

std::string Where(const Scenario &sc, int line) { return sc.path + ":" + std::to_string(line) + ": "; }

void Warn(std::vector<std::string> *warnings, const std::string &what) {
    if (warnings) warnings->push_back(what);
}

// The simulator fills only the tanks PRPLEVEL or FUEL names, and passes over a tank or thruster
// index the class does not have; the stand-in says so.
void ApplyLevels(const Scenario &sc, const ScenarioShip &s, Vessel &v, std::vector<std::string> *warnings) {
    for (Tank &t : v.tanks) t.mass = s.fuelGiven ? t.maxMass * s.fuel : 0;
    auto lacks = [&](int line, const char *item, int index, size_t count) {
        Warn(warnings, Where(sc, line) + FormatText("%s: %s of class %s has no %s %d (it has %zu): passed over",
                                                    std::strcmp(item, "tank") == 0 ? "PRPLEVEL" : "THLEVEL",
                                                    s.name.c_str(), v.className.c_str(), item, index, count));
    };
    for (const auto &level : s.tankLevels) {
        if (level.first < static_cast<int>(v.tanks.size()))
            v.tanks[level.first].mass = v.tanks[level.first].maxMass * level.second;
        else if (!v.passive)
            lacks(s.tankLine, "tank", level.first, v.tanks.size());
    }
    for (const auto &level : s.thrusterLevels) {
        if (level.first < static_cast<int>(v.thrusters.size()))
            SetThrusterLevel(v, level.first, level.second);
        else if (!v.passive)
            lacks(s.thrusterLine, "thruster", level.first, v.thrusters.size());
    }
}

// Where a landed ship stands: at its POS, or at the pad its BASE line names (a later POS moves
// it off), or, with neither, at longitude 0 and latitude 0 as the simulator puts it (a ship the
// stand-in once saved on the ground by its RPOS stands below that RPOS). Its attitude on the
// body is its AROT's, or level on the ground facing its HEADING.
bool Stand(const Scenario &sc, const ScenarioShip &s, World &world, int body, Vessel &v, std::string &error,
           std::vector<std::string> *warnings) {
    const Body &b = world.body(body);
    Footing &f = v.footing;
    f.lngDeg = s.longitude;
    f.latDeg = s.latitude;
    if (!s.baseName.empty()) {
        f.base = FindBase(b.name, s.baseName);
        if (f.base < 0) {
            error = Where(sc, s.baseLine) + "BASE: " + b.name + " has no base named '" + s.baseName +
                    "' (its bases: " + BaseNames(b.name) + "; the name is matched exactly)";
            return false;
        }
        const SurfaceBase &base = BaseAt(f.base);
        if (s.basePad > base.padCount) {
            error = Where(sc, s.baseLine) +
                    FormatText("BASE: %s has %d pads, not a pad %d", base.name, base.padCount, s.basePad);
            return false;
        }
        if (s.basePad >= 0 && !s.positionAfterBase) {
            f.lngDeg = base.lngDeg;
            f.latDeg = base.latDeg;
            if (s.basePad > 0 && !PadPosition(f.base, s.basePad - 1, b.radius, f.lngDeg, f.latDeg))
                Warn(warnings, Where(sc, s.baseLine) + s.name + ": the stand-in does not know where the pads of " +
                                   base.name + " lie: it stands at the base's centre");
        }
        // The pad named is the ship's, wherever a later POS puts it.
        if (s.basePad > 0) f.linePad = f.pad = s.basePad - 1;
        if (s.basePad < 0 && !s.positionGiven)
            Warn(warnings, Where(sc, s.baseLine) + s.name + ": BASE " + s.baseName +
                               " names no pad and there is no POS: it stands at longitude 0, latitude 0 of " + b.name +
                               ", as in the simulator");
    } else if (!s.positionGiven) {
        const VECTOR3 local = tmul(b.Axes().rot, s.rpos);
        if (length(local) > 0) {
            double lng, lat;
            LongitudeLatitude(local, lng, lat);
            f.lngDeg = lng / kDeg;
            f.latDeg = lat / kDeg;
            if (std::fabs(length(local) - b.radius) > std::max(1e3, 1e-3 * b.radius))
                Warn(warnings, Where(sc, s.statusLine) + s.name + " is landed on " + b.name + " with no POS or BASE, " +
                                   FormatText("%.0f km", (length(local) - b.radius) / 1e3) +
                                   " from the surface: it is put on the surface below its RPOS");
        } else {
            Warn(warnings, Where(sc, s.statusLine) + s.name + " is landed on " + b.name +
                               " with no POS or BASE: it stands at longitude 0, latitude 0, as in the simulator");
        }
    }
    f.headingDeg = s.heading;
    // An AROT counts, as in the simulator, when its first angle is at most 4 radians.
    if (s.arotGiven && s.arot.x * kDeg <= 4) {
        f.attitude = RotationFromEuler(s.arot * kDeg);
        f.height = s.altitude;
    } else {
        f.attitude = LevelAttitude(f.lngDeg, f.latDeg, f.headingDeg);
        f.height = v.restHeight;
    }
    v.status = VesselStatus::Landed;
    v.landedOn = body;
    StandOn(world, v, true);
    return true;
}

// Where the ship is: standing on the ground, on an orbit given by ELEMENTS, or at RPOS and RVEL.
// What the program could not write back (a speed beyond the bounds, an orbit through its body)
// is refused with its line.
bool Place(const Scenario &sc, const ScenarioShip &s, World &world, int body, Vessel &v, std::string &error,
           std::vector<std::string> *warnings) {
    if (s.landed) return Stand(sc, s, world, body, v, error, warnings);
    const Body &b = world.body(body);
    VECTOR3 rpos = s.rpos, rvel = s.rvel;
    if (s.elementsGiven) {
        const double periapsis = s.elements[0] * (1 - s.elements[1]);
        if (periapsis < b.radius) {
            error = Where(sc, s.elementsLine) + FormatText(
                                                    "ELEMENTS: the orbit's periapsis, %.0f m from the centre "
                                                    "of %s, lies inside it (radius %.0f m)",
                                                    periapsis, b.name.c_str(), b.radius);
            return false;
        }
        StateFromElements(s.elements, kG * b.mass, sc.mjd, rpos, rvel);
    }
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(rpos.data[i]) <= kMaxRelPos) || !(std::fabs(rvel.data[i]) <= kMaxRelVel)) {
            error = Where(sc, s.elementsGiven ? s.elementsLine : s.line) + s.name +
                    FormatText(
                        "'s state relative to %s is beyond what a scenario holds (%g m, %g m/s a "
                        "component): %.4g m, %.4g m/s",
                        b.name.c_str(), kMaxRelPos, kMaxRelVel, length(rpos), length(rvel));
            return false;
        }
    if (length(rpos) < b.radius * (1 - 1e-9) && b.radius > 0) {
        // Below the surface: the simulator lifts the ship out to it. (A ship saved on the
        // surface reads back a rounding below it, and stays where it was.)
        rpos = length(rpos) > 0 ? rpos / length(rpos) * b.radius : _V(0, 0, b.radius);
    }
    v.pos = b.pos + rpos;
    v.vel = b.vel + rvel;
    return true;
}

bool AddShip(const Scenario &sc, const ScenarioShip &s, World &world, std::string &error,
             std::vector<std::string> *warnings) {
    VesselClass cls;
    const bool known = FindVesselClass(s.className, cls);
    if (!known) {
        cls = PassiveClass(s.className);
        Warn(warnings, Where(sc, s.line) + "vessel class '" + s.className + "' is not one the stand-in builds (" +
                           KnownVesselClasses() + "): " + s.name + FormatText(" (%.0f kg)", cls.dryMass) +
                           " flies as a passive body, its lines kept as they are");
    }
    const int body = world.FindBody(s.statusBody);
    if (body < 0) {
        error = Where(sc, s.statusLine) + "no body named '" + s.statusBody + "' in system " + sc.system;
        return false;
    }
    Vessel v = MakeVessel(s.name, cls);
    v.passive = !known;
    v.rot = RotationFromEuler(s.arot * kDeg);
    v.omega = s.vrot * kDeg;
    if (!Place(sc, s, world, body, v, error, warnings)) return false;
    ApplyLevels(sc, s, v, warnings);
    // A ship put down at a base occupies the pad it stands on, and the pad fills its tanks.
    if (s.landed && v.footing.base >= 0) ReportTouchdown(world, v, v.footing.base);
    v.keptLines = s.keptLines;
    if (v.passive) v.keptLines.insert(v.keptLines.begin(), s.levelLines.begin(), s.levelLines.end());
    world.AddVessel(std::move(v));
    return true;
}

// The last line of a ship's kept lines that starts with `key`, after the key; "" when none.
std::string LastKeptLine(const ScenarioShip &s, const char *key) {
    std::string found;
    for (const std::string &line : s.keptLines) {
        std::string k, rest;
        std::istringstream in(line);
        in >> k;
        if (strcasecmp(k.c_str(), key) == 0) {
            std::getline(in, rest);
            found = rest;
        }
    }
    return found;
}

// "d:r,name" items of a DOCKINFO or ATTACHED line.
struct MateItem {
    int mine = 0, theirs = 0;
    std::string name;
};
std::vector<MateItem> MateItems(const std::string &text) {
    std::vector<MateItem> items;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        MateItem m;
        char colon = 0, comma = 0;
        std::istringstream w(word);
        if (w >> m.mine >> colon >> m.theirs >> comma && colon == ':' && comma == ',' && std::getline(w, m.name) &&
            !m.name.empty())
            items.push_back(m);
    }
    return items;
}

// A mate the stand-in cannot join by its ports (a class whose ports it does not know, a dock the
// class lacks) sits beside its partner at its velocity, flying on its own, and the stand-in says so.
void Beside(World &world, int mate, int partner, const std::string &why, const std::string &where,
            std::vector<std::string> *warnings) {
    Vessel &m = world.vessel(mate);
    const Vessel &p = world.vessel(partner);
    Warn(warnings, where + why + ": " + m.name + " flies on its own beside " + p.name);
    m.pos = p.pos + _V(p.rot.m11, p.rot.m21, p.rot.m31) * (p.size + m.size);
    m.vel = p.vel;
}

// Docks and attachments, as the simulator builds them once every ship is placed: in file order,
// each ship's DOCKINFO mates (one side's line is enough), then its ATTACHED parent. A docked
// stack is in free flight as soon as it is built (the ground lands it again).
void Moor(const Scenario &sc, World &world, std::vector<std::string> *warnings) {
    for (size_t i = 0; i < sc.ships.size(); ++i) {
        const ScenarioShip &s = sc.ships[i];
        const int v = static_cast<int>(i);
        for (const MateItem &m : MateItems(LastKeptLine(s, "DOCKINFO"))) {
            int w = -1;
            for (int k = 0; k < world.VesselCount(); ++k)
                if (world.vessel(k).name == m.name) w = k;  // matched exactly, as the simulator does
            if (w < 0 || w == v) continue;                  // the dock stays free
            const int lead = world.vessel(v).mooring.leader;
            if (lead >= 0 && lead == world.vessel(w).mooring.leader) continue;
            std::string why;
            if (!DockVessels(world, v, m.mine, w, m.theirs, why))
                Beside(world, w, v, why, Where(sc, s.line) + "DOCKINFO: ", warnings);
        }
        const std::vector<MateItem> parent = MateItems(LastKeptLine(s, "ATTACHED"));
        if (!parent.empty()) {
            const int p = world.FindVessel(parent[0].name);  // matched in any letter case
            std::string why;
            if (p >= 0 && p != v && !AttachVessel(world, v, parent[0].mine, p, parent[0].theirs, why))
                Beside(world, v, p, why, Where(sc, s.line) + "ATTACHED: ", warnings);
        }
    }
    for (int i = 0; i < world.VesselCount(); ++i) {
        Vessel &v = world.vessel(i);
        if (v.mooring.leader == i && v.status == VesselStatus::Landed) {
            v.status = VesselStatus::Flying;
            v.landedOn = -1;
        }
    }
    PlaceMoored(world);
}

}  // namespace

void StateFromElements(const double el[7], double mu, double mjd, VECTOR3 &pos, VECTOR3 &vel) {
    const double a = el[0], e = el[1], inc = el[2] * kDeg, node = el[3] * kDeg, peri = el[4] * kDeg;
    const double argPeri = peri - node;
    const double n = std::sqrt(mu / std::fabs(a * a * a));
    double M = el[5] * kDeg - peri + n * (mjd - el[6]) * 86400;
    M = std::fmod(M, 2 * kPi);
    // Kepler's equation by Newton's method (an ellipse; a hyperbola's ELEMENTS are rare).
    double E = e < 0.8 ? M : kPi;
    for (int i = 0; i < 50; ++i) E -= (E - e * std::sin(E) - M) / (1 - e * std::cos(E));
    const double cosE = std::cos(E), sinE = std::sin(E), root = std::sqrt(std::max(0.0, 1 - e * e));
    const double r = a * (1 - e * cosE);
    const double px = a * (cosE - e), py = a * root * sinE;  // in the orbit's plane
    const double vx = -std::sqrt(mu * a) / r * sinE, vy = std::sqrt(mu * a) / r * root * cosE;
    const double co = std::cos(node), so = std::sin(node), cw = std::cos(argPeri), sw = std::sin(argPeri);
    const double ci = std::cos(inc), si = std::sin(inc);
    // Ecliptic axes, right-handed X (equinox), Y, Z (north); the simulator's are x = X, y = Z, z = Y.
    auto Turn = [&](double x, double y) {
        const double X = (co * cw - so * sw * ci) * x + (-co * sw - so * cw * ci) * y;
        const double Y = (so * cw + co * sw * ci) * x + (-so * sw + co * cw * ci) * y;
        const double Z = (sw * si) * x + (cw * si) * y;
        return _V(X, Z, Y);
    };
    pos = Turn(px, py);
    vel = Turn(vx, vy);
}

bool BuildScenarioWorld(const Scenario &sc, World &world, std::string &error, std::vector<std::string> *warnings) {
    if (strcasecmp(sc.system.c_str(), "Sol") != 0) {
        error = Where(sc, sc.systemLine) + "unknown system '" + sc.system + "' (this host has Sol)";
        return false;
    }
    world.SetMjd(sc.mjd);
    World::BuildSolarSystem(world);
    for (const ScenarioShip &s : sc.ships)
        if (!AddShip(sc, s, world, error, warnings)) return false;
    Moor(sc, world, warnings);
    if (!sc.focus.empty()) {
        const int focus = world.FindVessel(sc.focus);
        if (focus < 0 && world.VesselCount() > 0)
            Warn(warnings, Where(sc, sc.focusLine) + "the focus ship '" + sc.focus +
                               "' is not in BEGIN_SHIPS: the first ship, " + world.vessel(0).name +
                               ", takes the focus");
        if (world.VesselCount() > 0) world.SetFocus(focus >= 0 ? focus : 0);
    }
    return true;
}

}  // namespace kvhost
