// world_bench.cpp: the world's frame, its bodies moved to the next date: on the theory's nodes,
// interpolated, against the theory evaluated for every body at every frame.
#include <benchmark/benchmark.h>

#include "host/world/ephemeris.h"
#include "host/world/world.h"

namespace {

constexpr double kFrameDays = 1.7 / 86400;  // a frame at warp 100 and 60 frames a second

void BM_WorldFrame(benchmark::State &state) {
    kvhost::World w(61450.5);
    kvhost::World::BuildSolarSystem(w);
    double mjd = 61450.5;
    for (auto _ : state) {
        mjd += kFrameDays;
        w.SetMjd(mjd);
        benchmark::DoNotOptimize(w.body(w.BodyCount() - 1).pos);
    }
    state.counters["bodies"] = w.BodyCount();
}

void BM_WorldFrameFullTheory(benchmark::State &state) {
    kvhost::World w(61450.5);
    kvhost::World::BuildSolarSystem(w);
    double mjd = 61450.5;
    VECTOR3 p, v;
    for (auto _ : state) {
        mjd += kFrameDays;
        for (int i = 0; i < w.BodyCount(); ++i) kvhost::TheoryState(w.bodies(), i, mjd, p, v);
        benchmark::DoNotOptimize(p);
    }
}

BENCHMARK(BM_WorldFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorldFrameFullTheory)->Unit(benchmark::kMicrosecond);

}  // namespace
