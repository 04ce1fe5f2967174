// survey_grid.cpp: reading a survey grid and writing the scenario of each of its transfers.
#include "survey_grid.h"

#include "../scenario/numbers.h"
#include "../scenario/scenario.h"
#include "../world/frames.h"

#include <cmath>
#include <sstream>

namespace kvhost {

namespace {

constexpr size_t kMostValues = 64;  // values of one dimension
constexpr size_t kMostCases = 4096;
constexpr size_t kMostGridBytes = 1u << 20;  // a grid is a few lines; its longest is 4096 characters

bool Fail(const std::string &where, const std::string &what, std::string &error) {
    error = where + ": " + what;
    return false;
}

bool Numbers(const std::vector<std::string> &words, double lo, double hi, const std::string &where,
             std::vector<double> &out, std::string &error) {
    for (size_t i = 1; i < words.size(); ++i) {
        double v;
        if (!ParseNumber(words[i], v) || !(v >= lo && v <= hi))
            return Fail(where, FormatText("'%s' is not a number from %g to %g", words[i].c_str(), lo, hi), error);
        out.push_back(v);
    }
    return true;
}

// A body a transfer can start from or end at: one of the system's, and not the star (no orbit
// is flown from the Sun's surface region, and the pilot does not fly into it).
bool KnownBody(const World &w, const std::string &name, const std::string &where, std::string &error) {
    const int b = w.FindBody(name);
    if (b < 0) return Fail(where, "'" + name + "' is no body of the solar system", error);
    if (w.body(b).parent < 0)
        return Fail(where,
                    "'" + name + "' is the star: a survey's transfers start from and end at its planets and moons",
                    error);
    return true;
}

bool Line(const std::vector<std::string> &words, const World &w, const std::string &where, SurveyGrid &g,
          std::string &error) {
    const std::string &key = words[0];
    if (words.size() - 1 > kMostValues) return Fail(where, FormatText("more than %zu values", kMostValues), error);
    if (key == "sources") {
        for (size_t i = 1; i < words.size(); ++i) {
            const size_t colon = words[i].find(':');
            double km;
            if (colon == std::string::npos || !ParseNumber(words[i].substr(colon + 1), km) || !(km >= 1 && km <= 1e6))
                return Fail(where, "a source is BODY:HEIGHT, the height from 1 to 1000000 km, not '" + words[i] + "'",
                            error);
            const std::string body = words[i].substr(0, colon);
            if (!KnownBody(w, body, where, error)) return false;
            g.sources.push_back({body, km});
        }
        return true;
    }
    if (key == "targets") {
        for (size_t i = 1; i < words.size(); ++i) {
            if (!KnownBody(w, words[i], where, error)) return false;
            g.targets.push_back(words[i]);
        }
        return true;
    }
    if (key == "fps") {
        for (size_t i = 1; i < words.size(); ++i) {
            double lo = 0, hi = 0;
            const size_t dash = words[i].find('-');
            const bool ok = dash == std::string::npos ? ParseNumber(words[i], lo) && (hi = lo, true)
                                                      : ParseNumber(words[i].substr(0, dash), lo) &&
                                                            ParseNumber(words[i].substr(dash + 1), hi);
            if (!ok || !(lo >= 15 && hi <= 200 && lo <= hi))
                return Fail(where, "a frame rate is 15 to 200, or A-B within it, not '" + words[i] + "'", error);
            g.fps.push_back(words[i]);
        }
        return true;
    }
    if (key == "phases") return Numbers(words, -360, 360, where, g.phases, error);
    if (key == "inclinations") return Numbers(words, 0, 180, where, g.inclinations, error);
    // What the status strip can show: one decimal in a cell of four characters (the pilot reads
    // the set acceleration there; 0.01 would read 0.0, and 1000 run into the next cell).
    if (key == "accelerations") return Numbers(words, 0.1, 99.9, where, g.accelerations, error);
    return Fail(where, "unknown line '" + key + "' (sources, targets, phases, inclinations, accelerations, fps)",
                error);
}

}  // namespace

SurveyGrid DefaultSurveyGrid() {
    SurveyGrid g;
    g.sources = {{"Earth", 400}, {"Mars", 500}};
    g.targets = {"Venus", "Mars", "Earth", "Moon", "Jupiter"};
    g.phases = {0, 60, 120, 180, 240, 300};
    g.inclinations = {0, 150, 60};
    g.accelerations = {9.8, 4.9, 2.45, 7.35};
    g.fps = {"60", "30", "15-60"};
    return g;
}

bool ReadSurveyGrid(const std::string &path, const World &w, SurveyGrid &grid, std::string &error) {
    std::string text;
    if (!ReadTextFile(path, "survey grid", kMostGridBytes, text, error)) return false;
    std::istringstream in(text);
    SurveyGrid g = DefaultSurveyGrid();
    SurveyGrid read;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.size() > 4096)
            return Fail(path + ":" + std::to_string(n), "a line of more than 4096 characters", error);
        const size_t semi = line.find(';');
        std::istringstream words(line.substr(0, semi));
        std::vector<std::string> ws;
        for (std::string word; words >> word;) ws.push_back(word);
        if (ws.empty()) continue;
        if (!Line(ws, w, path + ":" + std::to_string(n), read, error)) return false;
    }
    // A dimension the file leaves out keeps the built-in grid's values.
    if (!read.sources.empty()) g.sources = read.sources;
    if (!read.targets.empty()) g.targets = read.targets;
    if (!read.phases.empty()) g.phases = read.phases;
    if (!read.inclinations.empty()) g.inclinations = read.inclinations;
    if (!read.accelerations.empty()) g.accelerations = read.accelerations;
    if (!read.fps.empty()) g.fps = read.fps;
    const size_t cases = SurveyCases(g).size();
    if (cases == 0) return Fail(path, "the grid has no transfer (every target is its source)", error);
    if (cases > kMostCases)
        return Fail(path, FormatText("%zu transfers; a survey flies at most %zu", cases, kMostCases), error);
    grid = g;
    return true;
}

