// cmd_run.cpp: "kavrex-sim run": flies a scenario and writes what a pilot wants to look at
// afterwards: the scenario as saved at the end (to resume the flight), the flight log, the
// displays as they were at the flight's moments, the flown path, and a summary. With --pilot
// the built-in pilot flies, reading only what the display shows.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../cockpit/key_codes.h"
#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../cockpit/saved_displays.h"
#include "../scenario/scenario_write.h"
#include "flight_picture.h"
#include "flight_record.h"
#include "flight_summary.h"
#include "pilot.h"
#include "pilot_refusal.h"
#include "session.h"
#include "timeline.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace kvhost {

namespace {

constexpr double kMaxPilotedDays = 30;   // a piloted flight that has not arrived by then stops
constexpr double kCoastAfterArrival = 10;   // s flown after the pilot's abort, for the last pictures
constexpr double kDefaultFlight = 60;       // s: a run with neither --pilot nor --steps flies a minute
constexpr int kRefusedStatus = 3;           // exit status when the pilot will not fly the transfer

// Set by SIGINT or SIGTERM: the flight stops at the next frame and writes what it has.
volatile std::sig_atomic_t g_stopSignal = 0;
void StopFlight(int signal) { g_stopSignal = signal; }

// Ctrl+C and kill end a run as its end does, with every output written; the handlers are the
// run's alone and go with it.
class StopOnSignal {
public:
    StopOnSignal() {
        g_stopSignal = 0;
        struct sigaction sa = {};
        sa.sa_handler = StopFlight;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &oldInt_);
        sigaction(SIGTERM, &sa, &oldTerm_);
    }
    ~StopOnSignal() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }

private:
    struct sigaction oldInt_, oldTerm_;
};

