// cmd_survey.cpp: kavrex-sim survey, the pilot on a grid of transfers.
//
// Each transfer is its own kavrex-sim run in a process of its own (the plug-in, like any
// simulator module, keeps module-wide state: one flight to a process), as many at once as the
// machine has cores. What each run wrote (summary.json) is gathered into survey.csv, a picture
// and the figures printed at the end.
#include "commands.h"
#include "survey_grid.h"

#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../scenario/scenario.h"
#include "../scenario/scenario_write.h"
#include "../world/frames.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <thread>

extern char **environ;

namespace kvhost {

namespace {

constexpr double kSurveyMjd = 61450.5;   // the main job's date

struct Outcome {
    int status = -1;                   // the run's exit status
    bool inOrbit = false;
    double hours = NAN, brachistochrone = NAN, periapsis = NAN, apoapsis = NAN, period = NAN, wall = 0;
    std::string why;                   // why not in orbit
};

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
    if (json.empty()) o.why = FormatText("the run wrote no summary (exit status %d)", status);
    else if (!(o.why = JsonString(json, "refused")).empty()) o.why = "refused: " + o.why;
    else if (!(o.why = JsonString(json, "crashed_on")).empty()) o.why = "crashed on " + o.why;
    else if ((o.why = JsonString(json, "why_not")).empty()) o.why = "did not arrive within the run's 30 days";
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

std::string Csv(const std::vector<SurveyCase> &cases, const std::vector<Outcome> &out) {
    std::string s = "case,source,height_km,phase_deg,inclination_deg,target,acceleration_ms2,fps,in_orbit,"
                    "flight_time_h,brachistochrone_h,ratio,periapsis_km,apoapsis_km,period_h,wall_s,why_not\n";
    auto num = [](double v, const char *f) { return std::isfinite(v) ? FormatText(f, v) : std::string(); };
    for (size_t i = 0; i < cases.size(); ++i) {
        const SurveyCase &c = cases[i];
        const Outcome &o = out[i];
        s += FormatText("%zu,%s,%g,%g,%g,%s,%g,%s,%s,", i + 1, c.source.c_str(), c.heightKm, c.phaseDeg,
                        c.inclinationDeg, c.target.c_str(), c.acceleration, c.fps.c_str(), o.inOrbit ? "yes" : "no");
        s += num(o.hours, "%.3f") + "," + num(o.brachistochrone, "%.3f") + "," +
             num(o.hours / o.brachistochrone, "%.4f") + "," + num(o.periapsis, "%.1f") + "," +
             num(o.apoapsis, "%.1f") + "," + num(o.period, "%.3f") + "," + num(o.wall, "%.1f") + ",\"" + o.why +
             "\"\n";
    }
    return s;
}

double Median(std::vector<double> v) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

constexpr double kPictureWidth = 900, kPictureHeight = 620;

void Label(cairo_t *cr, double x, double y, const std::string &text) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

// The cases in columns by target: the x of case k of a target's n, and each target's name below.
std::vector<double> Columns(cairo_t *cr, const std::vector<SurveyCase> &cases, double left, double right,
                            double labelY) {
    std::map<std::string, std::vector<size_t>> byTarget;
    for (size_t i = 0; i < cases.size(); ++i) byTarget[cases[i].target].push_back(i);
    std::vector<double> x(cases.size());
    const double column = (right - left) / std::max<size_t>(1, byTarget.size());
    double x0 = left;
    for (const auto &t : byTarget) {
        cairo_set_source_rgb(cr, 0.8, 0.8, 0.85);
        Label(cr, x0 + 6, labelY, t.first);
        for (size_t k = 0; k < t.second.size(); ++k) x[t.second[k]] = x0 + (k + 0.5) * column / t.second.size();
        x0 += column;
    }
    return x;
}

void Gridline(cairo_t *cr, double left, double right, double y, const std::string &label, bool marked) {
    cairo_set_source_rgb(cr, marked ? 0.8 : 0.35, marked ? 0.7 : 0.35, 0.4);
    cairo_move_to(cr, left, y);
    cairo_line_to(cr, right, y);
    cairo_stroke(cr);
    Label(cr, 8, y + 4, label);
}

void Dot(cairo_t *cr, double x, double y, bool good) {
    if (good) cairo_set_source_rgb(cr, 0.3, 0.85, 0.4);
    else cairo_set_source_rgb(cr, 0.95, 0.3, 0.25);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, 4, 0, 2 * kPi);
    cairo_fill(cr);
}

// Above: each transfer's flight time over the brachistochrone, by target (green in orbit, red
// not, drawn at the top). Below: its final orbit, periapsis to apoapsis above the surface.
void Paint(cairo_t *cr, const std::vector<SurveyCase> &cases, const std::vector<Outcome> &out) {
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_set_line_width(cr, 1);
    size_t inOrbit = 0;
    for (const Outcome &o : out) inOrbit += o.inOrbit;
    const double left = 60, right = kPictureWidth - 20;
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.9);
    Label(cr, left, 20, FormatText("%zu transfers, %zu in orbit (%.0f %%): flight time / brachistochrone", out.size(),
                                   inOrbit, 100.0 * inOrbit / std::max<size_t>(1, out.size())));
    // The ratio, 0.9 to 2 (more is drawn at 2).
    const double top = 40, bottom = 300, lo = 0.9, hi = 2.0;
    auto Y = [&](double r) { return bottom - (std::min(hi, std::max(lo, r)) - lo) / (hi - lo) * (bottom - top); };
    for (double r : {1.0, 1.15, 1.5, 2.0}) Gridline(cr, left, right, Y(r), FormatText("%.2f", r), r == 1.15);
    const std::vector<double> x = Columns(cr, cases, left, right, bottom + 18);
    for (size_t i = 0; i < out.size(); ++i) {
        const double ratio = out[i].hours / out[i].brachistochrone;
        Dot(cr, x[i], out[i].inOrbit && std::isfinite(ratio) ? Y(ratio) : top, out[i].inOrbit);
    }
    // The final orbit on a log scale of km above the surface, 100 km to 1,000,000 km.
    const double top2 = 350, bottom2 = kPictureHeight - 40;
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.9);
    Label(cr, left, top2 - 14, "final orbit: periapsis to apoapsis above the surface (km)");
    auto Y2 = [&](double km) {
        const double l = std::log10(std::min(1e6, std::max(100.0, km)));
        return bottom2 - (l - 2) / 4 * (bottom2 - top2);
    };
    for (double km : {100.0, 1e3, 1e4, 1e5, 1e6}) Gridline(cr, left, right, Y2(km), FormatText("%.0e", km), false);
    Columns(cr, cases, left, right, bottom2 + 18);
    for (size_t i = 0; i < out.size(); ++i) {
        if (!out[i].inOrbit) continue;
        cairo_set_source_rgb(cr, 0.3, 0.85, 0.4);
        cairo_move_to(cr, x[i], Y2(out[i].periapsis));
        cairo_line_to(cr, x[i], Y2(out[i].apoapsis));
        cairo_stroke(cr);
        Dot(cr, x[i], Y2(out[i].periapsis), true);
    }
}

