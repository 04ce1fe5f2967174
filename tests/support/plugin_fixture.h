// plugin_fixture.h: a loaded module in a world of the test's choosing. The module's objects are
// linked into the test; the host answers its SDK calls from `world`.
#ifndef KAVREX_TESTS_PLUGIN_FIXTURE_H
#define KAVREX_TESTS_PLUGIN_FIXTURE_H

#include <gtest/gtest.h>

#include "host/cockpit/cockpit.h"
#include "host/gdi/gdi_objects.h"
#include "host/oapi/host_state.h"
#include "host/world/world.h"
#include "model/ship_table.h"
#include "support/loaded_module.h"

#include <memory>
#include <string>

DLLCLBK void opcTimeAccChanged(double new_warp, double old_warp);

class PluginTest : public ::testing::Test {
protected:
    // Every test starts from the host as the program starts: no mode, slot, pen or debug text.
    // Before any member of a derived fixture is made, since a device context registers itself.
    PluginTest() { kvhost::ResetHostState(); }
    void SetUp() override {
        world_.reset(new kvhost::World(61450.5));
        kvhost::SetCurrentWorld(world_.get());
        gdiAtStart_ = kvhost::LiveGdiObjects();
        loaded_.reset(new LoadedModule(*world_));
    }
    void TearDown() override {
        // A level that is no number would fire an engine at full thrust in the simulator.
        for (int i = 0; i < world_->VesselCount(); ++i)
            EXPECT_EQ(world_->vessel(i).nonFiniteLevels, 0)
                << "the module set a level that is no number on " << world_->vessel(i).name;
        loaded_.reset();
    }
    void Unload() { loaded_.reset(); }

    // Opens display `slot` in the Kavrex mode on the focus vessel; fails the test if it cannot.
    MFD *Open(int slot) {
        std::string error;
        EXPECT_TRUE(kvhost::OpenDisplay(slot, "Kavrex", error)) << error;
        return kvhost::Slot(slot).instance;
    }
    void Focus(int vessel) { world_->SetFocus(vessel); }

    kvhost::World &world() { return *world_; }
    int gdiAtStart_ = 0;

private:
    std::unique_ptr<kvhost::World> world_;
    std::unique_ptr<LoadedModule> loaded_;
};

#endif
