// The module allocates nothing in a simulation step once its records are claimed: every table is
// fixed. Counted with a replaced global operator new (this program only); a positive control
// shows that the counter sees allocations at all.
#include <gtest/gtest.h>

#include "host/cockpit/cockpit.h"
#include "host/world/scenes.h"
#include "model/ship_lookup.h"
#include "model/ship_table.h"

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

DLLCLBK void InitModule(HINSTANCE hModule);
DLLCLBK void ExitModule(HINSTANCE hModule);
DLLCLBK void opcPreStep(double simt, double simdt, double mjd);

namespace {
long g_allocations = 0;
}

void *operator new(std::size_t n) {
    ++g_allocations;
    if (void *p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(StepAllocation, StepsAndPredictionsAllocateNothing) {
    kvhost::World world;
    scenes::LowEarthOrbit(world);
    kvhost::SetCurrentWorld(&world);
    InitModule(nullptr);
    std::string error;
    ASSERT_TRUE(kvhost::OpenDisplay(0, "Kavrex", error)) << error;
    kavrex::ShipRecord &r = kavrex::Ship(kavrex::FindShip());
    r.kvEngaged = r.attitudeHold = true;
    r.targetBody = 5;
    opcPreStep(0, 0.05, world.Mjd());  // the first step may set up whatever it needs

    const long before = g_allocations;
    for (int i = 0; i < 20; ++i) {
        r.display.ready = false;  // a prediction in every step
        opcPreStep(0, 0.05, world.Mjd());
    }
    EXPECT_EQ(g_allocations - before, 0);
    EXPECT_GT(r.display.pointCount, 0u);

    // Positive control: the counter does see an allocation.
    std::vector<int> *v = new std::vector<int>(10);
    EXPECT_GT(g_allocations - before, 0);
    delete v;

    kvhost::CloseAllDisplays();
    ExitModule(nullptr);
    kvhost::SetCurrentWorld(nullptr);
}

}  // namespace
