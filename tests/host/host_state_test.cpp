// The host's one state: a reset gives back the program's start, part by part, and keeps the
// views of deleted vessels, which a module may still point at.
#include <gtest/gtest.h>

#include "host/cockpit/cockpit.h"
#include "host/cockpit/input_state.h"
#include "host/gdi/gdi_objects.h"
#include "host/oapi/host_state.h"
#include "host/world/scenes.h"
#include "host/world/vessel_graveyard.h"

#include <cstring>

namespace {

OAPI_MSGTYPE NoDisplay(UINT, UINT, WPARAM, LPARAM) { return 0; }
bool Answer(void *, char *, void *) { return true; }

}  // namespace

TEST(HostStateTest, ResetGivesTheStartBackAndKeepsBuriedViews) {
    kvhost::ResetHostState();
    kvhost::World w(61450.5);
    scenes::LowEarthOrbit(w);
    kvhost::SetCurrentWorld(&w);
    const VESSEL *view = w.vessel(0).api.get();
    ASSERT_TRUE(w.DeleteVessel(0));
    ASSERT_TRUE(kvhost::IsBuriedVesselView(view));

    char name[] = "Probe";
    MFDMODESPEC spec = {name, OAPI_KEY_P, NoDisplay};
    const int firstId = kvhost::RegisterMode(spec);
    kvhost::NewPen(PS_SOLID, 1, 0);
    kvhost::InputBox box;
    box.callback = Answer;
    kvhost::OpenInputBox(box);
    kvhost::SetControlKeyDown(true);
    std::strcpy(oapiDebugString(), "left over");
    kvhost::Host().stopSignal = 2;

    kvhost::ResetHostState();
    EXPECT_EQ(kvhost::CurrentWorld(), nullptr);
    EXPECT_EQ(kvhost::FindMode("Probe"), nullptr);
    EXPECT_EQ(kvhost::LiveGdiObjects(), 0);
    EXPECT_FALSE(kvhost::PendingInputBox().open);
    EXPECT_FALSE(kvhost::ControlKeyDown());
    EXPECT_STREQ(oapiDebugString(), "");
    EXPECT_EQ(kvhost::Host().stopSignal, 0);
    // The buried view is still there (under the sanitizers a freed one would be caught here).
    EXPECT_TRUE(kvhost::IsBuriedVesselView(view));
    // Modes are numbered from the start again, so a module loaded after a reset gets the same id.
    EXPECT_EQ(kvhost::RegisterMode(spec), firstId);
    kvhost::ResetHostState();
}
