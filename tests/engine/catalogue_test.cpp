// The body catalogue and each vessel's body list, on small worlds built for each case.
#include "support/plugin_fixture.h"
#include "host/world/scenes.h"

#include "engine/body_list.h"
#include "engine/catalogue.h"
#include "model/ship_lookup.h"

#include <cstring>
#include <string>
#include <vector>

using kavrex::Catalogue;
using kavrex::Ship;
using scenes::AddOrbitingBody;

namespace {

constexpr double kStarMass = 2e30, kAu = 1.496e11;

std::vector<std::string> ListNames(const kavrex::ShipRecord &r) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < r.bodyCount; ++i) names.push_back(r.bodies[i].name);
    return names;
}

std::vector<std::string> PlanetNames() {
    std::vector<std::string> names;
    for (uint32_t p = 0; p < Catalogue().planetCount; ++p) names.push_back(Catalogue().planets[p].name);
    return names;
}

class CatalogueTest : public PluginTest {
protected:
    // A star and four planets; "Earth" has one moon, "Delta" two (the farther added first).
    void BuildFourPlanets(const char *earthName = "Earth") {
        star = AddOrbitingBody(world(), "Star", kStarMass, 7e8, -1, 0);
        AddOrbitingBody(world(), "Alpha", 3e23, 2.4e6, star, 0.4 * kAu);
        AddOrbitingBody(world(), "Delta", 6e23, 3.4e6, star, 1.5 * kAu);
        earth = AddOrbitingBody(world(), earthName, 6e24, 6.4e6, star, 1.0 * kAu);
        AddOrbitingBody(world(), "Luna", 7e22, 1.7e6, earth, 3.8e8);
        AddOrbitingBody(world(), "Beta", 5e24, 6e6, star, 0.7 * kAu);
        const int delta = world().FindBody("Delta");
        AddOrbitingBody(world(), "Far", 2e16, 6e3, delta, 2.3e7);
        AddOrbitingBody(world(), "Near", 1e16, 1e4, delta, 9.4e6);
    }
    // Claims a record for a ship around `body` and returns its index.
    int ClaimShipAt(int body, double altitude = 300e3) {
        scenes::AddShipInOrbit(world(), "Probe", body, altitude);
        Open(0);
        return kavrex::FindShip();
    }
    int star = -1, earth = -1;
};

TEST_F(CatalogueTest, FirstOfEquallyHeavyBodiesIsTheStarAndNeitherParentsTheOther) {
    AddOrbitingBody(world(), "A", kStarMass, 7e8, -1, 0);
    world().AddBody(kvhost::DriftingBody("B", kStarMass, 7e8, _V(1e12, 0, 0), _V(0, 0, 0)));
    // Two planets of equal mass in a tight, bound pair: still both planets.
    AddOrbitingBody(world(), "P1", 1e24, 6e6, 0, kAu);
    world().AddBody(
        kvhost::DriftingBody("P2", 1e24, 6e6, world().body(2).pos + _V(1e7, 0, 0), world().body(2).vel + _V(0, 0, 50)));
    kavrex::BuildSystemCatalogue();
    EXPECT_STREQ(Catalogue().starName, "A");
    EXPECT_EQ(Catalogue().planetCount, 3u);
    for (uint32_t p = 0; p < Catalogue().planetCount; ++p) EXPECT_EQ(Catalogue().planets[p].moonCount, 0u);
    EXPECT_EQ(PlanetNames(), (std::vector<std::string>{"P1", "P2", "B"}));
}

TEST_F(CatalogueTest, MoonOnAHyperbolicPassHangsFromTheStar) {
    AddOrbitingBody(world(), "Star", kStarMass, 7e8, -1, 0);
    const int planet = AddOrbitingBody(world(), "Planet", 6e24, 6.4e6, 0, kAu);
    // Escape speed at 1e8 m is about 2.8 km/s: 10 km/s is a fly-by.
    AddOrbitingBody(world(), "Rogue", 1e20, 2e5, planet, 1e8, false, 10e3);
    AddOrbitingBody(world(), "Bound", 1e20, 2e5, planet, 2e8);
    kavrex::BuildSystemCatalogue();
    EXPECT_EQ(PlanetNames(), (std::vector<std::string>{"Planet", "Rogue"}));
    ASSERT_EQ(Catalogue().planets[0].moonCount, 1u);
    EXPECT_STREQ(Catalogue().planets[0].moons[0].name, "Bound");
}

