// GDI pens: every pen the module creates is deleted again, however often lists are rebuilt.
#include "support/plugin_fixture.h"
#include "host/world/scenes.h"

#include "engine/body_list.h"
#include "model/module_state.h"
#include "model/ship_lookup.h"

namespace {

class PensTest : public PluginTest {};

TEST_F(PensTest, LoadMakesTheThreePlotPensAndUnloadDeletesThem) {
    EXPECT_EQ(kvhost::LiveGdiObjects(), gdiAtStart_ + 3);
    const kvhost::Pen *white = kvhost::ResolvePen(kavrex::Module().whitePen);
    const kvhost::Pen *dot = kvhost::ResolvePen(kavrex::Module().trajectoryDotPen);
    ASSERT_TRUE(white && dot);
    EXPECT_EQ(white->color, 0xFFFFFFu);
    EXPECT_EQ(dot->style, PS_DOT);
    EXPECT_EQ(dot->color, static_cast<COLORREF>(RGB(192, 128, 0)));
    Unload();
    EXPECT_EQ(kvhost::LiveGdiObjects(), gdiAtStart_);
}

TEST_F(PensTest, ThousandRebuildsUseNoMorePensAndUnloadReturnsThemAll) {
    scenes::LowEarthOrbit(world());
    Open(0);
    const int ship = kavrex::FindShip();
    kavrex::ShipRecord &r = kavrex::Ship(ship);
    EXPECT_EQ(kvhost::LiveGdiObjects(), gdiAtStart_ + 3 + 2 * 11);
    const kvhost::Pen *moonPen = kvhost::ResolvePen(r.bodies[4].dotPen);
    ASSERT_NE(moonPen, nullptr);
    EXPECT_EQ(moonPen->style, PS_DOT);
    EXPECT_EQ(moonPen->color, 0xFF0000u);

    // Alternate the moon setting so that entries change colour (and pens) on every rebuild.
    r.includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    const int widest = kvhost::LiveGdiObjects();
    EXPECT_EQ(widest, gdiAtStart_ + 3 + 2 * 33);  // star, 8 planets, Vesta, 23 moons
    for (int i = 0; i < 1000; ++i) {
        r.includeMoons = (i % 2) != 0;
        kavrex::RebuildBodyList(kavrex::Ship(ship));
        ASSERT_EQ(kvhost::LiveGdiObjects(), widest) << "rebuild " << i;
    }
    for (uint32_t i = 0; i < r.bodyCount; ++i) {
        const kvhost::Pen *solid = kvhost::ResolvePen(r.bodies[i].solidPen);
        ASSERT_NE(solid, nullptr);
        EXPECT_EQ(solid->color, r.bodies[i].colour);
    }
    Unload();
    EXPECT_EQ(kvhost::LiveGdiObjects(), gdiAtStart_);
}

TEST_F(PensTest, LunaInsertionOverAnOldLongerListNeitherLeaksNorSharesPens) {
    scenes::LowEarthOrbit(world());
    Open(0);
    const int ship = kavrex::FindShip();
    kavrex::ShipRecord &r = kavrex::Ship(ship);
    r.includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));  // 29 entries with pens
    r.includeMoons = false;
    kavrex::RebuildBodyList(kavrex::Ship(ship));  // the Luna rule shifts entries over the old ones
    for (uint32_t i = 0; i < 29; ++i)
        for (uint32_t j = i + 1; j < 29; ++j) ASSERT_NE(r.bodies[i].dotPen, r.bodies[j].dotPen) << i << " " << j;
    Unload();
    EXPECT_EQ(kvhost::LiveGdiObjects(), gdiAtStart_);
}

}  // namespace
