// cmd_run.cpp: "kavrex-sim run": flies a scenario and writes what a pilot wants to look at
// afterwards: the scenario as saved at the end (to resume the flight), the flight log, the
// displays as they were at the flight's moments, the flown path, and a summary. With --pilot
// the built-in pilot flies, reading only what the display shows.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../cockpit/saved_displays.h"
#include "../oapi/host_state.h"
#include "../scenario/scenario_write.h"
#include "../record/flight_picture.h"
#include "../record/flight_record.h"
#include "../record/flight_summary.h"
#include "../pilot/pilot.h"
#include "../pilot/pilot_turn.h"
#include "../session/plugin_exports.h"
#include "../session/session.h"

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

constexpr double kCoastAfterArrival = 10;  // s flown after the pilot's abort, for the last pictures
constexpr double kDefaultFlight = 60;      // s: a run with neither --pilot nor --steps flies a minute

void StopFlight(int signal) { Host().stopSignal = signal; }

// Ctrl+C and kill end a run as its end does, with every output written; the handlers are the
// run's alone and go with it.
class StopOnSignal {
public:
    StopOnSignal() {
        Host().stopSignal = 0;
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
        if (line.empty() || line[0] == '#' || line[0] == 'm') continue;  // header lines
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

// One scenario's flight, from the session's start to its outputs: the frame loop with its
// timeline, the pilot's turn at each refresh of its display, and what is written at the end.
class PilotedRun {
public:
    PilotedRun(const CommandLine &cl, Session &session, const std::string &out)
        : cl_(cl), session_(session), sim_(session.simulation()), world_(session.world()), out_(out) {}

    // Flies and writes; the exit status.
    int Run() {
        if (!MakeFolders(out_, error_)) return Fail(error_);
        bool passiveFocus = false;
        const std::vector<int> open = OpenDisplaysOrKavrex(session_, cl_.pilot ? nullptr : &passiveFocus);
        if (open.empty() && !passiveFocus) return 1;
        seat_.slot = open.empty() ? -1 : open.front();  // the display the pilot flies by (-1: none)
        sim_.SetTimeAcceleration(cl_.warp);
        session_.onRefresh = [this](const std::vector<int> &due) { OnRefresh(due); };
        if (oneMinute_)
            std::fprintf(
                stderr, "kavrex-sim: no --pilot and no --steps: flying one simulated minute (%.0f frames at x%g)\n",
                std::ceil(kDefaultFlight / (sim_.frameLength() * sim_.timeAcceleration())), sim_.timeAcceleration());
        record_.Sample(world_, sim_.simt(), seat_.reading, cl_.pilot ? "start" : "");
        // A timeline event that fails on the way stops the flight, which is written as it stands.
        const bool flown = Fly();
        if (!flown) {
            Fail(error_);
            std::fprintf(stderr, "kavrex-sim: stopped at MJD %.6f after %ld frames; writing what the flight has\n",
                         world_.Mjd(), frame_);
        }
        if (Host().stopSignal)
            std::fprintf(stderr, "kavrex-sim: interrupted at MJD %.6f after %ld frames; writing what the flight has\n",
                         world_.Mjd(), frame_);
        record_.Sample(world_, sim_.simt(), seat_.reading, cl_.pilot ? "end" : "");
        if (!Picture("end") && failures_.empty() && seat_.slot >= 0)
            std::fprintf(stderr,
                         "kavrex-sim: no picture of the display at the end: it has not refreshed yet (%ld frames)\n",
                         frame_);
        WriteOutputs();
        for (const std::string &f : failures_) Fail(f);
        if (!failures_.empty() || !flown || !bounds_.empty()) return 1;
        if (Host().stopSignal) return 128 + static_cast<int>(Host().stopSignal);
        return seat_.refusal.empty() ? 0 : kRefusedStatus;
    }

private:
    // Whether the flight is over before the next frame.
    bool Finished() {
        if (Host().stopSignal) {
            tally_.Interrupted();
            return true;
        }
        if (!seat_.refusal.empty() || !bounds_.empty()) return true;
        // A flight about to leave what a scenario holds stops while its save still reads back.
        bounds_ = BeyondScenarioBounds(world_);
        if (!bounds_.empty()) {
            std::fprintf(stderr, "kavrex-sim: stopped at MJD %.6f after %ld frames: %s; writing what the flight has\n",
                         world_.Mjd(), frame_, bounds_.c_str());
            return true;
        }
        if (oneMinute_) return sim_.simt() >= kDefaultFlight;
        // A piloted flight ends with its vessel: a crash leaves nothing to fly.
        if (cl_.pilot && world_.focus() >= 0 && world_.vessel(world_.focus()).status == VesselStatus::Crashed)
            return true;
        if (cl_.stepsGiven || !cl_.pilot) return frame_ >= cl_.steps;
        return (doneAt_ >= 0 && sim_.simt() >= doneAt_ + kCoastAfterArrival) || sim_.simt() >= kMaxPilotedDays * 86400;
    }

    // The frame loop; false (with error_) when a timeline action cannot be done.
    bool Fly() {
        Progress progress;
        double nextLog = cl_.logEvery;
        while (!Finished()) {
            if (!session_.PlayTimeline(error_)) return false;
            sim_.Frame();
            ++frame_;
            tally_.Frame(world_, seat_.reading);
            if (sim_.simt() < nextLog) continue;
            record_.Sample(world_, sim_.simt(), seat_.reading, "");
            while (nextLog <= sim_.simt()) nextLog += cl_.logEvery;
            const double fraction = cl_.pilot    ? tally_.Progress(seat_.reading)
                                    : oneMinute_ ? sim_.simt() / kDefaultFlight
                                                 : static_cast<double>(frame_) / std::max(1L, cl_.steps);
            progress.Show(fraction, world_.Mjd(), sim_.simt(), WallSeconds());
        }
        progress.Done();
        return true;
    }

    // At each refresh of its display the pilot takes its turn (a run without the pilot only
    // reads the display, for the record).
    void OnRefresh(const std::vector<int> &due) {
        const DisplayReading *page = session_.LastReading(seat_.slot);
        if (!cl_.pilot) {
            if (std::find(due.begin(), due.end(), seat_.slot) != due.end()) FollowRefresh(page, seat_.reading);
            return;
        }
        const PilotAction a = TakePilotTurn(seat_, due, page, world_, sim_, [this](const PilotAction &p) { Log(p); });
        if (!a.what.empty()) record_.Sample(world_, sim_.simt(), seat_.reading, a.what);
    }

    // What the record keeps of an action, before the pilot's hands carry it out: the pictures of
    // the display and the tally's moments.
    void Log(const PilotAction &a) {
        if (a.departed) {
            tally_.Depart(world_, seat_.reading);
            Picture("departure");
        }
        if (a.flip) Picture("flip-" + std::to_string(seat_.pilot.flips()));
        if (a.arrived) {
            tally_.Arrive(world_);
            Picture("arrival");
            doneAt_ = sim_.simt();
        }
        if (a.legBurn && record_.prediction().empty())
            record_.SetPrediction(PredictedPath(PredictionText(session_)), world_.Mjd());
    }

    // The display's last refresh as display-NAME.png; false when there is none yet.
    bool Picture(const std::string &name) {
        if (seat_.slot < 0) return false;
        const std::string path = out_ + "/display-" + name + ".png";
        bool made = false;
        if (!SaveDisplayPicture(session_, seat_.slot, path, made, error_))
            failures_.push_back(error_);
        else if (made)
            written_.push_back(path);
        return made;
    }

    void Save(const std::string &path, bool ok) {
        if (ok)
            written_.push_back(path);
        else
            failures_.push_back(error_);
    }

    // Every output is tried, so that one that fails costs no other; a "wrote" line for each
    // file written.
    void WriteOutputs() {
        const std::string scn = out_ + "/final.scn", csv = out_ + "/flight.csv", json = out_ + "/summary.json";
        Save(scn, session_.Save(scn, error_));
        Save(csv, WriteWholeFile(csv, record_.Csv(), error_));
        for (const char *ext : {".png", ".svg"})
            Save(out_ + "/flight" + ext, WriteFlightPicture(out_ + "/flight" + ext, record_, error_));
        const FlightSummary summary = Summary();
        int replaced = 0;
        Save(json, WriteWholeFile(json, SummaryJson(summary, &replaced), error_));
        if (replaced > 0) Warn(json + ": " + NotUtf8Note(replaced));
        std::printf("%s", SummaryText(summary).c_str());
        for (const SavedDisplay &d : SaveOpenDisplays()) {
            std::printf("  display %d (%s):", d.slot, d.mode.c_str());
            for (const std::string &line : d.lines) std::printf(" %s;", line.c_str());
            std::printf("\n");
        }
        for (int v = 0; v < world_.VesselCount(); ++v)
            if (world_.vessel(v).nonFiniteLevels > 0)
                Warn(world_.vessel(v).name + ": the module set " + std::to_string(world_.vessel(v).nonFiniteLevels) +
                     " engine levels that were no number, which the simulator runs at full thrust");
        for (const std::string &p : written_) std::printf("wrote %s\n", p.c_str());
    }

    FlightSummary Summary() {
        FlightSummary summary = tally_.Summarise(world_, record_, seat_.pilot, sim_.simt(), WallSeconds(), cl_.pilot);
        summary.refused = seat_.refusal;
        summary.frames = sim_.frames();
        summary.predictions = session_.Predictions();
        for (int s = 0; s < kDisplaySlots; ++s)
            if (session_.Refreshes(s) > 0) summary.refreshes.push_back({s, session_.Refreshes(s)});
        return summary;
    }

    double WallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    }

    const CommandLine &cl_;
    Session &session_;
    Simulation &sim_;
    World &world_;
    const std::string out_;
    const std::chrono::steady_clock::time_point wallStart_ = std::chrono::steady_clock::now();
    const bool oneMinute_ = !cl_.pilot && !cl_.stepsGiven;  // neither a pilot nor a number of frames
    std::string error_;
    long frame_ = 0;
    FlightRecord record_;
    FlightTally tally_;
    std::string bounds_;                 // why the flight stopped at the bounds of a scenario, if it did
    PilotSeat seat_;                     // the pilot, its display and what it read there
    double doneAt_ = -1;                 // when the pilot arrived
    std::vector<std::string> written_;   // every file written, in order
    std::vector<std::string> failures_;  // and every one that could not be
};

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
        const int status = PilotedRun(one, session, FolderFor(cl, session, scenarios.size(), folders)).Run();
        if (status != 0) return status;  // an interrupted run flies no further scenario
    }
    return 0;
}

}  // namespace kvhost
