// stock_classes.cpp: the simulator's stock vessels by their own numbers.
#include "stock_classes.h"

#include "frames.h"

#include <cmath>

namespace kvhost {

VesselClass DeltaGliderClass(bool scramjets) {
    VesselClass c;
    c.name = scramjets ? "DG-S" : "DeltaGlider";
    c.dryMass = scramjets ? 13000 : 11000;
    c.size = 10;
    // On its gear: the height the simulator saved for a glider it had landed itself.
    c.restHeight = 2.459;
    c.pmi = _V(15.5, 22.1, 7.7);
    const int main = scramjets ? 1 : 0, rcs = scramjets ? 2 : 1;
    if (scramjets) {
        c.tanks.push_back({2500});  // the scramjets' fuel
        const VECTOR3 dir = _V(0, std::sin(9 * kDeg), std::cos(9 * kDeg));
        // Without an atmosphere a scramjet gives nothing: no thrust, no group.
        c.thrusters.push_back(MakeThruster(_V(-0.9, -0.8, -5.6), dir, 0, 5e4, 0, {}));
        c.thrusters.push_back(MakeThruster(_V(0.9, -0.8, -5.6), dir, 0, 5e4, 0, {}));
        c.tanks.push_back({10400});
    } else {
        c.tanks.push_back({12900});
    }
    c.tanks.push_back({600});
    const double isp = 4e4, retroDir = 0.04210548, retroBack = -0.99911317;
    c.thrusters.push_back(MakeThruster(_V(-1, 0, -7.7), _V(0, 0, 1), 1.6e5, isp, main, {THGROUP_MAIN}));
    c.thrusters.push_back(MakeThruster(_V(1, 0, -7.7), _V(0, 0, 1), 1.6e5, isp, main, {THGROUP_MAIN}));
    c.thrusters.push_back(
        MakeThruster(_V(-3, -0.236, 5.6), _V(0, retroDir, retroBack), 3.4e4, isp, main, {THGROUP_RETRO}));
    c.thrusters.push_back(
        MakeThruster(_V(3, -0.236, 5.6), _V(0, retroDir, retroBack), 3.4e4, isp, main, {THGROUP_RETRO}));
    const double rearHover = 3.0 / 4.55 * 0.5 * 1.1e5;
    c.thrusters.push_back(MakeThruster(_V(0, 0, 3), _V(0, 1, 0), 1.1e5, isp, main, {THGROUP_HOVER}));
    c.thrusters.push_back(MakeThruster(_V(-3, 0, -4.55), _V(0, 1, 0), rearHover, isp, main, {THGROUP_HOVER}));
    c.thrusters.push_back(MakeThruster(_V(3, 0, -4.55), _V(0, 1, 0), rearHover, isp, main, {THGROUP_HOVER}));
    const double f = 2.5e3;
    c.thrusters.push_back(MakeThruster(_V(0, 0, 8), _V(0, 1, 0), f, isp, rcs, {THGROUP_ATT_PITCHUP, THGROUP_ATT_UP}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -8), _V(0, -1, 0), f, isp, rcs, {THGROUP_ATT_PITCHUP, THGROUP_ATT_DOWN}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, 8), _V(0, -1, 0), f, isp, rcs, {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_DOWN}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -8), _V(0, 1, 0), f, isp, rcs, {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_UP}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, 6), _V(-1, 0, 0), f, isp, rcs, {THGROUP_ATT_YAWLEFT, THGROUP_ATT_LEFT}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -6), _V(1, 0, 0), f, isp, rcs, {THGROUP_ATT_YAWLEFT, THGROUP_ATT_RIGHT}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, 6), _V(1, 0, 0), f, isp, rcs, {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_RIGHT}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -6), _V(-1, 0, 0), f, isp, rcs, {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_LEFT}));
    c.thrusters.push_back(MakeThruster(_V(6, 0, 0), _V(0, 1, 0), f, isp, rcs, {THGROUP_ATT_BANKLEFT}));
    c.thrusters.push_back(MakeThruster(_V(-6, 0, 0), _V(0, -1, 0), f, isp, rcs, {THGROUP_ATT_BANKLEFT}));
    c.thrusters.push_back(MakeThruster(_V(-6, 0, 0), _V(0, 1, 0), f, isp, rcs, {THGROUP_ATT_BANKRIGHT}));
    c.thrusters.push_back(MakeThruster(_V(6, 0, 0), _V(0, -1, 0), f, isp, rcs, {THGROUP_ATT_BANKRIGHT}));
    c.thrusters.push_back(MakeThruster(_V(0, 0, -7), _V(0, 0, 1), 2 * f, isp, rcs, {THGROUP_ATT_FORWARD}));
    c.thrusters.push_back(MakeThruster(_V(0, 0, 7), _V(0, 0, -1), 2 * f, isp, rcs, {THGROUP_ATT_BACK}));
    return c;
}

