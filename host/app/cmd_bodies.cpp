// cmd_bodies.cpp: "kavrex-sim bodies": the focus vessel's body list as the plug-in built it.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "session.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace kvhost {

namespace {

std::vector<std::string> Fields(const std::string &line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string f;
    while (std::getline(in, f, '\t')) out.push_back(f);
    return out;
}

}  // namespace

int RunBodies(const CommandLine &cl) {
    Session session;
    if (!StartSession(session, cl)) return 1;
    // The vessel opens the mode on slot 0 unless the scenario already opened displays.
    if (OpenDisplaysOrKavrex(session).empty()) return 1;
    if (!session.plugin().Symbol("KavrexDescribeFocusShip"))
        return Fail("the plug-in " + cl.plugin + " cannot describe its ships");
    const std::string text = PluginDescription(session, "KavrexDescribeFocusShip");
    if (text.empty()) return Fail("the focus vessel has no Kavrex record");

    std::istringstream in(text);
    std::string line, shipName, record;
    std::vector<std::vector<std::string>> bodies;
    unsigned source = 0, target = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> f = Fields(line);
        if (f.empty()) continue;
        if (f[0] == "SHIP" && f.size() >= 3) { shipName = f[1]; record = f[2]; }
        else if (f[0] == "SOURCE" && f.size() >= 2) source = static_cast<unsigned>(std::stoul(f[1]));
        else if (f[0] == "TARGET" && f.size() >= 2) target = static_cast<unsigned>(std::stoul(f[1]));
        else if (f[0] == "BODY" && f.size() >= 6) bodies.push_back(f);
    }
    std::printf("%s (record %s) in %s, MJD %.4f\n", shipName.c_str(), record.c_str(), session.scenario().path.c_str(),
                session.world().Mjd());
    std::printf("%5s  %-16s %6s %6s  %s\n", "index", "name", "parent", "moons", "colour");
    for (const std::vector<std::string> &b : bodies)
        std::printf("%5s  %-16s %6s %6s  %s\n", b[1].c_str(), b[2].c_str(), b[3].c_str(), b[4].c_str(), b[5].c_str());
    auto nameOf = [&](unsigned i) { return i < bodies.size() ? bodies[i][2] : std::string("?"); };
    std::printf("source: %u %s\n", source, nameOf(source).c_str());
    std::printf("target: %u %s\n", target, nameOf(target).c_str());
    return 0;
}

}  // namespace kvhost
