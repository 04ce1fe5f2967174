// pilot_stream.h: a pilot at the cockpit driven by a stream of bytes, for the fuzzer and the
// random pilot. Each event takes one byte for its kind and more for its arguments: displays
// opened and closed on slots 0 to 12, keys with and without Ctrl, buttons with any event bits,
// focus changes among 17 vessels, "Select G" answers, steps, warp changes, save and load.
// After every event the invariants are checked; the first one broken ends the stream.
#ifndef KAVREX_FUZZ_PILOT_STREAM_H
#define KAVREX_FUZZ_PILOT_STREAM_H

#include "host/session/session.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pilot {

// The first line where two texts differ, both ways, with its number.
std::string FirstDifference(const std::string &a, const std::string &b);

// The scenario every stream starts from: 17 Couriers about the Earth, the Moon, Mars and in
// deep space, one landed, two displays open.
std::string StartScenario();

class PilotStream {
public:
    // Starts the session with the module linked into this program, loaded once for every
    // scenario the stream then starts, as the simulator loads a module for many sessions.
    bool Start(const kvhost::ModuleEntries &module, std::string &error);
    // Plays the events of `data`; returns the first broken invariant, or "" when none broke.
    std::string Play(const uint8_t *data, size_t size);
    long events() const { return events_; }
    kvhost::Session &session() { return session_; }

private:
    std::string Event(uint8_t kind);
    std::string CheckInvariants();
    uint8_t Next();

    kvhost::Plugin plugin_;  // outlives every session: one load of the module
    kvhost::Session session_;
    kvhost::ModuleEntries module_{};
    const uint8_t *data_ = nullptr;
    size_t size_ = 0, at_ = 0;
    long events_ = 0;
};

}  // namespace pilot

#endif
