// What the program writes: flight-log rows that stay one row whatever a name holds, folders made
// as needed, and saved scenarios that load back and save again to the same text.
#include <gtest/gtest.h>

#include "host/app/commands.h"
#include "host/record/flight_picture.h"
#include "host/record/flight_summary.h"
#include "host/world/frames.h"
#include "host/world/vessel_classes.h"
#include "host/record/flight_record.h"
#include "host/session/session.h"
#include "host/scenario/scenario.h"
#include "host/world/scenes.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(FlightLog, EachSampleIsOneRowOfTheHeadersFieldsWhateverTheNames) {
    kvhost::World world;
    scenes::LowEarthOrbit(world);
    const std::string name = "Courier, \"the long one\" " + std::string(500, 'x');
    world.vessel(0).name = name;
    kvhost::DisplayReading shown;
    shown.source = "Earth";
    shown.target = "Mars";
    kvhost::FlightRecord record;
    record.Sample(world, 12.5, shown, "hold on, then \"engage\"");
    const std::string csv = record.Csv();
    const std::string header = kvhost::FlightRecord::CsvHeader(), row = csv.substr(header.size());
    ASSERT_EQ(csv.compare(0, header.size(), header), 0);
    ASSERT_EQ(row.back(), '\n');
    EXPECT_EQ(row.find('\n'), row.size() - 1);  // one row
    EXPECT_NE(row.find("\"Courier, \"\"the long one\"\" " + std::string(500, 'x') + "\""), std::string::npos) << row;
    EXPECT_NE(row.find(",\"hold on, then \"\"engage\"\"\"\n"), std::string::npos) << row;
    // Outside the quotes the row has as many commas as the header.
    auto commas = [](const std::string &text) {
        int n = 0;
        bool quoted = false;
        for (char c : text) {
            if (c == '"') quoted = !quoted;
            n += !quoted && c == ',';
        }
        return n;
    };
    EXPECT_EQ(commas(row), commas(header));
    EXPECT_EQ(kvhost::CsvField("Plain-1"), "Plain-1");
}

// A flight that stays near its source is drawn about it; one that leaves it, about the Sun.
TEST(FlightPicture, IsDrawnAboutTheBodyTheFlightStaysNear) {
    kvhost::World world(61450.5);
    kvhost::World::BuildSolarSystem(world);
    const int earth = world.FindBody("Earth");
    scenes::AddShipInOrbit(world, "Courier-1", earth, 400e3);
    kvhost::DisplayReading shown;
    shown.source = "Earth";
    shown.target = "Moon";
    kvhost::FlightRecord nearby;
    for (int h = 0; h <= 24; h += 6) {
        world.SetMjd(61450.5 + h / 24.0);
        world.vessel(0).pos = world.body(earth).pos + _V(7e6 + h * 1e7, 0, 0);
        nearby.Sample(world, h * 3600.0, shown, "");
    }
    EXPECT_EQ(kvhost::FlightPictureCentre(nearby), "Earth");
    shown.target = "Mars";
    kvhost::FlightRecord away;
    for (int d = 0; d <= 3; ++d) {
        world.SetMjd(61450.5 + d);
        world.vessel(0).pos = world.body(earth).pos + _V(d * 4e10, 0, 0);
        away.Sample(world, d * 86400.0, shown, "");
    }
    EXPECT_EQ(kvhost::FlightPictureCentre(away), "Sun");
    std::string error;
    const std::string path = ::testing::TempDir() + "kavrex-nearby.png";
    EXPECT_TRUE(kvhost::WriteFlightPicture(path, nearby, error)) << error;
    std::remove(path.c_str());
}

