// The built-in pilot: what it reads off a real display, and the decisions its rules make from
// what a display shows.
#include <gtest/gtest.h>

#include "host/app/commands.h"
#include "host/app/display_reading.h"
#include "host/app/pilot.h"
#include "host/app/session.h"
#include "host/gdi/recording_dc.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using kvhost::DisplayReading;
using kvhost::Pilot;
using kvhost::PilotAction;

TEST(DisplayReading, ReadsTheStripAndTheReadOutsOffARealDisplay) {
    kvhost::Session session;
    std::string error;
    ASSERT_TRUE(session.Start(KAVREX_SCENARIO_DIR "/mars-transfer.scn", KAVREX_PLUGIN_PATH, error)) << error;
    session.FlyToOneMoment(3);
    kvhost::RecordingDc dc(256, 256);
    kvhost::Slot(0).instance->Update(dc.hdc());
    DisplayReading r;
    ASSERT_TRUE(kvhost::ReadDisplay(dc.ops(), r));
    EXPECT_EQ(r.aim, "DIR");
    EXPECT_EQ(r.invert, "OFF");
    EXPECT_EQ(r.drive, "ON");
    EXPECT_TRUE(r.hold == "SEEK" || r.hold == "HOLD") << r.hold;
    EXPECT_NEAR(r.setGee, 9.8, 1e-9);
    ASSERT_TRUE(r.readouts);
    EXPECT_EQ(r.target, "Mars");
    EXPECT_EQ(r.source, "Earth");
    // As the world has it, to the display's two decimals of the ladder.
    const kvhost::World &w = session.world();
    const kvhost::Vessel &v = w.vessel(w.focus());
    const kvhost::Body &mars = w.body(w.FindBody("Mars")), &earth = w.body(w.FindBody("Earth"));
    EXPECT_NEAR(r.targetDist, length(v.pos - mars.pos) - mars.radius, 0.01e9);
    EXPECT_NEAR(r.sourceDist, length(v.pos - earth.pos) - earth.radius, 0.01e3);
    EXPECT_NEAR(r.targetSpeed, length(v.vel - mars.vel), 10);
    EXPECT_GT(r.etaMjd, w.Mjd());
    session.Stop();
}

TEST(DisplayReading, LadderNumbersAndABareStrip) {
    double v = 0;
    ASSERT_TRUE(kvhost::ReadLadderNumber("101.92G", v));
    EXPECT_DOUBLE_EQ(v, 101.92e9);
    ASSERT_TRUE(kvhost::ReadLadderNumber("-2.50k", v));
    EXPECT_DOUBLE_EQ(v, -2500);
    ASSERT_TRUE(kvhost::ReadLadderNumber("0.61AU", v));
    EXPECT_NEAR(v, 0.61 * 149598000000.0, 1);
    EXPECT_FALSE(kvhost::ReadLadderNumber("9.8x", v));
    DisplayReading r;
    EXPECT_FALSE(kvhost::ReadDisplay({}, r));   // nothing drawn: nothing to read
}

// A display as the pilot would read it, in the middle of a flight.
DisplayReading Shown(const char *hold, const char *aim, const char *inv, const char *drive, double dist, double speed) {
    DisplayReading r;
    r.strip = r.readouts = true;
    r.hold = hold, r.aim = aim, r.invert = inv, r.drive = drive;
    r.setGee = 9.8;
    r.target = "Mars", r.source = "Earth";
    r.targetDist = dist, r.targetSpeed = speed;
    r.sourceDist = 1e9;
    return r;
}