// The survey's progress: the runs under way, what they found, a line as each ends.
class SurveyRuns {
public:
    SurveyRuns(const std::vector<SurveyCase> &cases, const std::string &out) : cases_(cases), out_(out) {
        outcomes_.resize(cases.size());
    }

    // Flies every case, as many at once as `cores`; a case whose folder already holds the same
    // start and a finished run's outcome is taken as it stands (a survey resumed, or re-pictured).
    bool Fly(const World &world, const std::string &plugin, unsigned cores, std::string &error) {
        size_t next = 0;
        while (done_ < cases_.size()) {
            while (running_.size() < cores && next < cases_.size()) {
                const size_t i = next++;
                const std::string dir = Dir(i), scn = SurveyScenario(cases_[i], world, kSurveyMjd);
                if (ReadFile(dir + "/start.scn") == scn && !ReadFile(dir + "/status").empty()) {
                    Finish(i, std::atoi(ReadFile(dir + "/status").c_str()), "(flown before)");
                    continue;
                }
                if (!MakeFolders(dir, error) || !WriteTextFile(dir + "/start.scn", scn, error)) return false;
                std::remove((dir + "/status").c_str());
                const pid_t pid = Spawn({"kavrex-sim", "run", dir + "/start.scn", "--pilot", "--out", dir, "--fps",
                                         cases_[i].fps, "--plugin", plugin},
                                        dir + "/run.log", error);
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
            WriteTextFile(Dir(i) + "/status", std::to_string(code) + "\n", error);
            Finish(i, code, "");
        }
        return true;
    }
    const std::vector<Outcome> &outcomes() const { return outcomes_; }
    size_t inOrbit() const { return inOrbit_; }

private:
    std::string Dir(size_t i) const { return out_ + FormatText("/case-%03zu", i + 1); }

    void Finish(size_t i, int code, const char *note) {
        outcomes_[i] = ReadOutcome(Dir(i), code);
        inOrbit_ += outcomes_[i].inOrbit;
        ++done_;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        std::fprintf(stderr, "kavrex-sim: survey %zu/%zu done, %zu in orbit, %.0f s; case %zu %s to %s: %s %s\n", done_,
                     cases_.size(), inOrbit_, wall, i + 1, cases_[i].source.c_str(), cases_[i].target.c_str(),
                     outcomes_[i].inOrbit ? "in orbit" : outcomes_[i].why.c_str(), note);
    }

    const std::vector<SurveyCase> &cases_;
    const std::string out_;
    std::vector<Outcome> outcomes_;
    std::map<pid_t, size_t> running_;
    size_t done_ = 0, inOrbit_ = 0;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

void PrintFigures(const std::vector<SurveyCase> &cases, const std::vector<Outcome> &outcomes, size_t inOrbit) {
    std::vector<double> ratios;
    for (const Outcome &o : outcomes)
        if (o.inOrbit && o.brachistochrone > 0) ratios.push_back(o.hours / o.brachistochrone);
    std::printf("%zu transfers: %zu in orbit (%.1f %%); flight time over the brachistochrone: median %.3f\n",
                cases.size(), inOrbit, 100.0 * inOrbit / cases.size(), Median(ratios));
    for (size_t i = 0; i < cases.size(); ++i)
        if (!outcomes[i].inOrbit)
            std::printf("  case %zu, %s (%g km, phase %g, inclination %g) to %s at %g m/s^2, %s fps: %s\n", i + 1,
                        cases[i].source.c_str(), cases[i].heightKm, cases[i].phaseDeg, cases[i].inclinationDeg,
                        cases[i].target.c_str(), cases[i].acceleration, cases[i].fps.c_str(), outcomes[i].why.c_str());
}

}  // namespace

int RunSurvey(const CommandLine &cl) {
    World world;
    World::BuildSolarSystem(world);
    SurveyGrid grid = DefaultSurveyGrid();
    std::string error;
    if (!cl.scenario.empty() && !ReadSurveyGrid(cl.scenario, world, grid, error)) return Fail(error);
    const std::vector<SurveyCase> cases = SurveyCases(grid);
    const std::string out = cl.out.empty() ? "out/survey" : cl.out;
    if (!MakeFolders(out, error)) return Fail(error);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::fprintf(stderr, "kavrex-sim: survey of %zu transfers, %u at a time, in %s/\n", cases.size(), cores,
                 out.c_str());
    SurveyRuns runs(cases, out);
    if (!runs.Fly(world, cl.plugin, cores, error)) return Fail(error);
    const std::string csv = out + "/survey.csv";
    if (!WriteTextFile(csv, Csv(cases, runs.outcomes()), error)) return Fail(error);
    for (const char *ext : {".png", ".svg"})
        if (!WriteCairoPicture(out + "/survey" + ext, kPictureWidth, kPictureHeight,
                               [&](cairo_t *cr) { Paint(cr, cases, runs.outcomes()); }, error))
            return Fail(error);
    PrintFigures(cases, runs.outcomes(), runs.inOrbit());
    std::printf("wrote %s\nwrote %s/survey.png\nwrote %s/survey.svg\n", csv.c_str(), out.c_str(), out.c_str());
    return 0;
}

}  // namespace kvhost
