// Claiming ship records and binding displays to them, through the host's cockpit.
#include "support/plugin_fixture.h"
#include "host/world/scenes.h"

#include "model/module_state.h"
#include "model/ship_lookup.h"

#include <cstring>

using kavrex::Entry;
using kavrex::FindShip;
using kavrex::Ship;
using kavrex::ShipCount;

namespace {

class ClaimTest : public PluginTest {};

TEST_F(ClaimTest, NothingIsClaimedOrAllocatedAtLoad) {
    EXPECT_EQ(ShipCount(), 0u);
    for (uint32_t i = 0; i < kavrex::kMaxShips; ++i) EXPECT_EQ(kavrex::AllocatedShip(i), nullptr);
    scenes::LowEarthOrbit(world());
    EXPECT_EQ(FindShip(), -1);
}

TEST_F(ClaimTest, FreshRecordHoldsTheLoadDefaultsAndMeasuresItsVessel) {
    scenes::LowEarthOrbit(world());
    Open(2);
    ASSERT_EQ(ShipCount(), 1u);
    ASSERT_EQ(FindShip(), 0);
    EXPECT_EQ(kavrex::AllocatedShip(1), nullptr);  // only the claimed record has storage
    const kavrex::ShipRecord &r = Ship(0);
    EXPECT_EQ(r.vessel, world().vessel(0).api.get());
    EXPECT_EQ(r.vesselHandle, world().VesselHandle(0));
    EXPECT_EQ(r.artGee, 9.800000190734863);
    EXPECT_EQ(r.numSteps, 4096u);
    EXPECT_FALSE(r.includeMoons);
    EXPECT_TRUE(r.lunaAlways);
    EXPECT_FALSE(r.kvEngaged || r.attitudeHold || r.autofillOff || r.ejected || r.display.ready);
    EXPECT_EQ(r.superthrust, 0.0);
    EXPECT_EQ(r.display.pointCount, 0u);
    EXPECT_EQ(r.work.shipTrack[8191].x, 0.0);
    // Source and target are the gravity reference; the opening entry centres on it.
    EXPECT_STREQ(r.bodies[r.sourceBody].name, "Earth");
    EXPECT_EQ(r.targetBody, r.sourceBody);
    EXPECT_EQ(r.mfds[2].centerBody, r.sourceBody);
    for (uint32_t k = 0; k < kavrex::kMaxMfds; ++k) {
        if (k != 2) {
            EXPECT_EQ(r.mfds[k].centerBody, 0u);
        }
        EXPECT_EQ(r.mfds[k].mode, 3u);
        EXPECT_EQ(r.mfds[k].zoom, 1.0);
        EXPECT_FALSE(r.mfds[k].shipProjection);
    }
    // The Courier: 2 x 98 kN main; attitude couples of 2 kN at 8 m (pitch, yaw) and 3 m (bank),
    // four thrusters per axis counting both directions.
    EXPECT_DOUBLE_EQ(r.mainThrustMax, 196000.0);
    EXPECT_DOUBLE_EQ(r.attitudeTorque[0], 4 * 2000.0 * 8);
    EXPECT_DOUBLE_EQ(r.attitudeTorque[1], 4 * 2000.0 * 3);
    EXPECT_DOUBLE_EQ(r.attitudeTorque[2], 4 * 2000.0 * 8);
    EXPECT_EQ(kavrex::Module().lineHeight, 256u / 24);
}

TEST_F(ClaimTest, LunarOrbitTakesTheMoonAsSourceAndTarget) {
    scenes::LowLunarOrbit(world());
    Open(0);
    const kavrex::ShipRecord &r = Ship(FindShip());
    EXPECT_STREQ(r.bodies[r.sourceBody].name, "Moon");
    EXPECT_EQ(r.sourceBody, 4u);
    EXPECT_EQ(r.targetBody, 4u);
}

TEST_F(ClaimTest, TwoDisplaysOnOneVesselShareOneRecord) {
    scenes::LowEarthOrbit(world());
    MFD *a = Open(0);
    MFD *b = Open(5);
    EXPECT_EQ(ShipCount(), 1u);
    EXPECT_EQ(Entry(0, 0).mfd, a);
    EXPECT_EQ(Entry(0, 5).mfd, b);
    EXPECT_EQ(kavrex::FindMFD(0, b), 5);
}

TEST_F(ClaimTest, ReopenedDisplayFindsItsSettingsAgain) {
    scenes::LowEarthOrbit(world());
    Open(1);
    Entry(0, 1).mode = 4;
    Entry(0, 1).centerBody = 7;
    Entry(0, 1).zoom = 8.0;
    Entry(0, 1).shipProjection = true;
    kvhost::CloseDisplay(1);
    EXPECT_EQ(Entry(0, 1).mfd, nullptr);
    MFD *again = Open(1);
    EXPECT_EQ(ShipCount(), 1u);
    EXPECT_EQ(Entry(0, 1).mfd, again);
    EXPECT_EQ(Entry(0, 1).mode, 4u);
    EXPECT_EQ(Entry(0, 1).centerBody, 7u);
    EXPECT_EQ(Entry(0, 1).zoom, 8.0);
    EXPECT_TRUE(Entry(0, 1).shipProjection);
}

TEST_F(ClaimTest, MoonMissingFromThePlanetsOnlyListWidensTheListToMoons) {
    scenes::LowEarthOrbit(world());
    scenes::AddShipInOrbit(world(), "Huygens", world().FindBody("Titan"), 200e3);
    Open(0);
    const kavrex::ShipRecord &r = Ship(FindShip());
    EXPECT_TRUE(r.includeMoons);
    EXPECT_STREQ(r.bodies[r.sourceBody].name, "Titan");
    EXPECT_EQ(r.targetBody, r.sourceBody);
    EXPECT_STREQ(r.bodies[r.bodies[r.sourceBody].parent].name, "Saturn");
}

TEST_F(ClaimTest, ReferenceInNoListLeavesMoonsOffAndSelectsTheStar) {
    // A moonlet of a moon: its parent is a moon, so no list holds it.
    scenes::AddOrbitingBody(world(), "Star", 2e30, 7e8, -1, 0);
    const int planet = scenes::AddOrbitingBody(world(), "Planet", 6e24, 6.4e6, 0, 1.5e11);
    const int moon = scenes::AddOrbitingBody(world(), "Moon", 7e22, 1.7e6, planet, 3.8e8);
    const int moonlet = scenes::AddOrbitingBody(world(), "Moonlet", 1e21, 3e5, moon, 2e7);
    scenes::AddShipInOrbit(world(), "Lost", moonlet, 20e3);
    ASSERT_EQ(world().GravityRef(world().vessel(0).pos), moonlet);
    Open(0);
    const kavrex::ShipRecord &r = Ship(FindShip());
    EXPECT_FALSE(r.includeMoons);
    EXPECT_EQ(r.sourceBody, 0u);
    EXPECT_EQ(r.targetBody, 0u);
    EXPECT_EQ(r.bodyCount, 2u);  // the planets-only list again
}

TEST_F(ClaimTest, VesselWithoutThrustersHasNoThrustOrTorque) {
    scenes::LowEarthOrbit(world());
    scenes::AddShipInOrbit(world(), "Brick", world().FindBody("Earth"), 500e3, scenes::InertClass());
    Open(0);
    const kavrex::ShipRecord &r = Ship(FindShip());
    EXPECT_EQ(r.mainThrustMax, 0.0);
    EXPECT_EQ(r.attitudeTorque[0], 0.0);
    EXPECT_EQ(r.attitudeTorque[1], 0.0);
    EXPECT_EQ(r.attitudeTorque[2], 0.0);
}

TEST_F(ClaimTest, SeventeenthVesselOpensUnboundAndNothingIsWrittenPastTheTable) {
    scenes::LowEarthOrbit(world());
    const int earth = world().FindBody("Earth");
    for (int i = 1; i < 17; ++i) scenes::AddShipInOrbit(world(), "Ship" + std::to_string(i), earth, 400e3 + i * 10e3);
    for (int v = 0; v < 17; ++v) {
        Focus(v);
        ASSERT_NE(Open(v % 10), nullptr) << "vessel " << v;
        EXPECT_EQ(FindShip(), v < 16 ? v : -1);
    }
    EXPECT_EQ(ShipCount(), 16u);
    // The unbound display's slot entry in the last claimed record was not touched by it.
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Ship(i).vessel, world().vessel(i).api.get());
    EXPECT_NE(Entry(15, 6).mfd, kvhost::Slot(6).instance);
}

