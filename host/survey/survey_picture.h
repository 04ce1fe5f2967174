// survey_picture.h: the survey's picture. Above: each transfer's flight time over the
// brachistochrone, by target (green in orbit, red not, drawn at the top). Below: its final orbit,
// periapsis to apoapsis above the surface.
#ifndef KVHOST_SURVEY_SURVEY_PICTURE_H
#define KVHOST_SURVEY_SURVEY_PICTURE_H

#include "survey_runs.h"

#include <string>
#include <vector>

namespace kvhost {

// Writes it as PNG or SVG, by the path's extension; false with the cause.
bool WriteSurveyPicture(const std::string &path, const std::vector<SurveyCase> &cases,
                        const std::vector<Outcome> &outcomes, std::string &error);

}  // namespace kvhost

#endif