// The picture's labels never cover one another, however many come at one place (the actions at
// the target pile up there), and stay inside the picture; the legend wraps an action's text at
// word ends and loses none of it.
TEST(FlightPicture, LabelsDoNotOverlapAndTheLegendKeepsEveryWord) {
    kvhost::LabelPlacer placer(900, 900);
    struct Box {
        double x, y, w;
    };
    std::vector<Box> boxes;
    for (int i = 0; i < 20; ++i) {
        const double w = 40 + 10 * (i % 5);
        double x, y;
        placer.Place(880, 20, w, x, y);  // in a corner: room only on one side
        boxes.push_back({x, y, w});
        EXPECT_GE(x, 2);
        EXPECT_LE(x + w, 898);
        EXPECT_GE(y - kvhost::LabelPlacer::kLabelHeight, 0);
    }
    for (size_t a = 0; a < boxes.size(); ++a)
        for (size_t b = a + 1; b < boxes.size(); ++b) {
            const bool apart = boxes[a].x + boxes[a].w <= boxes[b].x || boxes[b].x + boxes[b].w <= boxes[a].x ||
                               std::fabs(boxes[a].y - boxes[b].y) >= kvhost::LabelPlacer::kLabelHeight;
            EXPECT_TRUE(apart) << "labels " << a << " and " << b << " overlap";
        }
    const std::string action = "clear of Earth: cancel 46540 m/s relative to Mars; abort to turn: engines cut";
    const std::vector<std::string> lines = kvhost::LegendLines(5, 61450.5616, action);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind(" 5 MJD 61450.5616 clear of Earth:", 0), 0u) << lines[0];
    std::string words;
    for (const std::string &l : lines) {
        EXPECT_LE(l.size(), std::string(" 5 MJD 61450.5616 ").size() + 32) << l;
        words += (words.empty() ? "" : " ") + l.substr(l.find_first_not_of(' ', 18) == std::string::npos ? 18 : 18);
    }
    EXPECT_EQ(words, action);
}

// "In orbit" only where the orbit stays and the simulator would save it so: about Rhea, within the
// 6,000 km where its pull holds a ship against Saturn's, and close enough (under 340 km up) that
// Rhea, not Saturn, pulls hardest and is the gravity reference the save writes.
TEST(FinalOrbit, ClaimedOnlyWhereTheMoonHoldsTheShipAndIsItsReference) {
    kvhost::World w(61450.5);
    kvhost::World::BuildSolarSystem(w);
    const int rhea = w.FindBody("Rhea");
    EXPECT_NEAR(kvhost::HoldingRadius(w, rhea), 6.0e6, 0.2e6);
    const struct {
        double height;
        const char *why;
    } cases[] = {{200e3, ""},
                 {1500e3, "its gravity reference is Saturn, not Rhea"},
                 {10300e3, "within which Rhea holds a ship against Saturn's pull: it would not stay"}};
    for (const auto &c : cases) {
        kvhost::World world(61450.5);
        kvhost::World::BuildSolarSystem(world);
        const kvhost::Body &r = world.body(rhea);
        const double d = r.radius + c.height, speed = std::sqrt(kvhost::kG * r.mass / d);
        kvhost::VesselClass cls;
        ASSERT_TRUE(kvhost::FindVesselClass("Courier", cls));
        kvhost::Vessel v = kvhost::MakeVessel("Courier-1", cls);
        v.pos = r.pos + _V(d, 0, 0);
        v.vel = r.vel + _V(0, 0, speed);
        world.AddVessel(std::move(v));
        const kvhost::FinalOrbit f = kvhost::FinalOrbitAbout(world, world.vessel(0), rhea);
        EXPECT_EQ(f.inOrbit, *c.why == 0) << c.height << ": " << f.why;
        EXPECT_NE(f.why.find(c.why), std::string::npos) << f.why;
    }
}

TEST(Outputs, FoldersAreMadeAsNeeded) {
    const std::string base = std::string(::testing::TempDir()) + "kavrex-folders";
    std::string error;
    ASSERT_TRUE(kvhost::MakeFolders(base + "/a/b/c", error)) << error;
    struct stat st;
    EXPECT_EQ(stat((base + "/a/b/c").c_str(), &st), 0);
    EXPECT_TRUE(kvhost::MakeFolders(base + "/a/b/c", error)) << error;  // already there: fine
    std::ofstream(base + "/file").put('x');
    EXPECT_FALSE(kvhost::MakeFolders(base + "/file/d", error));
    EXPECT_NE(error.find("is a file"), std::string::npos) << error;
}

