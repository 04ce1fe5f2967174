// world.h: the host's world: bodies on ephemerides, vessels, the date and the focus.
//
// Every SDK query is answered from the current world (SetCurrentWorld). Objects are handed out
// as opaque handles; a handle the world did not issue resolves to nothing, so a stale or forged
// handle gives zeros instead of undefined behaviour.
#ifndef KVHOST_WORLD_WORLD_H
#define KVHOST_WORLD_WORLD_H

#include "body.h"
#include "vessel.h"

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvhost {

enum class ObjectKind { Body, Vessel };

struct ObjectRef {
    ObjectKind kind;
    int index;
};

class World {
public:
    explicit World(double mjd = 51544.5);
    ~World();  // the vessels' SDK views are buried, not freed (vessel_graveyard.h)
    World(const World &) = delete;
    World &operator=(const World &) = delete;

    // The default solar system at the given date.
    static void BuildSolarSystem(World &world);

    int AddBody(Body body);
    int AddVessel(Vessel vessel);
    // Deletes vessel i: the vessels after it move down one index, its handle never resolves
    // again and its SDK view is buried. The focus moves with its vessel; deleting the focus
    // vessel leaves no focus (the caller gives it to another vessel first). False when absent.
    bool DeleteVessel(int i);

    double Mjd() const { return mjd_; }
    void SetMjd(double mjd);  // moves every body to its state at that date
    // Moves the date on by dt seconds. The date is the last one set plus the seconds flown since,
    // kept in one sum of seconds: adding each frame's length in days to the date would lose a
    // little of every frame to rounding (10.8 ms in 60,000 frames, 320 m of an orbit).
    void Advance(double dt);

    // The bodies as a scenario written now places them on its load: at the date as written (an
    // MJD, a fraction of a microsecond from the world's own).
    std::vector<Body> BodiesAtWrittenDate() const;

    int BodyCount() const { return static_cast<int>(bodies_.size()); }
    int VesselCount() const { return static_cast<int>(vessels_.size()); }
    Body &body(int i) { return bodies_[i]; }
    const std::vector<Body> &bodies() const { return bodies_; }
    const Body &body(int i) const { return bodies_[i]; }
    Vessel &vessel(int i) { return *vessels_[i]; }
    const Vessel &vessel(int i) const { return *vessels_[i]; }
    int FindBody(const std::string &name) const;  // case-insensitive; -1 when absent
    // A body that orbits a planet (its parent has a parent); false for -1 or no such body.
    bool IsMoon(int i) const {
        return i >= 0 && i < BodyCount() && bodies_[i].parent >= 0 && bodies_[bodies_[i].parent].parent >= 0;
    }
    int FindVessel(const std::string &name) const;  // likewise

    OBJHANDLE BodyHandle(int i) const;
    OBJHANDLE VesselHandle(int i) const;
    const ObjectRef *Resolve(OBJHANDLE h) const;  // null for a handle not of this world
    Vessel *ResolveVessel(OBJHANDLE h);

    int focus() const { return focus_; }
    void SetFocus(int vesselIndex) { focus_ = vesselIndex; }

    // The body whose pull M / r^2 at the point is largest, all bodies and the Sun included (a
    // strict comparison in index order: a tie goes to the earlier body); -1 without bodies.
    int GravityRef(const VECTOR3 &pos) const;
    // The simulator's choice of a vessel's gravity reference, made now (when a vessel is placed,
    // and then every 100 s of simulated time in free flight: UpdateGravityRef).
    void ChooseGravityRef(Vessel &v) const;
    // In free flight, chooses again once 100 s have passed since the last choice; a landed
    // vessel keeps its body.
    void UpdateGravityRef(Vessel &v) const;
    static constexpr double kGravityRefInterval = 100;  // s of simulated time

    // Gravitational acceleration at a point from every body, m/s^2, global frame.
    VECTOR3 GravityAccel(const VECTOR3 &pos) const;

private:
    void MoveBody(int i);
    double mjd_ = 0;
    double epochMjd_ = 0;  // the date last set
    double flown_ = 0;     // s since then
    // The node of the ephemeris's grid at or before the date last set, and the seconds from it.
    long long epochNode_ = 0;
    double epochNodeSeconds_ = 0;
    int focus_ = -1;
    std::vector<Body> bodies_;
    // Vessels own their storage, so that a deletion moves no vessel: the handles of its tanks,
    // thrusters and groups (addresses inside it) stay valid.
    std::vector<std::unique_ptr<Vessel>> vessels_;
    // The tags' addresses are the handles. A deleted vessel's tag stays (with index -1) so that
    // its address is never handed out again; it is only dropped from byHandle_.
    std::deque<ObjectRef> bodyTags_, vesselTags_;
    std::vector<ObjectRef *> vesselTagOf_;  // each vessel's tag, by vessel index
    std::unordered_map<const void *, ObjectRef *> byHandle_;
};

// A vessel's height above a body's surface (m) and its speed relative to the body (m/s).
struct BodyRelative {
    double altitude;
    double speed;
};
BodyRelative RelativeTo(const World &world, const Vessel &v, int body);
// A vessel's osculating orbit about a body (two bodies, the vessel's mass neglected): distances
// from the body's centre, m, and the period, s. An orbit that is not bound has no apoapsis and
// no period (0).
struct OrbitAbout {
    bool bound = false;
    double periapsis = 0, apoapsis = 0, period = 0, eccentricity = 0;
    bool descending = false;  // moving towards the body now
};
OrbitAbout OrbitOf(const World &world, const Vessel &v, int body);

// The body a vessel is about: its gravity reference in flight, the body it rests on otherwise.
int ReferenceBody(const Vessel &v);

World *CurrentWorld();
void SetCurrentWorld(World *world);

}  // namespace kvhost

#endif
