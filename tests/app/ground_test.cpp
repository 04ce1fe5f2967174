// Flights that start on the ground, through the loaded plug-in: the display reads a landed ship
// soundly from its first refresh, the drive lifts it off, and a ship saved in flight while at
// rest on the turning Earth comes to rest there instead of crashing.
#include <gtest/gtest.h>

#include "host/app/commands.h"
#include "host/pilot/pilot_turn.h"
#include "host/session/session.h"
#include "host/world/frames.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string WriteScenario(const std::string &name, const std::string &ships) {
    const std::string path = std::string(::testing::TempDir()) + name;
    std::ofstream(path) << "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61450.5\nEND_ENVIRONMENT\n"
                           "BEGIN_MFD Left\n  TYPE User\n  MODE Kavrex\n  KV_TARGET Earth\n  KV_SOURCE Moon\nEND_MFD\n"
                           "BEGIN_SHIPS\n" +
                               ships + "END_SHIPS\n";
    return path;
}

TEST(Ground, ACourierOnTheMoonReadsSoundlyAndLiftsOffWithItsDrive) {
    // On the lunar equator, nose up, on its legs.
    const std::string path = WriteScenario("moon-courier.scn",
                                           "Courier-1:Courier\n  STATUS Landed Moon\n  POS 0 0\n  ALT 3\n"
                                           "  AROT 0 -90 0\n  PRPLEVEL 0:1\nEND\n");
    kvhost::Session s;
    std::string error;
    ASSERT_TRUE(s.Start(path, KAVREX_PLUGIN_PATH, error)) << error;
    s.simulation().Run(2);
    s.RefreshDisplays();
    const kvhost::DisplayReading *r = s.LastReading(0);
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->readouts);
    // 3 m up, moving with the ground: 2 pi 1738 km a sidereal month, 4.63 m/s.
    EXPECT_NEAR(r->sourceDist, 3, 0.01);
    EXPECT_NEAR(r->sourceSpeed, 2 * kvhost::kPi * 1.738e6 / 2360588.15, 0.01);
    // Dropped from 3 m, the prediction meets the ground within metres of where the ship stands.
    EXPECT_GT(r->closestSource, -50);
    EXPECT_LT(r->closestSource, 3.01);

    kvhost::Vessel &v = s.world().vessel(0);
    ASSERT_EQ(v.status, kvhost::VesselStatus::Landed);
    v.api->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    s.simulation().Run(600);  // 10 s at 9.8 m/s^2 against the Moon's 1.62
    EXPECT_EQ(v.status, kvhost::VesselStatus::Flying);
    s.RefreshDisplays();
    r = s.LastReading(0);
    ASSERT_NE(r, nullptr);
    EXPECT_NEAR(r->sourceDist, 3 + (9.8 - 1.62) / 2 * 100, 30);
    EXPECT_NEAR(r->sourceSpeed, (9.8 - 1.62) * 10, 5);
}

TEST(Ground, AShipSavedInFlightAtRestOnTheTurningEarthComesToRest) {
    // A ship on Habana's first pad, as the simulator saves one that has not yet settled: in
    // flight, with the ground's own 427.7 m/s. From a first load of it landed there.
    const std::string landed = WriteScenario("habana.scn",
                                             "SH-01:ShuttleA\n  STATUS Landed Earth\n  BASE Habana:1\n"
                                             "  PRPLEVEL 0:0.5 1:0.5\nEND\n");
    VECTOR3 rpos, rvel;
    {
        kvhost::Session s;
        std::string error;
        ASSERT_TRUE(s.Start(landed, KAVREX_PLUGIN_PATH, error)) << error;
        const kvhost::World &w = s.world();
        const kvhost::Body &earth = w.body(w.FindBody("Earth"));
        rpos = w.vessel(0).pos - earth.pos;
        rvel = w.vessel(0).vel - earth.vel;
        EXPECT_NEAR(length(rvel), 427.65, 0.01);
    }
    char lines[512];
    std::snprintf(lines, sizeof lines,
                  "SH-01:ShuttleA\n  STATUS Orbiting Earth\n  RPOS %.3f %.3f %.3f\n  RVEL %.4f %.4f %.4f\n"
                  "  PRPLEVEL 0:0.5 1:0.5\nEND\n",
                  rpos.x, rpos.y, rpos.z, rvel.x, rvel.y, rvel.z);
    const std::string flying = WriteScenario("habana-flying.scn", lines);
    kvhost::Session s;
    std::string error;
    ASSERT_TRUE(s.Start(flying, KAVREX_PLUGIN_PATH, error)) << error;
    s.simulation().Run(600);
    const kvhost::Vessel &v = s.world().vessel(0);
    EXPECT_EQ(v.status, kvhost::VesselStatus::Landed);
    // Landed on the pad: it holds it, and the pad has filled its tanks.
    EXPECT_EQ(v.footing.pad, 0);
    for (const kvhost::Tank &t : v.tanks) EXPECT_EQ(t.mass, t.maxMass);
}

// The pilot from the ground: a Courier on the Moon, whose drive outweighs the Moon's pull six
// times, lifts off with the cockpit's prograde hold and the drive and ends in orbit around the
// Earth; one on the Earth, where the drive gives less than the pull, is refused with its reason.
TEST(Ground, ThePilotLiftsOffWhereTheEnginesOutweighThePull) {
    const std::string moon = WriteScenario("moon-lift.scn",
                                           "Courier-1:Courier\n  STATUS Landed Moon\n  POS -33.4375 41.1184\n"
                                           "  HEADING 90\n  PRPLEVEL 0:1\nEND\n");
    kvhost::CommandLine cl;
    cl.command = "run";
    cl.pilot = true;
    cl.plugin = KAVREX_PLUGIN_PATH;
    cl.scenario = moon;
    cl.out = std::string(::testing::TempDir()) + "kavrex-moon-lift";
    ASSERT_EQ(kvhost::RunFlight(cl), 0);
    std::stringstream json;
    json << std::ifstream(cl.out + "/summary.json").rdbuf();
    EXPECT_NE(json.str().find("\"in_orbit\": true"), std::string::npos) << json.str();
    std::stringstream saved;
    saved << std::ifstream(cl.out + "/final.scn").rdbuf();
    EXPECT_NE(saved.str().find("STATUS Orbiting Earth"), std::string::npos) << saved.str();

    const std::string earth = WriteScenario("earth-lift.scn",
                                            "Courier-1:Courier\n  STATUS Landed Earth\n  BASE Habana:1\n"
                                            "  PRPLEVEL 0:1\nEND\n");
    cl.scenario = earth;
    cl.out = std::string(::testing::TempDir()) + "kavrex-earth-lift";
    EXPECT_EQ(kvhost::RunFlight(cl), kvhost::kRefusedStatus);
    std::stringstream refused;
    refused << std::ifstream(cl.out + "/summary.json").rdbuf();
    EXPECT_NE(refused.str().find("is landed on Earth, whose pull (9.8"), std::string::npos) << refused.str();
}

}  // namespace