TEST(Pilot, HoldsBeforeItBurnsAndNeverBurnsWhileTurning) {
    Pilot p;
    EXPECT_EQ(p.Decide(Shown("OFF", "DIR", "OFF", "OFF", 1e11, 15e3), 100).key, 'H');
    PilotAction a = p.Decide(Shown("SEEK", "DIR", "OFF", "OFF", 1e11, 15e3), 100);
    EXPECT_EQ(a.key, 0);        // waits for HOLD...
    EXPECT_EQ(a.warp, 10);      // ...at a warp where the hold settles
    a = p.Decide(Shown("HOLD", "DIR", "OFF", "OFF", 1e11, 15e3), 10);
    EXPECT_EQ(a.key, 'E');
    EXPECT_TRUE(a.departed);
    // Clear of the source: cancel the relative velocity. First the engines are cut (abort), then
    // the hold comes back, then the aim and the inversion change, then the drive goes on.
    DisplayReading clear = Shown("HOLD", "DIR", "OFF", "ON", 1e11, 40e3);
    clear.sourceDist = 2e8;
    EXPECT_EQ(p.Decide(clear, 100).key, 'A');
    EXPECT_EQ(p.Decide(Shown("OFF", "DIR", "OFF", "OFF", 1e11, 40e3), 100).key, 'H');
    EXPECT_EQ(p.Decide(Shown("SEEK", "DIR", "OFF", "OFF", 1e11, 40e3), 100).key, 'D');
    EXPECT_EQ(p.Decide(Shown("SEEK", "PRO", "OFF", "OFF", 1e11, 40e3), 100).key, 'V');
    EXPECT_EQ(p.Decide(Shown("SEEK", "PRO", "INV", "OFF", 1e11, 40e3), 100).key, 0);
    EXPECT_EQ(p.Decide(Shown("HOLD", "PRO", "INV", "OFF", 1e11, 40e3), 100).key, 'E');
}

TEST(Pilot, FlipsAtTheHalfWayPointEarlyByTheTurnAndStopsNearTheTarget) {
    Pilot p;
    p.Decide(Shown("HOLD", "DIR", "OFF", "OFF", 1e11, 15e3), 10);   // drive on: the climb
    DisplayReading clear = Shown("HOLD", "DIR", "OFF", "ON", 1e11, 40e3);
    clear.sourceDist = 2e8;
    p.Decide(clear, 100);                                             // cancel
    // Stopped relative to Mars 1e11 m out: a leg begins.
    PilotAction a = p.Decide(Shown("HOLD", "PRO", "INV", "ON", 1e11, 8), 1);
    EXPECT_EQ(p.legs(), 1);
    EXPECT_EQ(a.key, 'A');
    // Half-way, with the stand-off, is (1e11 + 1e7) / 2; at 500 km/s the turn coasts 1.5e8 m.
    const double halfWay = (1e11 + Pilot::kStandOff) / 2 + 500e3 * Pilot::kTurnTime;
    a = p.Decide(Shown("HOLD", "DIR", "OFF", "ON", halfWay + 1e6, 500e3), 100);
    EXPECT_FALSE(a.flip);
    a = p.Decide(Shown("HOLD", "DIR", "OFF", "ON", halfWay - 1e6, 500e3), 100);
    EXPECT_TRUE(a.flip);
    EXPECT_EQ(a.key, 'A');
    // Braked to rest 12,000 km above Mars: close enough, the flight ends with an abort.
    a = p.Decide(Shown("HOLD", "PRO", "INV", "ON", 12e6, 6), 1);
    EXPECT_TRUE(a.arrived);
    EXPECT_EQ(a.key, 'A');
    EXPECT_TRUE(p.done());
    EXPECT_EQ(p.Decide(Shown("OFF", "PRO", "INV", "OFF", 12e6, 6), 1).key, 0);
}

TEST(Pilot, StoppedShortFliesAnotherLeg) {
    Pilot p;
    p.Decide(Shown("HOLD", "DIR", "OFF", "OFF", 1e11, 15e3), 10);
    DisplayReading clear = Shown("HOLD", "DIR", "OFF", "ON", 1e11, 40e3);
    clear.sourceDist = 2e8;
    p.Decide(clear, 100);
    p.Decide(Shown("HOLD", "PRO", "INV", "ON", 1e11, 8), 1);                   // leg 1
    p.Decide(Shown("HOLD", "DIR", "OFF", "ON", 1e10, 900e3), 100);             // flip
    const PilotAction a = p.Decide(Shown("HOLD", "PRO", "INV", "ON", 4e8, 7), 1);   // short
    EXPECT_FALSE(a.arrived);
    EXPECT_EQ(p.legs(), 2);
}

}  // namespace

