// capacities.h: the fixed sizes of the module's tables. Every table and loop bound is written
// with these names, so that a capacity changes in one place.
#ifndef KAVREX_MODEL_CAPACITIES_H
#define KAVREX_MODEL_CAPACITIES_H

#include <cstddef>
#include <cstdint>

namespace kavrex {

constexpr uint32_t kMaxShips = 16;     // vessels with a record
constexpr uint32_t kCockpitMfds = 12;  // cockpit display identifiers 0..11 index their entries directly
constexpr uint32_t kWindowMfds = 4;    // entries for displays in external windows, found by identifier
constexpr uint32_t kMaxMfds = kCockpitMfds + kWindowMfds;  // display entries per record
constexpr uint32_t kMaxOpenDisplays = 32;                  // open displays whose identifier the module remembers
constexpr uint32_t kMaxBodies = 64;                        // bodies in a vessel's list
constexpr uint32_t kMaxPoints = 8192;                      // points of a trajectory
constexpr int kNameLength = 64;                            // a body name and its terminator: 63 characters
constexpr uint32_t kMaxHostBodies = 64;                    // host bodies the catalogue reads
constexpr uint32_t kMaxChildren = 64;                      // children kept per body in the catalogue's links
constexpr uint32_t kMaxPlanets = 16;
constexpr uint32_t kMaxMoons = 16;      // per planet
constexpr int kLinkNameLength = 32;     // names in the catalogue's working links are cut to this
constexpr uint32_t kMaxModelled = 5;    // bodies a prediction models: the star and up to four more
constexpr uint32_t kMaxWatched = 4;     // bodies a prediction watches for its closest approaches
constexpr uint32_t kStagedPoints = 32;  // points a prediction keeps before writing them to the tracks
constexpr size_t kLineBuffer = 64;      // one composed display line and its terminator

constexpr int kNone = -1;  // no record, no entry, no body

// An index into a vessel's body list (0 is the star).
using BodyIndex = uint32_t;

}  // namespace kavrex

#endif
