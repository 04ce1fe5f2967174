// page_bench.cpp: one refresh of a mode-3 page (read-outs and plot) with an 8192-point
// trajectory, on the recording context and on the Cairo raster context.
#include <benchmark/benchmark.h>

#include "engine/body_list.h"
#include "engine/propagate.h"
#include "host/gdi/raster_dc.h"
#include "host/gdi/recording_dc.h"
#include "host/world/scenes.h"
#include "support/loaded_module.h"
#include "model/module_state.h"
#include "module/step_driver.h"

#include <cairo.h>

#include <string>

namespace {

using kavrex::Ship;

// The long transfer, moon to moon, 8192 points handed over and the page in mode 3.
struct PageBench {
    PageBench() : loaded((scenes::LongTransfer(world), world)) {
        ship = loaded.Claim(0);
        kavrex::ShipRecord &r = Ship(ship);
        r.includeMoons = true;
        kavrex::RebuildBodyList(kavrex::Ship(ship));
        r.sourceBody = 2;  // NearMoon
        r.targetBody = 4;  // FarMoon
        r.numSteps = 8192;
        r.kvEngaged = true;
        r.artGee = 1.0;
        kavrex::SampleShipState(kavrex::Ship(ship));
        kavrex::Driver().weightAccel = _V(0, 0, 0);
        r.work.variant = kavrex::SelectPropagator(kavrex::Ship(ship));
        kavrex::Propagator(r.work.variant)(kavrex::Ship(ship));
        kavrex::HandOverTrajectory(kavrex::Ship(ship));
        display = kvhost::Slot(0).instance;
    }
    kvhost::World world;
    LoadedModule loaded;
    int ship = -1;
    MFD *display = nullptr;
};

void BM_UpdateRecording(benchmark::State &state) {
    PageBench b;
    kvhost::RecordingDc dc(256, 256);
    for (auto _ : state) {
        Ship(b.ship).display.ready = true;
        dc.Clear();
        b.display->Update(dc.hdc());
    }
    state.counters["points"] = Ship(b.ship).display.pointCount;
    state.counters["calls"] = static_cast<double>(dc.ops().size());
}

void BM_UpdateRaster(benchmark::State &state) {
    PageBench b;
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 256, 256);
    cairo_t *cr = cairo_create(surface);
    for (auto _ : state) {
        Ship(b.ship).display.ready = true;
        kvhost::RasterDc dc(256, 256, cr);
        b.display->Update(dc.hdc());
        cairo_reset_clip(cr);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

BENCHMARK(BM_UpdateRecording)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateRaster)->Unit(benchmark::kMicrosecond);

}  // namespace
