// scenario_frame_bench.cpp: the plug-in's frame on each shipped scenario at 8,192 steps: the
// prediction of the display's ship, its hand-over and one refresh of each of the four pages.
#include <benchmark/benchmark.h>

#include "fuzz/fuzz_common.h"
#include "host/gdi/recording_dc.h"
#include "host/session/session.h"
#include "model/module_state.h"
#include "model/ship_lookup.h"
#include "module/step_driver.h"
#include "support/shipped_scenarios.h"
#include "engine/propagate.h"

#include <fstream>
#include <sstream>
#include <string>

namespace {

// range(0): the scenario; range(1): the page, as presses of the mode key from the one it opens on.
void BM_ScenarioFrame(benchmark::State &state) {
    const std::string name = kShippedScenarios[state.range(0)];
    std::ifstream in(std::string(KAVREX_SCENARIO_DIR) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    kvhost::Session session;
    std::string error;
    if (!session.StartLinked(text.str(), name, fuzzing::kLinked, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int slot = 0;
    while (slot < kvhost::kDisplaySlots && !kvhost::Slot(slot).instance) ++slot;
    if (slot == kvhost::kDisplaySlots && !kvhost::OpenDisplay(slot = 0, "Kavrex", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    kvhost::PressKey(slot, OAPI_KEY_Q);  // more steps: 4,096 to 8,192
    for (int64_t i = 0; i < state.range(1); ++i) kvhost::PressKey(slot, OAPI_KEY_M);
    session.FlyToOneMoment(30);
    kavrex::ShipRecord &r = kavrex::Ship(kavrex::FindShip());
    kvhost::RecordingDc dc(kvhost::Slot(slot).width, kvhost::Slot(slot).height);
    for (auto _ : state) {
        kavrex::Predict(r);
        kavrex::HandOverTrajectory(r);
        dc.Clear();
        kvhost::Slot(slot).instance->Update(dc.hdc());
    }
    state.SetLabel(name);
    state.counters["steps"] = r.numSteps;
    state.counters["points"] = r.display.pointCount;
    session.Stop();
}

void Scenarios(benchmark::internal::Benchmark *b) {
    for (int s = 0; s < static_cast<int>(sizeof kShippedScenarios / sizeof kShippedScenarios[0]); ++s)
        for (int page = 0; page < 4; ++page) b->Args({s, page});
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2);
}

BENCHMARK(BM_ScenarioFrame)->Apply(Scenarios);

}  // namespace
