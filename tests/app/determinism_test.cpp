// Determinism: a fixed flight (scenarios/mars-transfer.scn with a pilot's timeline, in
// tests/data/determinism.scn) must leave exactly the same saved scenario and flight log, byte
// for byte, every time and in every build. Any change of behaviour changes the hash.
#include <gtest/gtest.h>

#include "host/app/commands.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// When a change of behaviour is intended, run the test, check that the flight still does what
// it should, and put the hash it prints here.
constexpr uint64_t kExpectedHash = 0x38DEE038B4EF000Dull;

uint64_t Fnv1a(const std::string &path, uint64_t h) {
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    for (int c; (c = std::fgetc(f)) != EOF;) h = (h ^ static_cast<uint64_t>(c)) * 0x100000001B3ull;
    std::fclose(f);
    return h;
}

TEST(Determinism, TheFixedFlightLeavesTheSameScenarioAndLog) {
    kvhost::CommandLine cl;
    cl.command = "run";
    cl.plugin = KAVREX_PLUGIN_PATH;
    cl.scenario = std::string(KAVREX_TEST_DATA_DIR) + "/determinism.scn";
    cl.out = std::string(::testing::TempDir()) + "kavrex-determinism";
    cl.steps = 6000;
    cl.stepsGiven = true;
    cl.logEvery = 10;
    ASSERT_EQ(kvhost::RunFlight(cl), 0);
    const uint64_t hash = Fnv1a(cl.out + "/flight.csv", Fnv1a(cl.out + "/final.scn", 0xCBF29CE484222325ull));
    ASSERT_NE(hash, 0u) << "the flight wrote no final.scn or flight.csv";
    char text[32];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    EXPECT_EQ(hash, kExpectedHash) << "the fixed flight changed: its final.scn and flight.csv now hash to " << text
                                   << ". If the change of behaviour is intended, check " << cl.out
                                   << " and set kExpectedHash in tests/app/determinism_test.cpp to " << text << ".";
}

}  // namespace
