// world.cpp: bodies, vessels and handles of the host's world.
#include "world.h"

#include "ephemeris.h"
#include "frames.h"
#include "solar_system.h"
#include "vessel_graveyard.h"
#include "world_globals.h"

#include <strings.h>

#include <algorithm>

#include <cmath>
#include <limits>

namespace kvhost {

World *CurrentWorld() { return HostWorld().current; }

BodyRelative RelativeTo(const World &w, const Vessel &v, int body) {
    const Body &b = w.body(body);
    return {length(v.pos - b.pos) - b.radius, length(v.vel - b.vel)};
}

OrbitAbout OrbitOf(const World &w, const Vessel &v, int body) {
    const Body &b = w.body(body);
    const VECTOR3 r = v.pos - b.pos, u = v.vel - b.vel;
    const double mu = kG * b.mass, d = length(r), speed2 = dotp(u, u);
    OrbitAbout o;
    if (!(mu > 0) || !(d > 0)) return o;
    const double energy = 0.5 * speed2 - mu / d, h2 = dotp(crossp(r, u), crossp(r, u));
    o.eccentricity = std::sqrt(std::max(0.0, 1 + 2 * energy * h2 / (mu * mu)));
    o.periapsis = h2 / mu / (1 + o.eccentricity);
    o.descending = dotp(r, u) < 0;
    o.bound = energy < 0;
    if (o.bound) {
        const double a = -mu / (2 * energy);
        o.apoapsis = a * (1 + o.eccentricity);
        o.period = 2 * kPi * std::sqrt(a * a * a / mu);
    }
    return o;
}

int ReferenceBody(const Vessel &v) { return v.status == VesselStatus::Flying ? v.gravityRef : v.landedOn; }
void SetCurrentWorld(World *world) { HostWorld().current = world; }

World::World(double mjd) { SetMjd(mjd); }

World::~World() {
    for (std::unique_ptr<Vessel> &v : vessels_) BuryVesselView(std::move(v->api));
}

void World::BuildSolarSystem(World &world) {
    for (Body &b : SolarSystemBodies()) world.AddBody(b);
    world.SetMjd(world.Mjd());
}

int World::AddBody(Body body) {
    const int index = BodyCount();
    if (body.eph.kind == EphemerisKind::Drift) body.eph.epochMjd = mjd_;
    bodies_.push_back(body);
    if (body.eph.kind != EphemerisKind::Drift || body.Turns()) MoveBody(index);
    bodyTags_.push_back({ObjectKind::Body, index});
    byHandle_[&bodyTags_.back()] = &bodyTags_.back();
    return index;
}

int World::AddVessel(Vessel vessel) {
    const int index = VesselCount();
    vessels_.push_back(std::unique_ptr<Vessel>(new Vessel(std::move(vessel))));
    vesselTags_.push_back({ObjectKind::Vessel, index});
    ObjectRef *tag = &vesselTags_.back();
    vesselTagOf_.push_back(tag);
    byHandle_[tag] = tag;
    vessels_.back()->api.reset(new VESSEL(tag));
    // Placed: the simulator chooses the reference at once (a landed vessel keeps its body).
    Vessel &added = *vessels_.back();
    if (added.status != VesselStatus::Flying && added.landedOn >= 0)
        added.gravityRef = added.landedOn;
    else
        ChooseGravityRef(added);
    added.nextGravityRefMjd = -1e300;  // and the first step after chooses again
    if (focus_ < 0) focus_ = index;
    return index;
}

bool World::DeleteVessel(int i) {
    if (i < 0 || i >= VesselCount()) return false;
    byHandle_.erase(vesselTagOf_[i]);
    vesselTagOf_[i]->index = -1;
    BuryVesselView(std::move(vessels_[i]->api));
    vessels_.erase(vessels_.begin() + i);
    vesselTagOf_.erase(vesselTagOf_.begin() + i);
    for (int k = i; k < VesselCount(); ++k) vesselTagOf_[k]->index = k;
    // Its stack and its children let go of it and fly on from where they are.
    for (std::unique_ptr<Vessel> &v : vessels_) {
        for (int *link : {&v->mooring.leader, &v->mooring.parent}) {
            if (*link == i)
                *link = -1;
            else if (*link > i)
                --*link;
        }
        if (v->mooring.leader < 0 && v->mooring.parent < 0) v->mooring = Mooring();
    }
    if (focus_ == i)
        focus_ = -1;
    else if (focus_ > i)
        --focus_;
    return true;
}

void World::SetMjd(double mjd) {
    mjd_ = epochMjd_ = mjd;
    flown_ = 0;
    const GridTime t = GridTimeOf(mjd);
    epochNode_ = t.node;
    epochNodeSeconds_ = t.fraction * kNodeSeconds;
    for (int i = 0; i < BodyCount(); ++i) MoveBody(i);
}

// A body's state and axes at the world's date, from the seconds flown since the date last set
// (not from the MJD: its last bit is 0.6 us, which would make the bodies jerk).
void World::MoveBody(int i) {
    UpdateBodyState(bodies_, i, mjd_, GridTimeAfter(epochNode_, epochNodeSeconds_ + flown_));
    Body &b = bodies_[i];
    b.SetAxesTime(mjd_, (epochMjd_ - b.spin.epochMjd) * kDay + flown_);
}

std::vector<Body> World::BodiesAtWrittenDate() const {
    std::vector<Body> bodies = bodies_;
    const GridTime t = GridTimeOf(mjd_);
    for (int i = 0; i < BodyCount(); ++i) UpdateBodyState(bodies, i, mjd_, t);
    return bodies;
}

void World::Advance(double dt) {
    flown_ += dt;
    mjd_ = epochMjd_ + flown_ / kDay;
    for (int i = 0; i < BodyCount(); ++i) MoveBody(i);
}

int World::FindBody(const std::string &name) const {
    for (int i = 0; i < BodyCount(); ++i)
        if (strcasecmp(bodies_[i].name.c_str(), name.c_str()) == 0) return i;
    return -1;
}

int World::FindVessel(const std::string &name) const {
    for (int i = 0; i < VesselCount(); ++i)
        if (strcasecmp(vessels_[i]->name.c_str(), name.c_str()) == 0) return i;
    return -1;
}

OBJHANDLE World::BodyHandle(int i) const {
    if (i < 0 || i >= BodyCount()) return nullptr;
    return const_cast<ObjectRef *>(&bodyTags_[i]);
}

OBJHANDLE World::VesselHandle(int i) const {
    if (i < 0 || i >= VesselCount()) return nullptr;
    return vesselTagOf_[i];
}

const ObjectRef *World::Resolve(OBJHANDLE h) const {
    auto it = byHandle_.find(h);
    return it == byHandle_.end() ? nullptr : it->second;
}

Vessel *World::ResolveVessel(OBJHANDLE h) {
    const ObjectRef *ref = Resolve(h);
    if (!ref || ref->kind != ObjectKind::Vessel) return nullptr;
    return vessels_[ref->index].get();
}

int World::GravityRef(const VECTOR3 &pos) const {
    int best = -1;
    double strongest = -1;
    for (int i = 0; i < BodyCount(); ++i) {
        const VECTOR3 d = bodies_[i].pos - pos;
        const double r2 = dotp(d, d);
        const double pull = r2 > 0 ? bodies_[i].mass / r2 : std::numeric_limits<double>::infinity();
        if (pull > strongest) {
            best = i;
            strongest = pull;
        }
    }
    return best;
}

void World::ChooseGravityRef(Vessel &v) const {
    v.gravityRef = GravityRef(v.pos);
    v.nextGravityRefMjd = mjd_ + kGravityRefInterval / 86400;
}

void World::UpdateGravityRef(Vessel &v) const {
    if (v.status != VesselStatus::Flying || mjd_ < v.nextGravityRefMjd) return;
    ChooseGravityRef(v);
}

VECTOR3 World::GravityAccel(const VECTOR3 &pos) const {
    VECTOR3 a = _V(0, 0, 0);
    for (const Body &b : bodies_) {
        const VECTOR3 d = b.pos - pos;
        const double r2 = dotp(d, d);
        if (r2 <= 0) continue;  // at a body's centre: no defined direction
        a += d * (kG * b.mass / (r2 * std::sqrt(r2)));
    }
    return a;
}

}  // namespace kvhost
