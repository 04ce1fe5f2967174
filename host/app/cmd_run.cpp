// cmd_run.cpp: "kavrex-sim run": flies a scenario and writes what a pilot wants to look at
// afterwards: the scenario as saved at the end (to resume the flight), the flight log, the
// displays as they were at the flight's moments, the flown path, and a summary. With --pilot
// the built-in pilot flies, reading only what the display shows.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../cockpit/key_codes.h"
#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../scenario/scenario_write.h"
#include "flight_picture.h"
#include "flight_record.h"
#include "flight_summary.h"
#include "pilot.h"
#include "session.h"
#include "timeline.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace kvhost {

namespace {

constexpr double kMaxPilotedDays = 30;   // a piloted flight that has not arrived by then stops
constexpr double kCoastAfterArrival = 10;   // s flown after the pilot's abort, for the last pictures

// The display's picture as it was last refreshed, under `name` in the output folder.
bool SaveDisplayPicture(const Session &session, int slot, const std::string &path, std::string &error) {
    const RecordingDc *last = session.LastRefresh(slot);
    if (!last) return true;
    auto replay = [last](HDC hdc) { last->ReplayOn(*DeviceContext::FromHdc(hdc)); };
    return WritePicture(path, last->width(), last->height(), ButtonLabels(slot), kDefaultPictureScale, replay, error);
}

// The ship's positions from the plug-in's description of its prediction (ship_x, ship_y, ship_z).
std::vector<VECTOR3> PredictedPath(const std::string &csv) {
    std::vector<VECTOR3> path;
    size_t at = 0;
    while (at < csv.size()) {
        const size_t end = csv.find('\n', at);
        const std::string line = csv.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? csv.size() : end + 1;
        if (line.empty() || line[0] == '#' || line[0] == 'm') continue;   // header lines
        VECTOR3 p;
        double mjd;
        if (std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &mjd, &p.x, &p.y, &p.z) == 4) path.push_back(p);
    }
    return path;
}

// One progress line: rewritten in place on a terminal, a plain line every tenth otherwise.
class Progress {
public:
    Progress() : terminal_(isatty(2)) {}
    void Show(double fraction, double mjd, double simt, double wall) {
        const int percent = static_cast<int>(std::min(1.0, std::max(0.0, fraction)) * 100);
        const double speedUp = wall > 0 ? simt / wall : 0;
        if (terminal_) {
            std::fprintf(stderr, "\rkavrex-sim: MJD %.4f  %3d%%  %.0fx real time ", mjd, percent, speedUp);
        } else if (percent >= next_) {
            std::fprintf(stderr, "kavrex-sim: MJD %.4f  %3d%%  %.0fx real time\n", mjd, percent, speedUp);
            next_ = percent / 10 * 10 + 10;
        }
    }
    void Done() {
        if (terminal_) std::fprintf(stderr, "\n");
    }

private:
    bool terminal_;
    int next_ = 0;
};

