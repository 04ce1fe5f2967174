// cmd_bodies.cpp: "kavrex-sim bodies": the focus vessel's body list as the plug-in built it.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../session/session.h"
#include "../session/plugin_exports.h"

#include <cstdio>

namespace kvhost {

int RunBodies(const CommandLine &cl) {
    Session session;
    if (!StartSession(session, cl)) return 1;
    // The vessel opens the mode on slot 0 unless the scenario already opened displays.
    if (OpenDisplaysOrKavrex(session).empty()) return 1;
    if (!session.plugin().Symbol("KavrexDescribeFocusShip"))
        return Fail("the plug-in " + cl.plugin + " cannot describe its ships");
    ShipDescription d;
    if (!DescribeFocusShip(session, d)) return Fail("the focus vessel has no Kavrex record");
    std::printf("%s (record %s) in %s, MJD %.4f\n", d.name.c_str(), d.record.c_str(), session.scenario().path.c_str(),
                session.world().Mjd());
    std::printf("%5s  %-16s %6s %6s  %s\n", "index", "name", "parent", "moons", "colour");
    for (const DescribedBody &b : d.bodies)
        std::printf("%5s  %-16s %6s %6s  %s\n", b.index.c_str(), b.name.c_str(), b.parent.c_str(), b.moons.c_str(),
                    b.colour.c_str());
    std::printf("source: %u %s\n", d.source, d.NameOf(d.source).c_str());
    std::printf("target: %u %s\n", d.target, d.NameOf(d.target).c_str());
    return 0;
}

}  // namespace kvhost
