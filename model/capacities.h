// capacities.h: the fixed sizes of the module's tables. Every table and loop bound is written
// with these names, so that a capacity changes in one place.
#ifndef KAVREX_MODEL_CAPACITIES_H
#define KAVREX_MODEL_CAPACITIES_H

#include <cstddef>
#include <cstdint>

namespace kavrex {

constexpr int kMaxShips = 16;        // vessels with a record
constexpr int kCockpitMfds = 12;     // cockpit display identifiers 0..11 index their entries directly
constexpr int kWindowMfds = 4;       // entries for displays in external windows, found by identifier
constexpr int kMaxMfds = kCockpitMfds + kWindowMfds;   // display entries per record
constexpr int kMaxEntryless = 16;    // open displays that found no free entry, remembered as such
constexpr int kMaxBodies = 64;       // bodies in a vessel's list
constexpr int kMaxPoints = 8192;     // points of a trajectory
constexpr int kNameLength = 64;      // a body name and its terminator: 63 characters
constexpr int kMaxHostBodies = 64;   // host bodies the catalogue reads
constexpr int kMaxChildren = 64;     // children kept per body in the catalogue's links
constexpr int kMaxPlanets = 16;
constexpr int kMaxMoons = 16;        // per planet
constexpr int kLinkNameLength = 32;  // names in the catalogue's working links are cut to this
constexpr int kMaxModelled = 5;      // bodies a prediction models: the star and up to four more
constexpr size_t kLineBuffer = 64;   // one composed display line and its terminator

constexpr int kNone = -1;            // no record, no entry, no body

// An index into a vessel's body list (0 is the star).
using BodyIndex = uint32_t;

}  // namespace kavrex

#endif