TEST_F(CatalogueTest, BodyBoundToPlanetAndMoonTakesTheStrongerPullAndMoonsOfMoonsAreUnlisted) {
    AddOrbitingBody(world(), "Star", kStarMass, 7e8, -1, 0);
    const int planet = AddOrbitingBody(world(), "Planet", 6e24, 6.4e6, 0, kAu);
    const int moon = AddOrbitingBody(world(), "Moon", 7e22, 1.7e6, planet, 3.8e8);
    // Bound to both; the moon pulls 0.196 m/s^2, the planet 0.003: the moon is its parent.
    AddOrbitingBody(world(), "Close", 1e15, 5e3, moon, -5e6, false, -300);
    // Bound to both; the planet pulls 0.0076 m/s^2, the moon 0.0002: the planet is its parent.
    AddOrbitingBody(world(), "Wide", 1e15, 5e3, moon, -1.5e8, false, -100);
    kavrex::BuildSystemCatalogue();
    const kavrex::SystemCatalogue &cat = Catalogue();
    ASSERT_EQ(cat.planetCount, 1u);
    ASSERT_EQ(cat.planets[0].moonCount, 2u);
    EXPECT_STREQ(cat.planets[0].moons[0].name, "Wide");  // 2.3e8 m from the planet
    EXPECT_STREQ(cat.planets[0].moons[1].name, "Moon");  // 3.8e8 m
    EXPECT_EQ(cat.moonTotal, 3u);                        // "Close" counts, though unlisted
    EXPECT_EQ(cat.links[3].parentHandle, world().BodyHandle(moon));

    const int ship = ClaimShipAt(planet);
    Ship(ship).includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    EXPECT_EQ(ListNames(Ship(ship)), (std::vector<std::string>{"Star", "Planet", "Wide", "Moon"}));
}

TEST_F(CatalogueTest, DefaultOptionsListEarthsSingleMoonRightAfterIt) {
    BuildFourPlanets();
    const int ship = ClaimShipAt(world().FindBody("Alpha"));
    const kavrex::ShipRecord &r = Ship(ship);
    EXPECT_FALSE(r.includeMoons);
    EXPECT_TRUE(r.lunaAlways);
    EXPECT_EQ(ListNames(r), (std::vector<std::string>{"Star", "Alpha", "Beta", "Earth", "Luna", "Delta"}));
    EXPECT_EQ(r.bodies[4].parent, 3u);
    EXPECT_EQ(r.bodies[4].colour, 0xFF0000u);
    EXPECT_EQ(r.bodies[4].moonCount, 0u);
    EXPECT_EQ(r.bodies[3].moonCount, 1u);
    // Delta keeps its true moon count though its moons are not listed.
    EXPECT_EQ(r.bodies[5].moonCount, 2u);
    EXPECT_EQ(r.bodies[5].colour, 0x0000FFu);  // planet 3
    EXPECT_EQ(r.bodies[0].colour, 0x00FFFFu);
    EXPECT_DOUBLE_EQ(r.bodies[3].gm, 6e24 * 6.67259e-11);
    for (uint32_t i = 0; i < r.bodyCount; ++i) {
        EXPECT_NE(r.bodies[i].dotPen, nullptr);
        EXPECT_NE(r.bodies[i].solidPen, nullptr);
    }
}

TEST_F(CatalogueTest, LunaRuleMatchesEarthWhateverItsCase) {
    BuildFourPlanets("EARTH");
    const int ship = ClaimShipAt(world().FindBody("Alpha"));
    EXPECT_EQ(ListNames(Ship(ship)), (std::vector<std::string>{"Star", "Alpha", "Beta", "EARTH", "Luna", "Delta"}));
}

TEST_F(CatalogueTest, BothOptionsOffListsStarAndPlanetsOnly) {
    BuildFourPlanets();
    const int ship = ClaimShipAt(world().FindBody("Alpha"));
    Ship(ship).lunaAlways = false;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    EXPECT_EQ(ListNames(Ship(ship)), (std::vector<std::string>{"Star", "Alpha", "Beta", "Earth", "Delta"}));
    EXPECT_EQ(Ship(ship).bodyCount, 5u);
}

TEST_F(CatalogueTest, IncludeMoonsFollowsEachPlanetWithItsMoonsByDistance) {
    BuildFourPlanets();
    const int ship = ClaimShipAt(world().FindBody("Alpha"));
    Ship(ship).includeMoons = true;  // lunaAlways stays set: it must add nothing more
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    const kavrex::ShipRecord &r = Ship(ship);
    EXPECT_EQ(ListNames(r),
              (std::vector<std::string>{"Star", "Alpha", "Beta", "Earth", "Luna", "Delta", "Near", "Far"}));
    EXPECT_EQ(r.bodies[6].parent, 5u);
    EXPECT_EQ(r.bodies[7].parent, 5u);
    EXPECT_EQ(r.bodies[6].colour, 0xFF0000u);  // moon 0
    EXPECT_EQ(r.bodies[7].colour, 0xFF00FFu);  // moon 1
}

