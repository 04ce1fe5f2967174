// vessel_classes.cpp: the built-in vessel classes.
#include "vessel_classes.h"

#include <strings.h>

namespace kvhost {

namespace {

// Two thrusters at +-arm along `along`, pushing in +-`push`: a pure couple, no net force.
void AddCouple(VesselClass &c, int group, VECTOR3 along, VECTOR3 push, double thrust, double arm,
               double exhaust) {
    ThrusterSpec a, b;
    a.pos = along * arm;
    a.dir = push;
    b.pos = along * -arm;
    b.dir = -push;
    a.max0 = b.max0 = thrust;
    a.exhaustSpeed = b.exhaustSpeed = exhaust;
    a.tank = b.tank = 0;
    a.group = b.group = group;
    c.thrusters.push_back(a);
    c.thrusters.push_back(b);
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
    for (double x : {-1.5, 1.5}) {
        ThrusterSpec s;
        s.pos = _V(x, 0, -8);
        s.dir = _V(0, 0, 1);
        s.max0 = 98000;
        s.exhaustSpeed = vMain;
        s.tank = 0;
        s.group = THGROUP_MAIN;
        c.thrusters.push_back(s);
    }
    ThrusterSpec retro;
    retro.pos = _V(0, 0, 6);
    retro.dir = _V(0, 0, -1);
    retro.max0 = 40000;
    retro.exhaustSpeed = vMain;
    retro.tank = 0;
    retro.group = THGROUP_RETRO;
    c.thrusters.push_back(retro);
    ThrusterSpec hover;
    hover.pos = _V(0, -3, 0);
    hover.dir = _V(0, 1, 0);
    hover.max0 = 60000;
    hover.exhaustSpeed = vMain;
    hover.tank = 0;
    hover.group = THGROUP_HOVER;
    c.thrusters.push_back(hover);

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
    if (strcasecmp(name.c_str(), "Courier") == 0) {
        out = CourierClass();
        return true;
    }
    return false;
}

}  // namespace kvhost
