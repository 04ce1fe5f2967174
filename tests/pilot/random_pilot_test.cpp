// The random pilot: seeded streams of events through the cockpit, every invariant checked after
// every event, and the scenario saved at the end loads again.
#include <gtest/gtest.h>

#include "fuzz/fuzz_common.h"
#include "fuzz/pilot_stream.h"
#include "host/scenario/scenario.h"
#include "host/cockpit/saved_displays.h"
#include "host/scenario/scenario_write.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using fuzzing::kLinked;

// Bytes from a seeded generator (splitmix64), so a failure can be replayed from its seed.
std::vector<uint8_t> RandomBytes(uint64_t seed, size_t n) {
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i) {
        uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        out[i] = static_cast<uint8_t>(z ^ (z >> 31));
    }
    return out;
}

TEST(RandomPilot, ThousandsOfEventsKeepEveryInvariantAndTheSaveLoads) {
    // KAVREX_PILOT_BYTES lengthens the flight for a campaign; the default keeps the test short.
    const char *env = std::getenv("KAVREX_PILOT_BYTES");
    const size_t bytes = env ? static_cast<size_t>(std::strtoull(env, nullptr, 10)) : 6000;
    long events = 0;
    for (uint64_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        pilot::PilotStream p;
        std::string error;
        ASSERT_TRUE(p.Start(kLinked, error)) << error;
        const std::vector<uint8_t> data = RandomBytes(seed, bytes);
        const std::string broken = p.Play(data.data(), data.size());
        EXPECT_EQ(broken, "");
        events += p.events();
        kvhost::Scenario sc;
        EXPECT_TRUE(kvhost::ParseScenario(kvhost::ScenarioText(p.session().world(), kvhost::SaveOpenDisplays(), {}),
                                          "final.scn", sc, error))
            << error;
        p.session().Stop();
    }
    std::printf("[ measured ] %ld random pilot events\n", events);
}

}  // namespace