TEST_F(CatalogueTest, EarthWithTwoMoonsGetsNoLunaEntry) {
    AddOrbitingBody(world(), "Star", kStarMass, 7e8, -1, 0);
    const int e = AddOrbitingBody(world(), "Earth", 6e24, 6.4e6, 0, kAu);
    AddOrbitingBody(world(), "M1", 7e22, 1.7e6, e, 3.8e8);
    AddOrbitingBody(world(), "M2", 1e20, 2e5, e, 1e8);
    const int ship = ClaimShipAt(e);
    EXPECT_EQ(ListNames(Ship(ship)), (std::vector<std::string>{"Star", "Earth"}));
}

TEST_F(CatalogueTest, EntriesPastAShorterListKeepTheirContents) {
    BuildFourPlanets();
    const int ship = ClaimShipAt(world().FindBody("Alpha"));
    Ship(ship).includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    ASSERT_EQ(Ship(ship).bodyCount, 8u);
    Ship(ship).includeMoons = false;
    Ship(ship).lunaAlways = false;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    EXPECT_EQ(Ship(ship).bodyCount, 5u);
    EXPECT_STREQ(Ship(ship).bodies[7].name, "Far");
    EXPECT_NE(Ship(ship).bodies[7].dotPen, nullptr);
}

TEST_F(CatalogueTest, CapacitiesAreBoundedOnACrowdedSystem) {
    // 70 planets (only 64 host bodies are read, only 16 planets kept), the first with 20 moons.
    AddOrbitingBody(world(), "Star", kStarMass, 7e8, -1, 0);
    const int first = AddOrbitingBody(world(), "P00", 1e25, 6e6, 0, 0.3 * kAu);
    for (int m = 0; m < 20; ++m) AddOrbitingBody(world(), "M" + std::to_string(m), 1e18, 1e5, first, 1e8 + m * 1e7);
    for (int p = 1; p < 70; ++p) AddOrbitingBody(world(), "P" + std::to_string(p), 1e25, 6e6, 0, (0.3 + 0.1 * p) * kAu);
    const int ship = ClaimShipAt(first);
    Ship(ship).includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    const kavrex::SystemCatalogue &cat = Catalogue();
    EXPECT_EQ(cat.gbodyCount, 64u);
    EXPECT_EQ(cat.planetCount, 16u);
    EXPECT_EQ(cat.planets[0].moonCount, 16u);
    EXPECT_LE(Ship(ship).bodyCount, 64u);
    EXPECT_EQ(Ship(ship).bodyCount, 1u + 16u + 16u);
}

TEST_F(CatalogueTest, StarListedAfterOtherBodiesStillGetsItsPlanets) {
    world().AddBody(kvhost::DriftingBody("Rock", 1e20, 1e5, _V(2 * kAu, 0, 0), _V(0, 0, 21e3)));
    AddOrbitingBody(world(), "Star", kStarMass, 7e8, -1, 0);
    kavrex::BuildSystemCatalogue();
    EXPECT_STREQ(Catalogue().starName, "Star");
    EXPECT_EQ(PlanetNames(), (std::vector<std::string>{"Rock"}));
}

TEST_F(CatalogueTest, SolarSystemListAndMoonCounts) {
    scenes::LowEarthOrbit(world());
    Open(0);
    const kavrex::ShipRecord &r = Ship(kavrex::FindShip());
    // The simulator's Sol: Vesta is a planet of the Sun, between Mars and Jupiter, and takes the
    // next colour, so the outer planets' colours move on by one.
    EXPECT_EQ(ListNames(r), (std::vector<std::string>{"Sun", "Mercury", "Venus", "Earth", "Moon", "Mars", "Vesta",
                                                      "Jupiter", "Saturn", "Uranus", "Neptune"}));
    const COLORREF colours[11] = {0x00FFFF, 0xFF00FF, 0xFFFF00, 0x00FF00, 0xFF0000, 0x0000FF,
                                  0x0080C0, 0x800080, 0x808000, 0xFF0000, 0x00C0C0};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(r.bodies[i].colour, colours[i]) << r.bodies[i].name;
    EXPECT_EQ(r.bodies[5].moonCount, 2u);   // Phobos, Deimos
    EXPECT_EQ(r.bodies[6].moonCount, 0u);   // Vesta
    EXPECT_EQ(r.bodies[7].moonCount, 4u);   // the Galilean moons
    EXPECT_EQ(r.bodies[8].moonCount, 8u);   // Saturn's, Hyperion among them
    EXPECT_EQ(r.bodies[10].moonCount, 3u);  // Triton, Proteus, Nereid
    EXPECT_EQ(Catalogue().moonTotal, 23u);
}

}  // namespace
