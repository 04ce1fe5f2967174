// cmd_survey.cpp: kavrex-sim survey, the pilot on a grid of transfers: the grid read, its cases
// flown (a process each, as many at once as the machine has cores), then survey.csv, a picture
// and the figures printed at the end.
#include "commands.h"

#include "../scenario/scenario_write.h"
#include "../survey/survey_grid.h"
#include "../survey/survey_picture.h"
#include "../survey/survey_runs.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace kvhost {

namespace {

// The options a survey passes on to every case, and those it cannot honour, with the reason.
struct SurveyOption {
    const char *name;
    const char *refused;  // null: passed on
};
const SurveyOption kSurveyOptions[] = {
    {"--size", nullptr},
    {"--seed", nullptr},
    {"--mfd-refresh", nullptr},
    {"--plugin", nullptr},
    {"--out", nullptr},
    {"--steps", "every case is flown to its end by the pilot"},
    {"--warp", "the pilot sets the time acceleration of each case"},
    {"--fps", "the grid gives each case its frame rate (its fps line)"},
    {"--mode", "a survey pictures no display page"},
    {"--scale", "a survey pictures no display page"},
    {"--log-every", "each case logs its flight at the run's own interval"},
};

}  // namespace

int RunSurvey(const CommandLine &cl) {
    std::vector<std::string> passed;
    for (const std::pair<std::string, std::string> &o : cl.given)
        for (const SurveyOption &s : kSurveyOptions)
            if (o.first == s.name) {
                if (s.refused) return Fail(std::string("survey does not take ") + s.name + ": " + s.refused);
                if (o.first != "--plugin" && o.first != "--out") {
                    passed.push_back(o.first);
                    passed.push_back(o.second);
                }
            }
    if (cl.pilot) return Fail("survey does not take --pilot: the pilot flies every case");
    if (cl.paused) return Fail("survey does not take --paused: it opens no window");
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
    SurveyRuns runs(cases, out, passed);
    if (!runs.Fly(world, cl.plugin, cores, error)) return Fail(error);
    const std::string csv = out + "/survey.csv";
    if (!WriteWholeFile(csv, SurveyCsv(cases, runs.outcomes()), error)) return Fail(error);
    for (const char *ext : {".png", ".svg"})
        if (!WriteSurveyPicture(out + "/survey" + ext, cases, runs.outcomes(), error)) return Fail(error);
    PrintSurveyFigures(cases, runs.outcomes(), runs.inOrbit());
    std::printf("wrote %s\nwrote %s/survey.png\nwrote %s/survey.svg\n", csv.c_str(), out.c_str(), out.c_str());
    return 0;
}

}  // namespace kvhost
