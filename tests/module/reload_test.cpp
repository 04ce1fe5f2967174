// A second load of the module starts where the first did: nothing module-wide survives an unload.
#include "support/plugin_fixture.h"
#include "host/gdi/recording_dc.h"
#include "host/world/scenes.h"

#include "engine/propagate.h"
#include "model/module_state.h"
#include "model/ship_lookup.h"

DLLCLBK void opcPreStep(double simt, double simdt, double mjd);

namespace {

class ReloadTest : public PluginTest {
protected:
    // Flies the Courier's display a few frames and draws it, so that a prediction has run and
    // the plot's autozoom has chosen a scale.
    void FlyAndDraw() {
        const kvhost::DisplaySlot &s = kvhost::Slot(0);
        for (int i = 0; i < 5; ++i) opcPreStep(0, 0.05, world().Mjd());
        kvhost::RecordingDc dc(s.width, s.height);
        s.instance->Update(dc.hdc());
    }
};

TEST_F(ReloadTest, UnloadAndLoadLeaveNoStateOfTheEarlierLoad) {
    scenes::LowEarthOrbit(world());
    Open(0);
    kavrex::Ship(kavrex::FindShip()).kvEngaged = true;
    FlyAndDraw();
    const kavrex::ModuleState &m = kavrex::Module();
    ASSERT_GT(m.plot.autoBase, 0.0);
    ASSERT_NE(m.computation.record, nullptr);
    ASSERT_GT(kavrex::PredictionPointMjd(1), 0.0);

    Unload();
    LoadedModule again(world());
    EXPECT_EQ(kavrex::ShipCount(), 0u);
    EXPECT_EQ(m.plot.autoBase, 0.0);  // an autozoom-off display of this load starts unscaled
    EXPECT_EQ(m.computation.record, nullptr);
    EXPECT_EQ(kavrex::PredictionPointMjd(1), 0.0);
    EXPECT_EQ(m.view.x.x, 1.0);  // the ecliptic view
    EXPECT_EQ(m.view.y.z, 1.0);
    EXPECT_FALSE(m.buttonModifier);
    EXPECT_NE(m.whitePen, nullptr);  // the new load's own pens
}

}  // namespace
