// vessel_classes.cpp: the built-in vessel classes.
#include "vessel_classes.h"

#include "stock_classes.h"

#include <strings.h>

namespace kvhost {

namespace {

// A thruster on tank 0.
ThrusterSpec Engine(VECTOR3 pos, VECTOR3 dir, double max0, double exhaust, int group) {
    ThrusterSpec s;
    s.pos = pos;
    s.dir = dir;
    s.max0 = max0;
    s.exhaustSpeed = exhaust;
    s.tank = 0;
    s.group = group;
    return s;
}

// Two thrusters at +-arm along `along`, pushing in +-`push`: a pure couple, no net force.
void AddCouple(VesselClass &c, int group, VECTOR3 along, VECTOR3 push, double thrust, double arm,
               double exhaust) {
    c.thrusters.push_back(Engine(along * arm, push, thrust, exhaust, group));
    c.thrusters.push_back(Engine(along * -arm, -push, thrust, exhaust, group));
}

}  // namespace

VesselClass CourierClass() {
    VesselClass c;
    c.name = "Courier";
    c.dryMass = 8000;
    c.size = 12;
    c.pmi = _V(20, 20, 6);
    c.tanks.push_back({12000});
    const double vMain = 4.0e5;   // m/s: a fusion torch, so a tank lasts hours at one gee
    // Main engines: 2 x 98 kN at the tail, 196 kN in all: 9.8 m/s^2 at 20 t (full tank).
    c.thrusters.push_back(Engine(_V(-1.5, 0, -8), _V(0, 0, 1), 98000, vMain, THGROUP_MAIN));
    c.thrusters.push_back(Engine(_V(1.5, 0, -8), _V(0, 0, 1), 98000, vMain, THGROUP_MAIN));
    c.thrusters.push_back(Engine(_V(0, 0, 6), _V(0, 0, -1), 40000, vMain, THGROUP_RETRO));
    c.thrusters.push_back(Engine(_V(0, -3, 0), _V(0, 1, 0), 60000, vMain, THGROUP_HOVER));

    // Attitude couples. Pitch up: nose (+z) pushed to +y; yaw left: nose pushed to -x;
    // bank right: the +x side pushed down (-y), turning +y towards +x.
    const double att = 2000, arm = 8, vAtt = 3000;
    AddCouple(c, THGROUP_ATT_PITCHUP, _V(0, 0, 1), _V(0, 1, 0), att, arm, vAtt);
    AddCouple(c, THGROUP_ATT_PITCHDOWN, _V(0, 0, 1), _V(0, -1, 0), att, arm, vAtt);
    AddCouple(c, THGROUP_ATT_YAWLEFT, _V(0, 0, 1), _V(-1, 0, 0), att, arm, vAtt);
    AddCouple(c, THGROUP_ATT_YAWRIGHT, _V(0, 0, 1), _V(1, 0, 0), att, arm, vAtt);
    AddCouple(c, THGROUP_ATT_BANKRIGHT, _V(1, 0, 0), _V(0, -1, 0), att, 3, vAtt);
    AddCouple(c, THGROUP_ATT_BANKLEFT, _V(1, 0, 0), _V(0, 1, 0), att, 3, vAtt);
    return c;
}

bool FindVesselClass(const std::string &name, VesselClass &out) {
    // By name whatever its letter case, as the simulator finds a class's file on Windows; the
    // vessel keeps the name as the scenario spells it.
    const char *n = name.c_str();
    if (strcasecmp(n, "Courier") == 0) out = CourierClass();
    else if (strcasecmp(n, "DeltaGlider") == 0 || strcasecmp(n, "DG-S") == 0)
        out = DeltaGliderClass(strcasecmp(n, "DG-S") == 0);
    else if (strcasecmp(n, "ShuttleA") == 0) out = ShuttleAClass();
    else if (strcasecmp(n, "ShuttlePB") == 0) out = ShuttlePBClass();
    else return false;
    out.name = name;
    return true;
}

const char *KnownVesselClasses() { return "Courier, DeltaGlider, DG-S, ShuttleA, ShuttlePB"; }

}  // namespace kvhost
