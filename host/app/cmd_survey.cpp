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
#include <fstream>
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

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
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

// One dot a transfer: flight time over the brachistochrone, by target; green in orbit, red not
// (drawn at the top, with its reason in the CSV).
void Paint(cairo_t *cr, const std::vector<SurveyCase> &cases, const std::vector<Outcome> &out, double w, double h) {
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.1);
    cairo_paint(cr);
    const double left = 60, right = w - 20, top = 40, bottom = h - 60, lo = 0.9, hi = 2.0;
    auto Y = [&](double ratio) { return bottom - (std::min(hi, std::max(lo, ratio)) - lo) / (hi - lo) * (bottom - top); };
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_set_source_rgb(cr, 0.8, 0.8, 0.85);
    cairo_move_to(cr, left, 22);
    cairo_show_text(cr, "flight time / brachistochrone, each transfer by target (green: in orbit, red: not)");
    cairo_set_line_width(cr, 1);
    for (double r : {1.0, 1.15, 1.5, 2.0}) {
        cairo_set_source_rgb(cr, r == 1.15 ? 0.8 : 0.35, r == 1.15 ? 0.7 : 0.35, 0.4);
        cairo_move_to(cr, left, Y(r));
        cairo_line_to(cr, right, Y(r));
        cairo_stroke(cr);
        cairo_move_to(cr, 12, Y(r) + 4);
        cairo_show_text(cr, FormatText("%.2f", r).c_str());
    }
    std::map<std::string, std::vector<size_t>> byTarget;
    for (size_t i = 0; i < cases.size(); ++i) byTarget[cases[i].target].push_back(i);
    const double column = (right - left) / std::max<size_t>(1, byTarget.size());
    double x0 = left;
    for (const auto &t : byTarget) {
        cairo_set_source_rgb(cr, 0.8, 0.8, 0.85);
        cairo_move_to(cr, x0 + 6, bottom + 20);
        cairo_show_text(cr, t.first.c_str());
        for (size_t k = 0; k < t.second.size(); ++k) {
            const Outcome &o = out[t.second[k]];
            const double x = x0 + (k + 0.5) * column / t.second.size();
            const double ratio = o.hours / o.brachistochrone;
            if (o.inOrbit) cairo_set_source_rgb(cr, 0.3, 0.85, 0.4);
            else cairo_set_source_rgb(cr, 0.95, 0.3, 0.25);
            cairo_arc(cr, x, std::isfinite(ratio) && o.inOrbit ? Y(ratio) : top, 4, 0, 2 * kPi);
            cairo_fill(cr);
        }
        x0 += column;
    }
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
    std::vector<Outcome> outcomes(cases.size());
    std::map<pid_t, size_t> running;
    size_t next = 0, done = 0, inOrbit = 0;
    const auto start = std::chrono::steady_clock::now();
    while (done < cases.size()) {
        while (running.size() < cores && next < cases.size()) {
            const std::string dir = out + FormatText("/case-%03zu", next + 1);
            if (!MakeFolders(dir, error) ||
                !WriteTextFile(dir + "/start.scn", SurveyScenario(cases[next], world, kSurveyMjd), error))
                return Fail(error);
            const pid_t pid = Spawn({"kavrex-sim", "run", dir + "/start.scn", "--pilot", "--out", dir, "--fps",
                                     cases[next].fps, "--plugin", cl.plugin},
                                    dir + "/run.log", error);
            if (pid < 0) return Fail(error);
            running[pid] = next++;
        }
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0 || !running.count(pid)) continue;
        const size_t i = running[pid];
        running.erase(pid);
        outcomes[i] = ReadOutcome(out + FormatText("/case-%03zu", i + 1), WIFEXITED(status) ? WEXITSTATUS(status) : 128);
        inOrbit += outcomes[i].inOrbit;
        ++done;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "kavrex-sim: survey %zu/%zu done, %zu in orbit, %.0f s; case %zu %s to %s: %s\n", done,
                     cases.size(), inOrbit, wall, i + 1, cases[i].source.c_str(), cases[i].target.c_str(),
                     outcomes[i].inOrbit ? "in orbit" : outcomes[i].why.c_str());
    }
    const std::string csv = out + "/survey.csv";
    if (!WriteTextFile(csv, Csv(cases, outcomes), error)) return Fail(error);
    for (const char *ext : {".png", ".svg"})
        if (!WriteCairoPicture(out + "/survey" + ext, 900, 420,
                               [&](cairo_t *cr) { Paint(cr, cases, outcomes, 900, 420); }, error))
            return Fail(error);
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
    std::printf("wrote %s\nwrote %s/survey.png\nwrote %s/survey.svg\n", csv.c_str(), out.c_str(), out.c_str());
    return 0;
}

}  // namespace kvhost