namespace {

std::string ReadAll(const std::string &path) {
    FILE *f = std::fopen(path.c_str(), "rb");
    std::string s;
    if (!f) return s;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
    std::fclose(f);
    return s;
}

double JsonNumber(const std::string &json, const std::string &key) {
    const size_t at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? -1 : std::atof(json.c_str() + at + key.size() + 4);
}

// The main job, flown through the real plug-in as kavrex-sim flies it: the pilot brings the
// Courier from low Earth orbit to rest near Mars, by the display alone.
TEST(MainJob, TheDefaultTransferArrivesAtRestNearMars) {
    kvhost::CommandLine cl;
    cl.command = "run";
    cl.pilot = true;
    cl.plugin = KAVREX_PLUGIN_PATH;
    cl.scenario = KAVREX_SCENARIO_DIR "/earth-mars.scn";
    cl.out = std::string(::testing::TempDir()) + "kavrex-main-job";
    ASSERT_EQ(kvhost::RunFlight(cl), 0);
    EXPECT_NE(ReadAll(cl.out + "/summary.json").find("\"predictions\": "), std::string::npos);
    const std::string json = ReadAll(cl.out + "/summary.json");
    EXPECT_NE(json.find("\"arrived\": true"), std::string::npos) << json;
    EXPECT_LE(JsonNumber(json, "rest_speed_ms"), 50) << json;
    EXPECT_LE(JsonNumber(json, "rest_from_centre_km"), 20000) << json;
    EXPECT_GT(JsonNumber(json, "closest_above_surface_km"), 0) << json;
    std::printf("[ measured ] %.1f h (brachistochrone %.1f h), at rest %.0f km from Mars's centre at %.1f m/s\n",
                JsonNumber(json, "flight_time_h"), JsonNumber(json, "brachistochrone_h"),
                JsonNumber(json, "rest_from_centre_km"), JsonNumber(json, "rest_speed_ms"));
    // What it leaves: a scenario that resumes, a log, the pictures.
    kvhost::Session resumed;
    std::string error;
    EXPECT_TRUE(resumed.Start(cl.out + "/final.scn", KAVREX_PLUGIN_PATH, error)) << error;
    for (const char *file : {"/flight.csv", "/flight.png", "/flight.svg", "/display-departure.png",
                             "/display-flip-1.png", "/display-arrival.png", "/display-end.png"})
        EXPECT_GT(ReadAll(cl.out + file).size(), 1000u) << file;
}

// The same transfer on a slower machine and on one whose frame rate varies: the pilot reads the
// display as it refreshes, however often that is, and still arrives.
TEST(MainJob, ArrivesAtThirtyFramesASecondAndAtAVaryingRate) {
#ifdef KAVREX_SANITIZED
    GTEST_SKIP() << "two more whole transfers take ten minutes under the sanitizers; the main job above "
                    "flies the same code there, and these run in the optimised build";
#endif
    for (double top : {30.0, 60.0}) {
        kvhost::CommandLine cl;
        cl.command = "run";
        cl.pilot = true;
        cl.plugin = KAVREX_PLUGIN_PATH;
        cl.scenario = KAVREX_SCENARIO_DIR "/earth-mars.scn";
        cl.fps = 30;
        cl.fpsMax = top;
        cl.seed = 3;
        cl.out = std::string(::testing::TempDir()) + "kavrex-main-job-" + std::to_string(static_cast<int>(top));
        ASSERT_EQ(kvhost::RunFlight(cl), 0);
        const std::string json = ReadAll(cl.out + "/summary.json");
        EXPECT_NE(json.find("\"arrived\": true"), std::string::npos) << json;
        EXPECT_LE(JsonNumber(json, "rest_speed_ms"), 50) << json;
    }
}

}  // namespace