// Flies the scenario the session has started and writes its outputs to `out`.
int FlyScenario(const CommandLine &cl, Session &session, const std::string &out) {
    const auto wallStart = std::chrono::steady_clock::now();
    std::string error;
    std::vector<TimelineEvent> timeline;
    if (!ParseTimeline(session.scenario(), timeline, error)) return Fail(error);
    if (!MakeFolders(out, error)) return Fail(error);
    const std::vector<int> open = OpenDisplaysOrKavrex(session);
    if (open.empty()) return 1;
    const int slot = open.front();   // the display the pilot flies by

    Simulation &sim = session.simulation();
    sim.frameLength = 1.0 / cl.fps;
    sim.SetTimeAcceleration(cl.warp);
    World &world = session.world();
    FlightRecord record;
    FlightTally tally;
    DisplayReading reading;
    Pilot pilot;
    double doneAt = -1;
    std::vector<std::string> pictures;
    auto picture = [&](const std::string &name) {
        const std::string path = out + "/display-" + name + ".png";
        if (!SaveDisplayPicture(session, slot, path, error)) return false;
        pictures.push_back(path);
        return true;
    };
    bool pictureFailed = false;

    sim.refresh = [&] {
        session.RefreshDisplays();
        FollowRefresh(session.LastRefresh(slot), reading);
        if (!cl.pilot || pilot.done()) return;
        const PilotAction a = pilot.Decide(reading, sim.timeAcceleration());
        if (a.departed) {
            tally.Depart(world, reading);
            pictureFailed |= !picture("departure");
        }
        if (a.flip) pictureFailed |= !picture("flip-" + std::to_string(pilot.flips()));
        if (a.arrived) {
            tally.Arrive(world);
            pictureFailed |= !picture("arrival");
            doneAt = sim.simt();
        }
        if (a.legBurn && record.prediction().empty())
            record.SetPrediction(PredictedPath(PredictionText(session)), world.Mjd());
        if (a.key) PressKey(slot, KeyCodeForLetter(a.key));
        if (a.warp > 0) sim.SetTimeAcceleration(a.warp);
        if (!a.what.empty()) record.Sample(world, sim.simt(), reading, a.what);
    };

    record.Sample(world, sim.simt(), reading, cl.pilot ? "start" : "");
    Progress progress;
    const double maxSimt = kMaxPilotedDays * 86400;
    double nextLog = cl.logEvery;
    size_t next = 0;
    long frame = 0;
    for (;;) {
        if (cl.stepsGiven || !cl.pilot) {
            if (frame >= cl.steps) break;
        } else if ((doneAt >= 0 && sim.simt() >= doneAt + kCoastAfterArrival) || sim.simt() >= maxSimt) {
            break;
        }
        // A piloted flight ends with its vessel: a crash leaves nothing to fly.
        if (cl.pilot && world.focus() >= 0 && world.vessel(world.focus()).status == VesselStatus::Crashed) break;
        while (next < timeline.size() && timeline[next].time <= sim.simt()) Apply(timeline[next++], sim);
        sim.Frame();
        ++frame;
        tally.Frame(world, reading);
        if (sim.simt() >= nextLog) {
            record.Sample(world, sim.simt(), reading, "");
            while (nextLog <= sim.simt()) nextLog += cl.logEvery;
            const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            const double fraction = cl.pilot ? tally.Progress(reading) : static_cast<double>(frame) / std::max(1L, cl.steps);
            progress.Show(fraction, world.Mjd(), sim.simt(), wall);
        }
    }
    progress.Done();
    if (pictureFailed) return Fail(error);
    record.Sample(world, sim.simt(), reading, cl.pilot ? "end" : "");
    if (!picture("end")) return Fail(error);

    const std::string scn = out + "/final.scn", csv = out + "/flight.csv";
    if (!session.Save(scn, error) || !WriteTextFile(csv, record.Csv(), error)) return Fail(error);
    for (const char *ext : {".png", ".svg"})
        if (!WriteFlightPicture(out + "/flight" + ext, record, error)) return Fail(error);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const FlightSummary summary = tally.Summarise(world, record, pilot, sim.simt(), wall, cl.pilot);
    if (!WriteTextFile(out + "/summary.json", SummaryJson(summary), error)) return Fail(error);
    std::printf("%s", SummaryText(summary).c_str());
    for (const SavedDisplay &d : SaveOpenDisplays()) {
        std::printf("  display %d (%s):", d.slot, d.mode.c_str());
        for (const std::string &line : d.lines) std::printf(" %s;", line.c_str());
        std::printf("\n");
    }
    std::printf("wrote %s, %s, %s/summary.json, %s/flight.png and .svg\n", scn.c_str(), csv.c_str(), out.c_str(),
                out.c_str());
    for (const std::string &p : pictures) std::printf("wrote %s\n", p.c_str());
    return 0;
}

// The output folder of each of several scenarios: its own under --out, and never one twice.
std::string FolderFor(const CommandLine &cl, const Session &session, size_t count, std::vector<std::string> &used) {
    CommandLine one = cl;
    one.out.clear();
    std::string dir = OutputFolder(one, session);
    if (count > 1 && !cl.out.empty()) dir = cl.out + dir.substr(dir.find('/'));
    const std::string base = dir;
    for (int n = 2; std::find(used.begin(), used.end(), dir) != used.end(); ++n) dir = base + "-" + std::to_string(n);
    used.push_back(dir);
    return count > 1 ? dir : OutputFolder(cl, session);
}

}  // namespace

int RunFlight(const CommandLine &cl) {
    std::vector<std::string> scenarios{cl.scenario};
    scenarios.insert(scenarios.end(), cl.moreScenarios.begin(), cl.moreScenarios.end());
    // One load of the plug-in for all of them: the simulator's way, which a module must survive.
    Plugin plugin;
    std::vector<std::string> folders;
    for (size_t i = 0; i < scenarios.size(); ++i) {
        CommandLine one = cl;
        one.scenario = scenarios[i];
        Session session;
        session.UsePlugin(plugin);
        if (scenarios.size() > 1)
            std::fprintf(stderr, "kavrex-sim: scenario %zu of %zu: %s\n", i + 1, scenarios.size(),
                         scenarios[i].empty() ? "(the default)" : scenarios[i].c_str());
        if (!StartSession(session, one)) return 1;
        const int status = FlyScenario(one, session, FolderFor(cl, session, scenarios.size(), folders));
        if (status != 0) return status;
    }
    return 0;
}

}  // namespace kvhost