// Save, load, save: the same text, for every shipped scenario after some flying, and a display
// block of a type the host does not draw is kept.
TEST(Outputs, SavedScenariosLoadAndSaveAgainToTheSameText) {
    const std::string dir = std::string(::testing::TempDir());
    for (const char *name : {"default.scn", "lunar-orbit.scn", "mars-transfer.scn"}) {
        SCOPED_TRACE(name);
        std::string first, error;
        {
            kvhost::Session s;
            ASSERT_TRUE(s.Start(std::string(KAVREX_SCENARIO_DIR) + "/" + name, KAVREX_PLUGIN_PATH, error)) << error;
            s.simulation().SetTimeAcceleration(100);
            s.simulation().Run(300);
            ASSERT_TRUE(s.Save(dir + "first.scn", error)) << error;
        }
        {
            kvhost::Session s;
            ASSERT_TRUE(s.Start(dir + "first.scn", KAVREX_PLUGIN_PATH, error)) << error;
            ASSERT_TRUE(s.Save(dir + "second.scn", error)) << error;
        }
        EXPECT_EQ(ReadFile(dir + "first.scn"), ReadFile(dir + "second.scn"));
    }

    std::string text = ReadFile(std::string(KAVREX_SCENARIO_DIR) + "/mars-transfer.scn");
    text.insert(text.find("BEGIN_SHIPS"), "BEGIN_MFD Right\n  TYPE Orbit\n  PROJ Ship\n  REF Earth\nEND_MFD\n\n");
    std::ofstream(dir + "orbit.scn") << text;
    kvhost::Session s;
    std::string error;
    ASSERT_TRUE(s.Start(dir + "orbit.scn", KAVREX_PLUGIN_PATH, error)) << error;
    ASSERT_TRUE(s.Save(dir + "orbit-saved.scn", error)) << error;
    EXPECT_NE(
        ReadFile(dir + "orbit-saved.scn").find("BEGIN_MFD Right\n  TYPE Orbit\n  PROJ Ship\n  REF Earth\nEND_MFD\n"),
        std::string::npos)
        << ReadFile(dir + "orbit-saved.scn");
}

// A ship that crosses out of the Earth's pull into the Sun's between two choices of its gravity
// reference (every 100 s) is saved relative to the body pulling hardest when it is saved, so that
// the next load reads what was saved; and engine levels are saved exactly, however small.
TEST(Outputs, TheSaveTakesTheReferenceOfItsMomentAndLevelsExactly) {
    const double mjd = 61450.5;
    kvhost::World sky(mjd);
    kvhost::World::BuildSolarSystem(sky);
    const int earthIndex = sky.FindBody("Earth");
    const kvhost::Body &earth = sky.body(earthIndex);
    const VECTOR3 out = _V(0, 1, 0);     // towards ecliptic north, where the Sun's pull stays about the same
    double inside = 1e8, outside = 1e9;  // m from the Earth: its pull the larger, and the smaller
    for (int i = 0; i < 60; ++i) {
        const double mid = (inside + outside) / 2;
        (sky.GravityRef(earth.pos + out * mid) == earthIndex ? inside : outside) = mid;
    }
    const VECTOR3 rpos = out * (inside - 300e3), rvel = out * 10e3;  // 300 km inside, 10 km/s outwards
    char ship[512];
    std::snprintf(
        ship, sizeof ship,
        "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD %.1f\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship C\nEND_FOCUS\n"
        "BEGIN_SHIPS\nC:Courier\n  STATUS Orbiting Earth\n  RPOS %.3f %.3f %.3f\n  RVEL %.6f %.6f %.6f\n"
        "  THLEVEL 2:1e-07\nEND\nEND_SHIPS\n",
        mjd, rpos.x, rpos.y, rpos.z, rvel.x, rvel.y, rvel.z);
    const std::string dir = std::string(::testing::TempDir());
    std::ofstream(dir + "crossing.scn") << ship;
    std::string error;
    {
        kvhost::Session s;
        ASSERT_TRUE(s.Start(dir + "crossing.scn", KAVREX_PLUGIN_PATH, error)) << error;
        ASSERT_EQ(s.world().vessel(0).gravityRef, earthIndex) << "the Earth pulls harder at the start";
        while (s.simulation().simt() < 60) s.simulation().Frame();  // 300 km beyond, within 100 s
        ASSERT_TRUE(s.Save(dir + "crossed.scn", error)) << error;
    }
    const std::string saved = ReadFile(dir + "crossed.scn");
    EXPECT_NE(saved.find("STATUS Orbiting Sun"), std::string::npos) << saved;
    EXPECT_NE(saved.find("THLEVEL 2:1e-07"), std::string::npos) << saved;
    {
        kvhost::Session s;
        ASSERT_TRUE(s.Start(dir + "crossed.scn", KAVREX_PLUGIN_PATH, error)) << error;
        ASSERT_TRUE(s.Save(dir + "crossed-again.scn", error)) << error;
    }
    EXPECT_EQ(ReadFile(dir + "crossed-again.scn"), saved);
}

}  // namespace