VesselClass ShuttleAClass() {
    VesselClass c;
    c.name = "ShuttleA";
    c.dryMass = 13000;
    c.size = 17;
    // On its gear: the distance to the ground the simulator shows for one standing at a pad.
    c.restHeight = 2.55;
    c.pmi = _V(86.6, 89.8, 5.5);
    c.tanks = {{71500}, {2700}};
    const double isp = 3.3e4, rcsIsp = 3e4, f = 4500;
    c.thrusters.push_back(MakeThruster(_V(-1.7598, 0, -13.8705), _V(0, 0, 1), 1064360, isp, 0, {THGROUP_MAIN}));
    c.thrusters.push_back(MakeThruster(_V(1.7598, 0, -13.8705), _V(0, 0, 1), 1064360, isp, 0, {THGROUP_MAIN}));
    c.thrusters.push_back(MakeThruster(_V(0, -1.49016, 13), _V(0, 1, 0), 744975, isp, 0, {THGROUP_HOVER}));
    c.thrusters.push_back(MakeThruster(_V(0, -1.49016, -13), _V(0, 1, 0), 744975, isp, 0, {THGROUP_HOVER}));
    c.thrusters.push_back(MakeThruster(_V(-6.97215, 0, 0), _V(0, 0, -1), 385000, isp, 0, {THGROUP_USER}));
    c.thrusters.push_back(MakeThruster(_V(6.97215, 0, 0), _V(0, 0, -1), 385000, isp, 0, {THGROUP_USER}));
    c.thrusters.push_back(MakeThruster(_V(-6.01139, 0.61554, 0), _V(0, -1, 0), f, rcsIsp, 1, {THGROUP_ATT_BANKLEFT}));
    c.thrusters.push_back(MakeThruster(_V(6.01139, -0.61554, 0), _V(0, 1, 0), f, rcsIsp, 1, {THGROUP_ATT_BANKLEFT}));
    c.thrusters.push_back(MakeThruster(_V(-6.01139, -0.61554, 0), _V(0, 1, 0), f, rcsIsp, 1, {THGROUP_ATT_BANKRIGHT}));
    c.thrusters.push_back(MakeThruster(_V(6.01139, 0.61554, 0), _V(0, -1, 0), f, rcsIsp, 1, {THGROUP_ATT_BANKRIGHT}));
    c.thrusters.push_back(MakeThruster(_V(0, 0, 15), _V(0, 1, 0), f, rcsIsp, 1, {THGROUP_ATT_PITCHUP, THGROUP_ATT_UP}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -15), _V(0, -1, 0), f, rcsIsp, 1, {THGROUP_ATT_PITCHUP, THGROUP_ATT_DOWN}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, 15), _V(0, -1, 0), f, rcsIsp, 1, {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_DOWN}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -15), _V(0, 1, 0), f, rcsIsp, 1, {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_UP}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, 15), _V(1, 0, 0), f, rcsIsp, 1, {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_RIGHT}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -15), _V(-1, 0, 0), f, rcsIsp, 1, {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_LEFT}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, 15), _V(-1, 0, 0), f, rcsIsp, 1, {THGROUP_ATT_YAWLEFT, THGROUP_ATT_LEFT}));
    c.thrusters.push_back(
        MakeThruster(_V(0, 0, -15), _V(1, 0, 0), f, rcsIsp, 1, {THGROUP_ATT_YAWLEFT, THGROUP_ATT_RIGHT}));
    c.thrusters.push_back(MakeThruster(_V(0, 0, 0), _V(0, 0, 1), 2 * f, rcsIsp, 1, {THGROUP_ATT_FORWARD}));
    c.thrusters.push_back(MakeThruster(_V(0, 0, 0), _V(0, 0, -1), 2 * f, rcsIsp, 1, {THGROUP_ATT_BACK}));
    return c;
}

VesselClass ShuttlePBClass() {
    VesselClass c;
    c.name = "ShuttlePB";
    c.dryMass = 500;
    c.size = 3.5;
    c.pmi = _V(2.28, 2.31, 0.79);
    c.tanks = {{750}};
    const double isp = 5e4, f = 2e2;
    c.thrusters.push_back(MakeThruster(_V(0, 0, -4.35), _V(0, 0, 1), 3e4, isp, 0, {THGROUP_MAIN}));
    c.thrusters.push_back(MakeThruster(_V(0, -1.5, 0), _V(0, 1, 0), 1.5e4, isp, 0, {THGROUP_HOVER}));
    const struct {
        VECTOR3 pos, dir;
        std::vector<int> groups;
    } rcs[] = {
        {_V(1, 0, 3), _V(0, 1, 0), {THGROUP_ATT_PITCHUP, THGROUP_ATT_BANKLEFT, THGROUP_ATT_UP}},
        {_V(1, 0, 3), _V(0, -1, 0), {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_DOWN}},
        {_V(-1, 0, 3), _V(0, 1, 0), {THGROUP_ATT_PITCHUP, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_UP}},
        {_V(-1, 0, 3), _V(0, -1, 0), {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_BANKLEFT, THGROUP_ATT_DOWN}},
        {_V(1, 0, -3), _V(0, 1, 0), {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_BANKLEFT, THGROUP_ATT_UP}},
        {_V(1, 0, -3), _V(0, -1, 0), {THGROUP_ATT_PITCHUP, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_DOWN}},
        {_V(-1, 0, -3), _V(0, 1, 0), {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_UP}},
        {_V(-1, 0, -3), _V(0, -1, 0), {THGROUP_ATT_PITCHUP, THGROUP_ATT_BANKLEFT, THGROUP_ATT_DOWN}},
        {_V(1, 0, 3), _V(-1, 0, 0), {THGROUP_ATT_YAWLEFT, THGROUP_ATT_LEFT}},
        {_V(-1, 0, 3), _V(1, 0, 0), {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_RIGHT}},
        {_V(1, 0, -3), _V(-1, 0, 0), {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_LEFT}},
        {_V(-1, 0, -3), _V(1, 0, 0), {THGROUP_ATT_YAWLEFT, THGROUP_ATT_RIGHT}},
        {_V(0, 0, -3), _V(0, 0, 1), {THGROUP_ATT_FORWARD}},
        {_V(0, 0, 3), _V(0, 0, -1), {THGROUP_ATT_BACK}},
    };
    for (const auto &t : rcs) c.thrusters.push_back(MakeThruster(t.pos, t.dir, f, isp, 0, t.groups));
    return c;
}

}  // namespace kvhost
