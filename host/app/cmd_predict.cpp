// cmd_predict.cpp: "kavrex-sim predict": the display's prediction after one computation, as
// CSV: a header of the computation's results, then every point with the ship's state and the
// position of every body the variant modelled.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../scenario/scenario_write.h"
#include "../session/plugin_exports.h"
#include "../session/session.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace kvhost {

int RunPredict(const CommandLine &cl) {
    Session session;
    if (!StartSession(session, cl)) return 1;
    if (OpenDisplaysOrKavrex(session).empty()) return 1;
    session.FlyToOneMoment(1);  // one computation, handed over
    const std::string csv = PredictionText(session);
    if (csv.empty()) return Fail("the plug-in " + cl.plugin + " has no prediction to describe");
    std::string error;
    if (!cl.out.empty()) {
        if (!MakeFoldersFor(cl.out, error) || !WriteWholeFile(cl.out, csv, error)) return Fail(error);
    }
    // The header, and where the rows went.
    std::istringstream in(csv);
    std::string line;
    long rows = -1;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '#')
            std::printf("%s\n", line.c_str() + 2);
        else
            ++rows;
    }
    if (cl.out.empty())
        std::printf("%ld points (--out FILE.csv writes them)\n", rows);
    else
        std::printf("wrote %s (%ld points)\n", cl.out.c_str(), rows);
    return 0;
}

}  // namespace kvhost
