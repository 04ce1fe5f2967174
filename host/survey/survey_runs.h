// survey_runs.h: flying a survey's cases, each a kavrex-sim run in a process of its own (the
// plug-in, like any simulator module, keeps module-wide state: one flight to a process), as many
// at once as the machine has cores, and gathering what each run wrote (summary.json) into the
// survey's table and figures.
#ifndef KVHOST_SURVEY_SURVEY_RUNS_H
#define KVHOST_SURVEY_SURVEY_RUNS_H

#include "survey_grid.h"

#include <sys/types.h>

#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace kvhost {

constexpr double kSurveyMjd = 61450.5;  // the main job's date

// What one case's run ended with.
struct Outcome {
    int status = -1;  // the run's exit status
    bool inOrbit = false;
    double hours = NAN, brachistochrone = NAN, periapsis = NAN, apoapsis = NAN, period = NAN, wall = 0;
    std::string why;  // why not in orbit
};

// The survey's progress: the runs under way, what they found, a line as each ends.
class SurveyRuns {
public:
    // `options`: the command-line options every case's run is given (the display size, the seed
    // of a varying frame rate, the refresh interval).
    SurveyRuns(const std::vector<SurveyCase> &cases, const std::string &out, const std::vector<std::string> &options)
        : cases_(cases), out_(out), options_(options) {
        outcomes_.resize(cases.size());
    }

    // Flies every case, as many at once as `cores`; a case whose folder already holds the same
    // start and a finished run's outcome is taken as it stands (a survey resumed, or re-pictured).
    bool Fly(const World &world, const std::string &plugin, unsigned cores, std::string &error);
    const std::vector<Outcome> &outcomes() const { return outcomes_; }
    size_t inOrbit() const { return inOrbit_; }

private:
    std::string Dir(size_t i) const;  // case i's folder
    void Finish(size_t i, int code, const char *note);

    const std::vector<SurveyCase> &cases_;
    const std::string out_;
    const std::vector<std::string> options_;
    std::vector<Outcome> outcomes_;
    std::map<pid_t, size_t> running_;
    size_t done_ = 0, inOrbit_ = 0;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// survey.csv: a row for each case, its outcome beside it.
std::string SurveyCsv(const std::vector<SurveyCase> &cases, const std::vector<Outcome> &out);
// The figures printed at the end: the share in orbit, the median flight time over the
// brachistochrone, and a line for each case not in orbit, saying why.
void PrintSurveyFigures(const std::vector<SurveyCase> &cases, const std::vector<Outcome> &outcomes, size_t inOrbit);

}  // namespace kvhost

#endif
