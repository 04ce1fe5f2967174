// vessel.cpp: building a vessel from its class.
#include "vessel.h"

#include <algorithm>
#include <cmath>

namespace kvhost {

ThrusterSpec MakeThruster(VECTOR3 pos, VECTOR3 dir, double max0, double exhaust, int tank, std::vector<int> groups) {
    ThrusterSpec s;
    s.pos = pos;
    s.dir = dir / length(dir);
    s.max0 = max0;
    s.exhaustSpeed = exhaust;
    s.tank = tank;
    if (!groups.empty()) {
        s.group = groups.front();
        s.alsoIn.assign(groups.begin() + 1, groups.end());
    }
    return s;
}

const char *StatusName(VesselStatus status) {
    switch (status) {
    case VesselStatus::Flying: return "flying";
    case VesselStatus::Landed: return "landed";
    case VesselStatus::Crashed: return "crashed";
    }
    return "?";
}

double Vessel::Mass() const {
    double m = dryMass;
    for (const Tank &t : tanks) m += t.mass;
    return m;
}

double Vessel::PropellantMass() const {
    double m = 0;
    for (const Tank &t : tanks) m += t.mass;
    return m;
}

void SetThrusterLevel(Vessel &v, int thruster, double level) {
    v.thrusters[thruster].level = std::isfinite(level) ? std::min(1.0, std::max(0.0, level)) : 1.0;
    v.thrusters[thruster].permanentLevel = std::isfinite(level) ? level : 1.0;
}

Vessel MakeVessel(const std::string &name, const VesselClass &cls) {
    Vessel v;
    v.name = name;
    v.className = cls.name;
    v.dryMass = cls.dryMass;
    v.size = cls.size;
    v.restHeight = cls.restHeight;
    v.pmi = cls.pmi;
    for (const TankSpec &t : cls.tanks) v.tanks.push_back({t.maxMass, t.maxMass});
    for (const ThrusterSpec &s : cls.thrusters) {
        Thruster th;
        th.spec = s;
        if (s.group >= 0 && s.group < kThrusterGroupTypes)
            v.groups[s.group].push_back(static_cast<int>(v.thrusters.size()));
        for (int g : s.alsoIn)
            if (g >= 0 && g < kThrusterGroupTypes) v.groups[g].push_back(static_cast<int>(v.thrusters.size()));
        v.thrusters.push_back(th);
    }
    return v;
}

}  // namespace kvhost
