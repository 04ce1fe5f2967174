// prestep_bench.cpp: the cost of one simulation step of the module, per vessel, with 1 and with
// 16 vessels in low Earth orbit that have opened the display, without and with the focus
// vessel's prediction in that step.
#include <benchmark/benchmark.h>

#include "host/world/scenes.h"
#include "support/loaded_module.h"

DLLCLBK void opcPreStep(double simt, double simdt, double mjd);

namespace {

void BM_PreStep(benchmark::State &state) {
    const int vessels = static_cast<int>(state.range(0));
    const bool predict = state.range(1) != 0;
    kvhost::World world;
    scenes::LowEarthOrbit(world);
    const int earth = world.FindBody("Earth");
    for (int i = 1; i < vessels; ++i)
        scenes::AddShipInOrbit(world, "Courier-" + std::to_string(i + 1), earth, 400e3 + i * 20e3);
    LoadedModule loaded(world);
    for (int i = vessels - 1; i >= 0; --i) loaded.Claim(i);  // vessel 0 (record 15 or 0) has the focus
    const int focus = kavrex::FindShip();
    kavrex::ShipRecord &r = kavrex::Ship(focus);
    r.kvEngaged = true;
    r.attitudeHold = true;
    for (auto _ : state) {
        r.display.ready = !predict;  // a clear flag asks for a prediction in this step
        opcPreStep(0, 0.05, world.Mjd());
        benchmark::ClobberMemory();
    }
    state.counters["per_vessel_us"] = benchmark::Counter(
        static_cast<double>(vessels), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["points"] = r.work.pointCount;
}

BENCHMARK(BM_PreStep)->Args({1, 0})->Args({16, 0})->Args({1, 1})->Args({16, 1})->Unit(benchmark::kMicrosecond);

}  // namespace