// Cockpit identifiers index their entries; a window's identifier takes a window entry and finds
// it again, settings and all. With every window entry held by an open display, a further window
// has no entry: FindMFD says nothing of it (its page explains itself).
TEST_F(ClaimTest, EveryIdentifierFindsItsEntry) {
    scenes::LowEarthOrbit(world());
    const kvhost::RegisteredMode *mode = kvhost::FindMode("Kavrex");
    ASSERT_NE(mode, nullptr);
    const WPARAM size = 256 | (256 << 16);
    const LPARAM vessel = reinterpret_cast<LPARAM>(world().vessel(0).api.get());
    auto open = [&](UINT id) {
        return kvhost::InstanceFromResult(mode->msgproc(OAPI_MSG_MFD_OPENED, id, size, vessel));
    };
    // no slot holds these: the test owns them
    MFD *ten = open(10), *eleven = open(11);
    ASSERT_EQ(ShipCount(), 1u);
    EXPECT_EQ(kavrex::FindMFD(0, ten), 10);
    EXPECT_EQ(kavrex::FindMFD(0, eleven), 11);

    const UINT ids[] = {0x7ffe1234u, 12u, 0u + 0xFFFFFFFFu, 0x40u};
    MFD *windows[4];
    for (int w = 0; w < 4; ++w) {
        windows[w] = open(ids[w]);
        EXPECT_EQ(kavrex::FindMFD(0, windows[w]), kavrex::kCockpitMfds + w) << w;
    }
    Entry(0, kavrex::kCockpitMfds + 1).mode = 2;  // the window of identifier 12 shows the plot
    delete windows[1];
    MFD *again = open(12);
    ASSERT_EQ(kavrex::FindMFD(0, again), kavrex::kCockpitMfds + 1);
    EXPECT_EQ(Entry(0, kavrex::kCockpitMfds + 1).mode, 2u);

    MFD *fifth = open(0x99u);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(kavrex::FindMFD(0, fifth), -1);
    EXPECT_STREQ(oapiDebugString(), "");
    // Once a window closes, a new identifier takes its entry, with the defaults.
    delete again;
    MFD *sixth = open(0x98u);
    EXPECT_EQ(kavrex::FindMFD(0, sixth), kavrex::kCockpitMfds + 1);
    EXPECT_EQ(Entry(0, kavrex::kCockpitMfds + 1).mode, 3u);
    for (MFD *m : {ten, eleven, windows[0], windows[2], windows[3], fifth, sixth}) delete m;
    EXPECT_STREQ(oapiDebugString(), "");
}