// The display's picture as it was last refreshed, at `path`; false with the cause when it cannot
// be written, and `written` false when the display has not refreshed yet.
bool SaveDisplayPicture(const Session &session, int slot, const std::string &path, bool &written, std::string &error) {
    written = false;
    const RecordingDc *last = session.LastRefresh(slot);
    if (!last) return true;
    written = true;
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
    sim.SetTimeAcceleration(cl.warp);
    World &world = session.world();
    FlightRecord record;
    FlightTally tally;
    DisplayReading reading;
    Pilot pilot;
    double doneAt = -1;
    std::vector<std::string> written;   // every file written, in order
    std::vector<std::string> failures;  // and every one that could not be
    auto picture = [&](const std::string &name) {
        const std::string path = out + "/display-" + name + ".png";
        bool made = false;
        if (!SaveDisplayPicture(session, slot, path, made, error)) failures.push_back(error);
        else if (made) written.push_back(path);
        return made;
    };

    std::string refusal;   // why the pilot will not fly this transfer, once it has looked
    bool looked = false;
    session.onRefresh = [&](const std::vector<int> &due) {
        if (std::find(due.begin(), due.end(), slot) == due.end()) return;
        FollowRefresh(session.LastRefresh(slot), reading);
        if (!cl.pilot || pilot.done() || !refusal.empty()) return;
        if (!looked && reading.readouts) {
            looked = true;
            refusal = WhyNoTransfer(world, reading, kMaxPilotedDays);
            if (!refusal.empty()) {
                std::fprintf(stderr, "kavrex-sim: the pilot will not fly this transfer: %s\n", refusal.c_str());
                return;
            }
        }
        const PilotAction a = pilot.Decide(reading, sim.timeAcceleration());
        if (a.departed) {
            tally.Depart(world, reading);
            picture("departure");
        }
        if (a.flip) picture("flip-" + std::to_string(pilot.flips()));
        if (a.arrived) {
            tally.Arrive(world);
            picture("arrival");
            doneAt = sim.simt();
        }
        if (a.legBurn && record.prediction().empty())
            record.SetPrediction(PredictedPath(PredictionText(session)), world.Mjd());
        if (a.key) PressKey(slot, KeyCodeForLetter(a.key));
        if (a.warp > 0) sim.SetTimeAcceleration(a.warp);
        if (!a.what.empty()) record.Sample(world, sim.simt(), reading, a.what);
    };

    // Neither a pilot nor a number of frames: a simulated minute, said so.
    const bool oneMinute = !cl.pilot && !cl.stepsGiven;
    if (oneMinute)
        std::fprintf(stderr, "kavrex-sim: no --pilot and no --steps: flying one simulated minute (%.0f frames at x%g)\n",
                     std::ceil(kDefaultFlight / (sim.frameLength() * sim.timeAcceleration())), sim.timeAcceleration());
    record.Sample(world, sim.simt(), reading, cl.pilot ? "start" : "");
    Progress progress;
    const double maxSimt = kMaxPilotedDays * 86400;
    double nextLog = cl.logEvery;
    size_t next = 0;
    long frame = 0;
    for (;;) {
        if (g_stopSignal) {
            tally.Interrupted();
            break;
        }
        if (!refusal.empty()) break;
        if (oneMinute) {
            if (sim.simt() >= kDefaultFlight) break;
        } else if (cl.stepsGiven || !cl.pilot) {
            if (frame >= cl.steps) break;
        } else if ((doneAt >= 0 && sim.simt() >= doneAt + kCoastAfterArrival) || sim.simt() >= maxSimt) {
            break;
        }
        // A piloted flight ends with its vessel: a crash leaves nothing to fly.
        if (cl.pilot && world.focus() >= 0 && world.vessel(world.focus()).status == VesselStatus::Crashed) break;
        while (next < timeline.size() && timeline[next].time <= sim.simt()) {
            if (!Apply(timeline[next], session, error))
                return Fail(session.scenario().path + ":" + std::to_string(timeline[next].line) + ": " + error);
            ++next;
        }
        sim.Frame();
        ++frame;
        tally.Frame(world, reading);
        if (sim.simt() >= nextLog) {
            record.Sample(world, sim.simt(), reading, "");
            while (nextLog <= sim.simt()) nextLog += cl.logEvery;
            const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            const double fraction = cl.pilot ? tally.Progress(reading)
                                  : oneMinute ? sim.simt() / kDefaultFlight
                                              : static_cast<double>(frame) / std::max(1L, cl.steps);
            progress.Show(fraction, world.Mjd(), sim.simt(), wall);
        }
    }
    progress.Done();
    if (g_stopSignal)
        std::fprintf(stderr, "kavrex-sim: interrupted at MJD %.6f after %ld frames; writing what the flight has\n",
                     world.Mjd(), frame);
    record.Sample(world, sim.simt(), reading, cl.pilot ? "end" : "");
    if (!picture("end") && failures.empty())
        std::fprintf(stderr, "kavrex-sim: no picture of the display at the end: it has not refreshed yet (%ld frames)\n",
                     frame);

    // Every output is tried, so that one that fails costs no other.
    auto save = [&](const std::string &path, bool ok) {
        if (ok) written.push_back(path);
        else failures.push_back(error);
    };
    const std::string scn = out + "/final.scn", csv = out + "/flight.csv";
    save(scn, session.Save(scn, error));
    save(csv, WriteTextFile(csv, record.Csv(), error));
    for (const char *ext : {".png", ".svg"}) save(out + "/flight" + ext, WriteFlightPicture(out + "/flight" + ext, record, error));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    FlightSummary summary = tally.Summarise(world, record, pilot, sim.simt(), wall, cl.pilot);
    summary.refused = refusal;
    summary.frames = sim.frames();
    summary.predictions = session.Predictions();
    for (int s = 0; s < kDisplaySlots; ++s)
        if (session.Refreshes(s) > 0) summary.refreshes.push_back({s, session.Refreshes(s)});
    int replaced = 0;
    const std::string json = SummaryJson(summary, &replaced);
    save(out + "/summary.json", WriteTextFile(out + "/summary.json", json, error));
    if (replaced > 0) Warn(out + "/summary.json: " + NotUtf8Note(replaced));
    std::printf("%s", SummaryText(summary).c_str());
    for (const SavedDisplay &d : SaveOpenDisplays()) {
        std::printf("  display %d (%s):", d.slot, d.mode.c_str());
        for (const std::string &line : d.lines) std::printf(" %s;", line.c_str());
        std::printf("\n");
    }
    for (int v = 0; v < world.VesselCount(); ++v)
        if (world.vessel(v).nonFiniteLevels > 0)
            Warn(world.vessel(v).name + ": the module set " + std::to_string(world.vessel(v).nonFiniteLevels) +
                 " engine levels that were no number, which the simulator runs at full thrust");
    for (const std::string &p : written) std::printf("wrote %s\n", p.c_str());
    for (const std::string &f : failures) Fail(f);
    if (!failures.empty()) return 1;
    if (g_stopSignal) return 128 + static_cast<int>(g_stopSignal);
    return refusal.empty() ? 0 : kRefusedStatus;
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
    StopOnSignal stopOnSignal;
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
        if (status != 0) return status;   // an interrupted run flies no further scenario
    }
    return 0;
}

}  // namespace kvhost
