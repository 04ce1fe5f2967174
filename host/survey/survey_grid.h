// survey_grid.h: the transfers a survey flies, and the scenario of each.
//
// A grid names sources (with the height of the start orbit), targets, start phases,
// inclinations, set accelerations and frame rates. Every source is flown to every other target
// from every phase; inclinations, accelerations and frame rates are taken in turn from case to
// case, so that a grid of a few dozen transfers still mixes them all. A grid file has one
// dimension a line, a keyword and its values ("; " starts a comment):
//     sources Earth:400 Mars:500      body:height of the circular start orbit in km
//     targets Venus Mars Earth Moon Jupiter
//     phases 0 60 120 180 240 300     degrees along the start orbit from the ecliptic's +x
//     inclinations 0 150              degrees to the ecliptic (more than 90: retrograde)
//     accelerations 9.8 4.9 2.45 7.35 m/s^2, the display's set acceleration
//     fps 60 30 15-60                 frames a second, or a varying rate A-B
#ifndef KVHOST_SURVEY_SURVEY_GRID_H
#define KVHOST_SURVEY_SURVEY_GRID_H

#include "../world/world.h"

#include <string>
#include <vector>

namespace kvhost {

struct SurveyCase {
    std::string source, target;
    double heightKm = 0, phaseDeg = 0, inclinationDeg = 0, acceleration = 9.8;
    std::string fps = "60";  // as --fps takes it
};

struct SurveyGrid {
    std::vector<std::pair<std::string, double>> sources;  // body, start height in km
    std::vector<std::string> targets, fps;
    std::vector<double> phases, inclinations, accelerations;
};

// The built-in grid: 48 transfers between the inner planets, the Moon and Jupiter.
SurveyGrid DefaultSurveyGrid();
// Reads a grid file; false with the cause (file:line: what is wrong). Every body must be one of
// `world`'s, every number within its range.
bool ReadSurveyGrid(const std::string &path, const World &world, SurveyGrid &grid, std::string &error);
std::vector<SurveyCase> SurveyCases(const SurveyGrid &grid);

// The scenario of a case: a Courier on the circular orbit, its display aimed at the target.
std::string SurveyScenario(const SurveyCase &c, const World &world, double mjd);

}  // namespace kvhost

#endif
