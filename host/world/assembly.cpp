// assembly.cpp: the ports table, stacks built as the simulator builds them at load, and the
// members and children placed from their leader or parent.
#include "assembly.h"

#include "frames.h"
#include "surface.h"

#include <strings.h>

namespace kvhost {

namespace {

struct PortRow {
    double pos[3], dir[3], rot[3];
};

struct ClassPortRows {
    const char *className;
    std::vector<PortRow> docks, toParent, forChildren;
};

// The ports of every class the simulator's own scenarios dock or attach, from the classes'
// definitions: docks in index order (DOCKINFO's numbers), attachment points towards a parent
// (ATTACHED's first number) and for children (its second).
const std::vector<ClassPortRows> &Table() {
    static const std::vector<ClassPortRows> table = {
        {"ProjectAlpha_ISS",
         {{{0.08, -5.8, 15.7}, {0, 0, 1}, {0, -1, 0}},
          {{0.09, -17.9, -3.8}, {0, -1, 0}, {0, 0, 1}},
          {{0.05, -4.30, -36.3}, {0, 0, -1}, {0, 1, 0}},
          {{0.05, -7.7, 10.3}, {0, -1, 0}, {0, 0, -1}},
          {{0.05, -18.3, -23.7}, {0, -1, 0}, {0, 0, -1}}},
         {},
         {}},
        {"Mir",
         {{{0, 0.12, 10.74}, {0, 0, 1}, {0, 1, 0}},
          {{0, 0.12, -11.69}, {0, 0, -1}, {0, 1, 0}},
          {{15.8, 0.12, 9.5}, {1, 0, 0}, {0, 1, 0}}},
         {},
         {}},
        {"ISS",
         {{{13.67, 5.56, 0}, {1, 0, 0}, {0, 1, 0}},
          {{-4.32, 17.6, 0}, {0, 1, 0}, {1, 0, 0}},
          {{-36, 4.21, 0}, {-1, 0, 0}, {0, -1, 0}}},
         {},
         {}},
        {"Wheel", {{{0, 0, -1.6}, {0, 0, -1}, {0, 1, 0}}, {{0, 0, 1.6}, {0, 0, 1}, {0, 1, 0}}}, {}, {}},
        {"Module1", {{{0, 0, 5}, {0, 0, 1}, {0, 1, 0}}, {{0, 0, -5}, {0, 0, -1}, {0, 1, 0}}}, {}, {}},
        {"DeltaGlider", {{{0, -0.49, 10.076}, {0, 0, 1}, {0, 1, 0}}}, {}, {}},
        {"DG-S", {{{0, -0.49, 10.076}, {0, 0, 1}, {0, 1, 0}}}, {}, {}},
        {"ShuttleA",
         {{{0, 0, 18.677}, {0, 0, 1}, {0, 1, 0}}},
         {},
         {{{1.76, 0, 6.28}, {0, 0, -1}, {0, 1, 0}},
          {{1.76, 0, -1.28}, {0, 0, -1}, {0, 1, 0}},
          {{1.76, 0, -6.6}, {0, 0, -1}, {0, 1, 0}},
          {{-1.76, 0, 6.28}, {0, 0, -1}, {0, 1, 0}},
          {{-1.76, 0, -1.28}, {0, 0, -1}, {0, 1, 0}},
          {{-1.76, 0, -6.6}, {0, 0, -1}, {0, 1, 0}}}},
        {"ShuttleA_pl",
         {{{2, 0, 0}, {1, 0, 0}, {0, 1, 0}}},
         {{{-0.319, 0, 2.5}, {0, 0, 1}, {0, 1, 0}},
          {{-0.319, 0, -2.5}, {0, 0, -1}, {0, 1, 0}},
          {{-0.319, 2, 0}, {0, 1, 0}, {1, 0, 0}}},
         {}},
        {"ShuttlePB", {{{0, 1.3, -1}, {0, 1, 0}, {0, 0, -1}}}, {}, {}},
        {"Atlantis",
         {{{0, 2.40, 10.15}, {0, 1, 0}, {0, 0, -1}}, {{0, -2.48, 8.615}, {0, -1, 0}, {0, 0, 1}}},
         {},
         {{{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-2.26, 1.71, -6.5}, {0, 0, -1}, {0, 1, 0}}}},
        {"Atlantis_Tank",
         {{{0, 5.5, -5}, {0, 1, 0}, {0, 0, 1}},
          {{-4.25, 0, -6.4}, {-1, 0, 0}, {0, 0, 1}},
          {{4.25, 0, -6.4}, {1, 0, 0}, {0, 0, 1}}},
         {},
         {}},
        {"Atlantis_SRB", {{{1.95, 0, 5}, {1, 0, 0}, {0, 0, 1}}}, {}, {}},
        {"Carina", {}, {{{0, 0, 0}, {0, -1, 0}, {0, 0, 1}}, {{0, 0.9, 0.1}, {0, 1, 0}, {0, 0, 1}}}, {}},
        {"Leonardo_mplm",
         {{{0.07, -0.2, -3.2}, {0, 0, -1}, {0, 1, 0}}},
         {{{0, -0.4, 0}, {0, -1, 0}, {0, 0, 1}}, {{0.1, 2.0, 0.1}, {0, 1, 0}, {0, 0, -1}}},
         {}},
        {"HST",
         {},
         {{{0.1, 2.7, 0}, {0, 1, 0}, {0, 0, 1}},
          {{0.85, -2.75, 0.67}, {0, -1, 0}, {0, 0, -1}},
          {{-0.85, -2.75, 0.67}, {0, -1, 0}, {0, 0, -1}}},
         {}},
        {"LDEF",
         {},
         {{{0, 2.6, 0}, {0, 1, 0}, {0, 0, 1}}, {{0.05, -2.6, 0}, {0, -1, 0}, {0, 0, -1}}},
         {{{0, 0, -5}, {0, 0, 1}, {0, 1, 0}}}},
        {"Dragonfly", {{{0, 0, 3.2}, {0, 0, 1}, {0, 1, 0}}}, {}, {}},
    };
    return table;
}

std::vector<Port> Ports(const std::vector<PortRow> &rows) {
    std::vector<Port> out;
    for (const PortRow &r : rows)
        out.push_back(
            {_V(r.pos[0], r.pos[1], r.pos[2]), _V(r.dir[0], r.dir[1], r.dir[2]), _V(r.rot[0], r.rot[1], r.rot[2])});
    return out;
}

// The columns a, b, c as a matrix.
MATRIX3 Columns(const VECTOR3 &a, const VECTOR3 &b, const VECTOR3 &c) {
    return MATRIX3{{a.x, b.x, c.x, a.y, b.y, c.y, a.z, b.z, c.z}};
}

// Poses in a frame: compose (a then b, b given in a's frame) and invert.
struct Pose {
    MATRIX3 rot;
    VECTOR3 offset;
};
Pose Then(const Pose &a, const Pose &b) { return {MatrixProduct(a.rot, b.rot), a.offset + mul(a.rot, b.offset)}; }
Pose Inverse(const Pose &a) { return {Transpose(a.rot), -tmul(a.rot, a.offset)}; }
Pose PoseOf(const Vessel &v) { return {v.mooring.rot, v.mooring.offset}; }
void SetPose(Vessel &v, const Pose &p) {
    v.mooring.rot = p.rot;
    v.mooring.offset = p.offset;
}

// Port `index` of a vessel's list, or false with the cause.
bool PortOf(const Vessel &v, const char *kind, int index, std::vector<Port> ClassPorts::*list, Port &out,
            std::string &why) {
    ClassPorts ports;
    if (!FindClassPorts(v.className, ports)) {
        why = v.name + " is of class '" + v.className + "', whose ports the stand-in does not know";
        return false;
    }
    const std::vector<Port> &l = ports.*list;
    if (index < 0 || index >= static_cast<int>(l.size())) {
        why = v.name + " (" + v.className + ") has no " + kind + " " + std::to_string(index) + " (it has " +
              std::to_string(l.size()) + ")";
        return false;
    }
    out = l[static_cast<size_t>(index)];
    return true;
}

}  // namespace

bool FindClassPorts(const std::string &className, ClassPorts &out) {
    for (const ClassPortRows &c : Table())
        if (strcasecmp(c.className, className.c_str()) == 0) {
            out = {Ports(c.docks), Ports(c.toParent), Ports(c.forChildren)};
            return true;
        }
    return false;
}

void MatedPose(const Port &p1, const Port &p2, MATRIX3 &rot, VECTOR3 &offset) {
    const VECTOR3 facing = -p1.dir;
    rot = MatrixProduct(Columns(facing, p1.rot, crossp(facing, p1.rot)),
                        Transpose(Columns(p2.dir, p2.rot, crossp(p2.dir, p2.rot))));
    offset = p1.pos - mul(rot, p2.pos);
}

bool DockVessels(World &world, int v, int dv, int w, int dw, std::string &why) {
    Vessel &a = world.vessel(v), &b = world.vessel(w);
    Port pa, pb;
    if (!PortOf(a, "dock", dv, &ClassPorts::docks, pa, why) || !PortOf(b, "dock", dw, &ClassPorts::docks, pb, why))
        return false;
    Pose mate;
    MatedPose(pa, pb, mate.rot, mate.offset);  // b in a's frame
    if (a.mooring.leader < 0 && b.mooring.leader >= 0) {
        // a joins b's stack, placed from b.
        SetPose(a, Then(PoseOf(b), Inverse(mate)));
        a.mooring.leader = b.mooring.leader;
        return true;
    }
    if (a.mooring.leader < 0) {
        a.mooring.leader = v;
        SetPose(a, {IdentityMatrix(), _V(0, 0, 0)});
    }
    const Pose bInStack = Then(PoseOf(a), mate);
    if (b.mooring.leader < 0) {
        b.mooring.leader = a.mooring.leader;
        SetPose(b, bInStack);
        return true;
    }
    // Two stacks: b's joins a's, every member of it placed through b.
    const int old = b.mooring.leader;
    const Pose fromOld = Then(bInStack, Inverse(PoseOf(b)));
    for (int i = 0; i < world.VesselCount(); ++i) {
        Vessel &m = world.vessel(i);
        if (m.mooring.leader != old) continue;
        SetPose(m, Then(fromOld, PoseOf(m)));
        m.mooring.leader = a.mooring.leader;
    }
    return true;
}

bool AttachVessel(World &world, int child, int c, int parent, int p, std::string &why) {
    Vessel &kid = world.vessel(child), &host = world.vessel(parent);
    Port pc, pp;
    if (!PortOf(kid, "attachment point towards a parent", c, &ClassPorts::toParent, pc, why) ||
        !PortOf(host, "attachment point for children", p, &ClassPorts::forChildren, pp, why))
        return false;
    MatedPose(pp, pc, kid.mooring.rot, kid.mooring.offset);
    kid.mooring.parent = parent;
    return true;
}

namespace {

// A member or child where its carrier now is, at its place in the carrier's frame; on a carrier
// standing on the ground it stands there too, and is saved so.
void CarryWith(const World &world, Vessel &m, const Vessel &carrier) {
    m.pos = carrier.pos + mul(carrier.rot, m.mooring.offset);
    m.vel = carrier.vel;
    m.rot = MatrixProduct(carrier.rot, m.mooring.rot);
    m.omega = tmul(m.mooring.rot, carrier.omega);
    m.status = carrier.status;
    m.landedOn = carrier.landedOn;
    m.gravityRef = carrier.gravityRef;
    if (m.status != VesselStatus::Flying && m.landedOn >= 0) FootingFromState(world, m, m.landedOn);
}

}  // namespace

void PlaceMoored(World &world) {
    // Members first (their leaders fly), then children, a parent before its child.
    for (int i = 0; i < world.VesselCount(); ++i) {
        Vessel &m = world.vessel(i);
        const int lead = m.mooring.leader;
        if (lead >= 0 && lead != i) CarryWith(world, m, world.vessel(lead));
    }
    for (int pass = 0; pass < 4; ++pass)  // attachments nest a few deep at most
        for (int i = 0; i < world.VesselCount(); ++i) {
            Vessel &kid = world.vessel(i);
            if (kid.mooring.parent >= 0) CarryWith(world, kid, world.vessel(kid.mooring.parent));
        }
}

}  // namespace kvhost
