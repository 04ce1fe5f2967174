// propagate_bench.cpp: the cost of a prediction, of a prediction with its hand-over to the
// display, and of the literal whole-buffer copy, on a long transfer that computes every point.
#include <benchmark/benchmark.h>

#include "engine/body_list.h"
#include "engine/gravity_step.h"
#include "engine/propagate.h"
#include "host/world/frames.h"
#include "host/world/scenes.h"
#include "support/loaded_module.h"
#include "model/module_state.h"
#include "module/step_driver.h"

#include <chrono>
#include <string>
#include <vector>

namespace {

using kavrex::Ship;

// The module loaded in the long-transfer world, with the display open on the Courier.
struct Bench {
    Bench() : loaded((scenes::LongTransfer(world), world)) {
        ship = loaded.Claim(0);
        Ship(ship).includeMoons = true;
        kavrex::RebuildBodyList(kavrex::Ship(ship));
    }
    int Index(const char *name) {
        for (uint32_t i = 0; i < Ship(ship).bodyCount; ++i)
            if (std::string(Ship(ship).bodies[i].name) == name) return static_cast<int>(i);
        std::abort();
    }
    // Aims for the variant: 0 star to star (from 10 au above the ecliptic), 5 Near to Far,
    // 13 NearMoon to FarMoon; the drive pushes at 1 m/s^2 so the approach lasts the whole run.
    void Aim(int variant, uint32_t numSteps) {
        kavrex::ShipRecord &r = Ship(ship);
        kvhost::Vessel &v = world.vessel(0);
        const kvhost::Body &nearMoon = world.body(world.FindBody("NearMoon"));
        v.pos = nearMoon.pos + _V(0, 0, 1e8);
        v.vel = nearMoon.vel;
        if (variant == 0) {
            r.sourceBody = r.targetBody = 0;
            v.pos = _V(0, 0, 10 * kvhost::kAu);
            v.vel = _V(0, 0, 0);
        } else if (variant == 5) {
            r.sourceBody = static_cast<uint32_t>(Index("Near"));
            r.targetBody = static_cast<uint32_t>(Index("Far"));
        } else {
            r.sourceBody = static_cast<uint32_t>(Index("NearMoon"));
            r.targetBody = static_cast<uint32_t>(Index("FarMoon"));
        }
        r.numSteps = numSteps;
        r.kvEngaged = true;
        r.artGee = 1.0;
        kavrex::SampleShipState(kavrex::Ship(ship));
        kavrex::Driver().weightAccel = _V(0, 0, 0);
        r.work.variant = kavrex::SelectPropagator(kavrex::Ship(ship));
        if (r.work.variant != variant) std::abort();
    }
    void Predict() { kavrex::Propagator(Ship(ship).work.variant)(Ship(ship)); }

    kvhost::World world;
    LoadedModule loaded;
    int ship = -1;
};

void BM_Propagate(benchmark::State &state) {
    Bench b;
    b.Aim(static_cast<int>(state.range(0)), static_cast<uint32_t>(state.range(1)));
    for (auto _ : state) {
        b.Predict();
        benchmark::ClobberMemory();
    }
    if (Ship(b.ship).work.pointCount != state.range(1)) state.SkipWithError("the approach ended early");
    state.counters["points"] = Ship(b.ship).work.pointCount;
}

// The floor of a prediction: the same midpoint steps, of the same lengths, in a plain loop,
// without storing points or looking for closest approaches.
struct Floor {
    explicit Floor(Bench &b)
        : start(kavrex::Module().computation.model), thrust(kavrex::PredictionThrust(Ship(b.ship))) {
        const uint32_t n = Ship(b.ship).work.pointCount;
        for (uint32_t k = 0; k + 1 < n; ++k)
            steps.push_back((kavrex::PredictionPointMjd(k + 1) - kavrex::PredictionPointMjd(k)) * 86400);
    }
    void Run() const {
        alignas(4096) kavrex::ModelState m = start;  // on a page, as the prediction's own copy
        for (double dt : steps) kavrex::MidpointStep(m, thrust, dt);
        benchmark::DoNotOptimize(m.shipPos);
    }
    std::vector<double> steps;
    kavrex::ModelState start;
    VECTOR3 thrust;
};

void BM_PropagateFloor(benchmark::State &state) {
    Bench b;
    b.Aim(static_cast<int>(state.range(0)), static_cast<uint32_t>(state.range(1)));
    b.Predict();
    const Floor floor(b);
    for (auto _ : state) floor.Run();
}

// The prediction and its floor in turn, each iteration timing both, the first of them by turns
// (whichever runs second finds the caches as the first left them): the ratio of their sums holds
// where the machine's speed drifts between the two separate cases above.
void BM_PropagateOverFloor(benchmark::State &state) {
    Bench b;
    b.Aim(static_cast<int>(state.range(0)), static_cast<uint32_t>(state.range(1)));
    b.Predict();
    const Floor floor(b);
    using Clock = std::chrono::steady_clock;
    Clock::duration prediction{}, plain{};
    bool predictionFirst = true;
    for (auto _ : state) {
        for (int part = 0; part < 2; ++part) {
            const Clock::time_point t0 = Clock::now();
            if ((part == 0) == predictionFirst) {
                b.Predict();
                benchmark::ClobberMemory();
                prediction += Clock::now() - t0;
            } else {
                floor.Run();
                plain += Clock::now() - t0;
            }
        }
        predictionFirst = !predictionFirst;
    }
    if (plain.count() > 0)
        state.counters["over_floor"] = static_cast<double>(prediction.count()) / static_cast<double>(plain.count());
}

void BM_PropagateAndHandOver(benchmark::State &state) {
    Bench b;
    b.Aim(static_cast<int>(state.range(0)), static_cast<uint32_t>(state.range(1)));
    for (auto _ : state) {
        b.Predict();
        kavrex::HandOverTrajectory(kavrex::Ship(b.ship));
        Ship(b.ship).display.ready = false;
        benchmark::ClobberMemory();
    }
    if (Ship(b.ship).display.pointCount != state.range(1)) state.SkipWithError("the approach ended early");
}

void BM_HandOver(benchmark::State &state) {
    Bench b;
    b.Aim(static_cast<int>(state.range(0)), static_cast<uint32_t>(state.range(1)));
    b.Predict();
    for (auto _ : state) {
        kavrex::HandOverTrajectory(kavrex::Ship(b.ship));
        benchmark::ClobberMemory();
    }
}

void BM_CopyWholeBuffer(benchmark::State &state) {
    Bench b;
    kavrex::ShipRecord &r = Ship(b.ship);
    for (auto _ : state) {
        r.display = r.work;
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(kavrex::TrajectoryBuffer)));
}

void Cases(benchmark::internal::Benchmark *b) {
    for (int v : {0, 5, 13})
        for (int n : {4096, 8192}) b->Args({v, n});
    b->Unit(benchmark::kMicrosecond)->MinTime(0.3);
}

BENCHMARK(BM_Propagate)->Apply(Cases);
BENCHMARK(BM_PropagateFloor)->Apply(Cases);
BENCHMARK(BM_PropagateOverFloor)->Apply(Cases);
BENCHMARK(BM_PropagateAndHandOver)->Apply(Cases);
BENCHMARK(BM_HandOver)->Apply(Cases);
BENCHMARK(BM_CopyWholeBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace
