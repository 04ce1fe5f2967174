// vessel_classes.cpp: the table of vessel classes, and the stand-in's own Courier.
#include "vessel_classes.h"

#include "stock_classes.h"

#include <strings.h>

namespace kvhost {

namespace {

VesselClass DeltaGlider() { return DeltaGliderClass(false); }
VesselClass DeltaGliderS() { return DeltaGliderClass(true); }

const VesselClassEntry kClasses[] = {
    {"Courier", CourierClass, 0, 0, {{0, 0, 0}}},
    {"DeltaGlider", DeltaGlider, 0, 0, {{0, 0, 0}}},
    {"DG-S", DeltaGliderS, 0, 0, {{0, 0, 0}}},
    {"ShuttleA", ShuttleAClass, 0, 0, {{0, 0, 0}}},
    {"ShuttlePB", ShuttlePBClass, 0, 0, {{0, 0, 0}}},
    // Passive classes of the simulator's files, by their figures.
    {"ProjectAlpha_ISS", nullptr, 450e3, 55, {{385, 719, 508}}},
    {"ISS", nullptr, 450e3, 55, {{395, 559, 290}}},
    {"Wheel", nullptr, 1e6, 250, {{26000, 26000, 52800}}},
    {"Mir", nullptr, 124340, 40, {{86.1, 79.6, 37.0}}},
    {"Module1", nullptr, 8e3, 6, {{7.7, 7.7, 2.3}}},
    {"ShuttleA_pl", nullptr, 20e3, 5, {{2.56, 2.39, 2.02}}},
};

// Its entry, by name whatever its letter case (as the simulator finds a class's file on
// Windows); null when the table has none.
const VesselClassEntry *Entry(const std::string &name) {
    for (const VesselClassEntry &e : kClasses)
        if (strcasecmp(e.name, name.c_str()) == 0) return &e;
    return nullptr;
}

// Two thrusters at +-arm along `along`, pushing in +-`push`: a pure couple, no net force.
void AddCouple(VesselClass &c, int group, VECTOR3 along, VECTOR3 push, double thrust, double arm, double exhaust) {
    c.thrusters.push_back(MakeThruster(along * arm, push, thrust, exhaust, 0, {group}));
    c.thrusters.push_back(MakeThruster(along * -arm, -push, thrust, exhaust, 0, {group}));
}

}  // namespace

const VesselClassEntry *VesselClassTable(int &count) {
    count = static_cast<int>(sizeof kClasses / sizeof kClasses[0]);
    return kClasses;
}

VesselClass CourierClass() {
    VesselClass c;
    c.name = "Courier";
    c.dryMass = 8000;
    c.size = 12;
    c.restHeight = 3;  // on its landing legs
    c.pmi = _V(20, 20, 6);
    c.tanks.push_back({12000});
    const double vMain = 4.0e5;  // m/s: a fusion torch, so a tank lasts hours at one gee
    // Main engines: 2 x 98 kN at the tail, 196 kN in all: 9.8 m/s^2 at 20 t (full tank).
    c.thrusters.push_back(MakeThruster(_V(-1.5, 0, -8), _V(0, 0, 1), 98000, vMain, 0, {THGROUP_MAIN}));
    c.thrusters.push_back(MakeThruster(_V(1.5, 0, -8), _V(0, 0, 1), 98000, vMain, 0, {THGROUP_MAIN}));
    c.thrusters.push_back(MakeThruster(_V(0, 0, 6), _V(0, 0, -1), 40000, vMain, 0, {THGROUP_RETRO}));
    c.thrusters.push_back(MakeThruster(_V(0, -3, 0), _V(0, 1, 0), 60000, vMain, 0, {THGROUP_HOVER}));

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
    const VesselClassEntry *e = Entry(name);
    if (!e || !e->build) return false;
    out = e->build();
    out.name = name;  // the vessel keeps the name as the scenario spells it
    return true;
}

std::string KnownVesselClasses() {
    std::string names;
    for (const VesselClassEntry &e : kClasses)
        if (e.build) names += (names.empty() ? "" : ", ") + std::string(e.name);
    return names;
}

VesselClass PassiveClass(const std::string &name) {
    VesselClass c;
    c.name = name;
    c.dryMass = 10000;
    c.size = 10;
    c.pmi = _V(10, 10, 10);
    const VesselClassEntry *e = Entry(name);
    if (e && !e->build) {
        c.dryMass = e->mass;
        c.size = e->size;
        c.pmi = e->pmi;
    }
    return c;
}

}  // namespace kvhost