TEST_F(ClaimTest, DisplayClosedWhileAnotherVesselHasTheFocusLeavesNoStaleEntry) {
    scenes::LowEarthOrbit(world());
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 600e3);
    Focus(0);
    const MFD *first = Open(3);
    Focus(1);
    Open(4);
    ASSERT_EQ(ShipCount(), 2u);
    kvhost::CloseDisplay(3);  // vessel 0's display, closed while vessel 1 has the focus
    EXPECT_EQ(Entry(0, 3).mfd, nullptr);
    EXPECT_STREQ(oapiDebugString(), "");
    // No later instance can match the closed one's address in vessel 0's record.
    for (uint32_t k = 0; k < kavrex::kMaxMfds; ++k) EXPECT_NE(Entry(0, k).mfd, first);
}

TEST_F(ClaimTest, FindMfdOfAStrangerReportsTheFailure) {
    scenes::LowEarthOrbit(world());
    Open(0);
    std::strcpy(oapiDebugString(), "previous text");
    int stranger;
    EXPECT_EQ(kavrex::FindMFD(0, reinterpret_cast<const MFD *>(&stranger)), -1);
    EXPECT_STREQ(oapiDebugString(), "Error! Bad at FindMFD");
}

TEST_F(ClaimTest, FocusWithoutARecordFindsNoShip) {
    scenes::LowEarthOrbit(world());
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 600e3);
    Focus(0);
    Open(0);
    Focus(1);
    EXPECT_EQ(FindShip(), -1);
    Focus(0);
    EXPECT_EQ(FindShip(), 0);
}

TEST_F(ClaimTest, TimeAccelerationAboveHundredClearsHoldForEveryRecord) {
    scenes::LowEarthOrbit(world());
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 600e3);
    Focus(0);
    Open(0);
    Focus(1);
    Open(1);
    Ship(0).attitudeHold = Ship(1).attitudeHold = true;
    opcTimeAccChanged(100, 10);
    EXPECT_TRUE(Ship(0).attitudeHold && Ship(1).attitudeHold);
    opcTimeAccChanged(101, 100);
    EXPECT_FALSE(Ship(0).attitudeHold || Ship(1).attitudeHold);
}

TEST_F(ClaimTest, ResetKeepsBindingCatalogueAndTrajectoriesAndAsksForANewOne) {
    scenes::LowEarthOrbit(world());
    Open(0);
    kavrex::ShipRecord &r = Ship(0);
    r.artGee = 3.0;
    r.includeMoons = true;
    r.kvEngaged = r.autofillOff = true;
    r.numSteps = 128;
    r.display.ready = true;
    r.display.pointCount = 42;
    r.targetBody = 5;
    kavrex::ResetShipRecord(kavrex::Ship(0), false);
    EXPECT_EQ(r.artGee, 3.0);
    EXPECT_TRUE(r.includeMoons);
    EXPECT_FALSE(r.kvEngaged || r.autofillOff || r.display.ready);
    EXPECT_EQ(r.numSteps, 4096u);
    EXPECT_EQ(r.display.pointCount, 42u);
    EXPECT_EQ(r.targetBody, 5u);
    kavrex::ResetShipRecord(kavrex::Ship(0), true);
    EXPECT_EQ(r.artGee, 9.800000190734863);
    EXPECT_FALSE(r.includeMoons);
    EXPECT_TRUE(r.lunaAlways);
}

}  // namespace