std::vector<SurveyCase> SurveyCases(const SurveyGrid &g) {
    std::vector<SurveyCase> cases;
    for (const auto &source : g.sources)
        for (const std::string &target : g.targets) {
            if (target == source.first) continue;
            for (double phase : g.phases) {
                const size_t i = cases.size();
                SurveyCase c;
                c.source = source.first;
                c.heightKm = source.second;
                c.target = target;
                c.phaseDeg = phase;
                c.inclinationDeg = g.inclinations[i % g.inclinations.size()];
                c.acceleration = g.accelerations[i % g.accelerations.size()];
                c.fps = g.fps[i % g.fps.size()];
                cases.push_back(c);
            }
        }
    return cases;
}

std::string SurveyScenario(const SurveyCase &c, const World &w, double mjd) {
    const Body &b = w.body(w.FindBody(c.source));
    const double r = b.radius + c.heightKm * 1e3, v = std::sqrt(kG * b.mass / r);
    const double phi = c.phaseDeg * kPi / 180, inc = c.inclinationDeg * kPi / 180;
    // In the ecliptic frame (y to the north): the orbit's plane turned about +x by the inclination.
    const VECTOR3 pos = _V(std::cos(phi), std::sin(phi) * std::sin(inc), std::sin(phi) * std::cos(inc)) * r;
    const VECTOR3 vel = _V(-std::sin(phi), std::cos(phi) * std::sin(inc), std::cos(phi) * std::cos(inc)) * v;
    std::string s = "; a survey transfer: " + c.source + " to " + c.target + "\n";
    s += FormatText("BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD %.6f\nEND_ENVIRONMENT\n\n", mjd);
    s += "BEGIN_FOCUS\n  Ship Courier-1\nEND_FOCUS\n\n";
    // The display lists the Moon always (flag 4) and the other moons once moons are switched on
    // (flag 128, the N key), as a pilot sets it up to aim at one of them.
    const auto NeedsMoons = [&](const std::string &name) { return name != "Moon" && w.IsMoon(w.FindBody(name)); };
    const int flags = NeedsMoons(c.target) || NeedsMoons(c.source) ? 4 + 128 : 4;
    s += "BEGIN_MFD Left\n  TYPE User\n  MODE Kavrex\n  KV_TARGET " + c.target + "\n  KV_SOURCE " + c.source +
         FormatText("\n  KV_FLAGS %d\n", flags) + FormatText("  KV_ARTGEE %f\n", c.acceleration) + "  KV_CENTER " +
         c.source + "\nEND_MFD\n\n";
    s += "BEGIN_SHIPS\nCourier-1:Courier\n  STATUS Orbiting " + c.source + "\n";
    s += FormatText("  RPOS %.3f %.3f %.3f\n  RVEL %.4f %.4f %.4f\n", pos.x, pos.y, pos.z, vel.x, vel.y, vel.z);
    s += "  AROT 0 0 0\n  VROT 0 0 0\n  PRPLEVEL 0:1.000\nEND\nEND_SHIPS\n";
    return s;
}

}  // namespace kvhost
