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
    if (!WriteWholeFile(csv, SurveyCsv(cases, runs.outcomes()), error)) return Fail(error);
    for (const char *ext : {".png", ".svg"})
        if (!WriteSurveyPicture(out + "/survey" + ext, cases, runs.outcomes(), error)) return Fail(error);
    PrintSurveyFigures(cases, runs.outcomes(), runs.inOrbit());
    std::printf("wrote %s\nwrote %s/survey.png\nwrote %s/survey.svg\n", csv.c_str(), out.c_str(), out.c_str());
    return 0;
}

}  // namespace kvhost
