// survey_runs.cpp: the survey's runs, a process each, and what they found.
#include "survey_runs.h"

#include "../record/output_folders.h"
#include "../scenario/numbers.h"
#include "../scenario/scenario.h"
#include "../scenario/scenario_write.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern char **environ;

namespace kvhost {

namespace {

// A file the survey wrote itself (a run's start, status or summary); empty when there is none.
std::string ReadFile(const std::string &path) {
    std::string text, error;
    return ReadTextFile(path, "file", kMaxScenarioBytes, text, error) ? text : std::string();
}

// A number after "key": in the run's summary.json; NAN for null or none.
double JsonNumber(const std::string &json, const std::string &key) {
    const size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) return NAN;
    double v;
    std::istringstream in(json.substr(at + key.size() + 4, 32));
    return in >> v ? v : NAN;
}

std::string JsonString(const std::string &json, const std::string &key) {
    const size_t at = json.find("\"" + key + "\": \"");
    if (at == std::string::npos) return "";
    const size_t from = at + key.size() + 5, to = json.find('"', from);
    return json.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

Outcome ReadOutcome(const std::string &dir, int status) {
    Outcome o;
    o.status = status;
    const std::string json = ReadFile(dir + "/summary.json");
    o.inOrbit = json.find("\"in_orbit\": true") != std::string::npos;
    o.hours = JsonNumber(json, "flight_time_h");
    o.brachistochrone = JsonNumber(json, "brachistochrone_h");
    o.periapsis = JsonNumber(json, "periapsis_km");
    o.apoapsis = JsonNumber(json, "apoapsis_km");
    o.period = JsonNumber(json, "period_h");
    o.wall = JsonNumber(json, "wall_s");
    if (o.inOrbit) return o;
    if (json.empty())
        o.why = FormatText("the run wrote no summary (exit status %d)", status);
    else if (!(o.why = JsonString(json, "refused")).empty())
        o.why = "refused: " + o.why;
    else if (!(o.why = JsonString(json, "crashed_on")).empty())
        o.why = "crashed on " + o.why;
    else if ((o.why = JsonString(json, "why_not")).empty())
        o.why = "did not arrive within the run's 30 days";
    return o;
}

// Starts one run; its pid, or -1 with the cause.
pid_t Spawn(const std::vector<std::string> &args, const std::string &log, std::string &error) {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, "/proc/self/exe", &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
        error = std::string("cannot start a run: ") + std::strerror(rc);
        return -1;
    }
    return pid;
}

double Median(std::vector<double> v) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

std::string SurveyRuns::Dir(size_t i) const { return out_ + FormatText("/case-%03zu", i + 1); }

bool SurveyRuns::Fly(const World &world, const std::string &plugin, unsigned cores, std::string &error) {
    size_t next = 0;
    while (done_ < cases_.size()) {
        while (running_.size() < cores && next < cases_.size()) {
            const size_t i = next++;
            const std::string dir = Dir(i), scn = SurveyScenario(cases_[i], world, kSurveyMjd);
            // The options every case is flown with, kept beside it: a case flown with others is
            // flown again.
            std::string options;
            for (const std::string &o : options_) options += o + "\n";
            if (ReadFile(dir + "/start.scn") == scn && ReadFile(dir + "/options") == options &&
                !ReadFile(dir + "/status").empty()) {
                Finish(i, std::atoi(ReadFile(dir + "/status").c_str()), "(flown before)");
                continue;
            }
            if (!MakeFolders(dir, error) || !WriteWholeFile(dir + "/start.scn", scn, error) ||
                !WriteWholeFile(dir + "/options", options, error))
                return false;
            std::remove((dir + "/status").c_str());
            std::vector<std::string> args = {"kavrex-sim", "run",   dir + "/start.scn", "--pilot",  "--out",
                                             dir,          "--fps", cases_[i].fps,      "--plugin", plugin};
            args.insert(args.end(), options_.begin(), options_.end());
            const pid_t pid = Spawn(args, dir + "/run.log", error);
            if (pid < 0) return false;
            running_[pid] = i;
        }
        if (running_.empty()) continue;
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0 || !running_.count(pid)) continue;
        const size_t i = running_[pid];
        running_.erase(pid);
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        WriteWholeFile(Dir(i) + "/status", std::to_string(code) + "\n", error);
        Finish(i, code, "");
    }
    return true;
}

void SurveyRuns::Finish(size_t i, int code, const char *note) {
    outcomes_[i] = ReadOutcome(Dir(i), code);
    inOrbit_ += outcomes_[i].inOrbit;
    ++done_;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(stderr, "kavrex-sim: survey %zu/%zu done, %zu in orbit, %.0f s; case %zu %s to %s: %s %s\n", done_,
                 cases_.size(), inOrbit_, wall, i + 1, cases_[i].source.c_str(), cases_[i].target.c_str(),
                 outcomes_[i].inOrbit ? "in orbit" : outcomes_[i].why.c_str(), note);
}

std::string SurveyCsv(const std::vector<SurveyCase> &cases, const std::vector<Outcome> &out) {
    std::string s =
        "case,source,height_km,phase_deg,inclination_deg,target,acceleration_ms2,fps,in_orbit,"
        "flight_time_h,brachistochrone_h,ratio,periapsis_km,apoapsis_km,period_h,wall_s,why_not\n";
    auto num = [](double v, const char *f) { return std::isfinite(v) ? FormatText(f, v) : std::string(); };
    for (size_t i = 0; i < cases.size(); ++i) {
        const SurveyCase &c = cases[i];
        const Outcome &o = out[i];
        s += FormatText("%zu,%s,%g,%g,%g,%s,%g,%s,%s,", i + 1, c.source.c_str(), c.heightKm, c.phaseDeg,
                        c.inclinationDeg, c.target.c_str(), c.acceleration, c.fps.c_str(), o.inOrbit ? "yes" : "no");
        s += num(o.hours, "%.3f") + "," + num(o.brachistochrone, "%.3f") + "," +
             num(o.hours / o.brachistochrone, "%.4f") + "," + num(o.periapsis, "%.1f") + "," + num(o.apoapsis, "%.1f") +
             "," + num(o.period, "%.3f") + "," + num(o.wall, "%.1f") + ",\"" + o.why + "\"\n";
    }
    return s;
}

void PrintSurveyFigures(const std::vector<SurveyCase> &cases, const std::vector<Outcome> &outcomes, size_t inOrbit) {
    std::vector<double> ratios;
    for (const Outcome &o : outcomes)
        if (o.inOrbit && o.brachistochrone > 0) ratios.push_back(o.hours / o.brachistochrone);
    if (ratios.empty())
        std::printf("%zu transfer%s: none in orbit, so no flight time to compare with the brachistochrone\n",
                    cases.size(), cases.size() == 1 ? "" : "s");
    else
        std::printf("%zu transfers: %zu in orbit (%.1f %%); flight time over the brachistochrone: median %.3f\n",
                    cases.size(), inOrbit, 100.0 * inOrbit / cases.size(), Median(ratios));
    for (size_t i = 0; i < cases.size(); ++i)
        if (!outcomes[i].inOrbit)
            std::printf("  case %zu, %s (%g km, phase %g, inclination %g) to %s at %g m/s^2, %s fps: %s\n", i + 1,
                        cases[i].source.c_str(), cases[i].heightKm, cases[i].phaseDeg, cases[i].inclinationDeg,
                        cases[i].target.c_str(), cases[i].acceleration, cases[i].fps.c_str(), outcomes[i].why.c_str());
}

}  // namespace kvhost
