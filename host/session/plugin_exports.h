// plugin_exports.h: what the plug-in's read-only exports describe, for host tools (the simulator
// never calls them, and the built-in pilot never reads them): the focus vessel's record through
// KavrexDescribeFocusShip (its name and record, source, target, the predictions handed over to
// its displays, its body list) and the last prediction through KavrexDescribePrediction.
#ifndef KVHOST_SESSION_PLUGIN_EXPORTS_H
#define KVHOST_SESSION_PLUGIN_EXPORTS_H

#include <string>
#include <vector>

namespace kvhost {

class Session;

struct DescribedBody {
    std::string index, name, parent, moons, colour;  // as the plug-in wrote them
};

struct ShipDescription {
    std::string name, record;
    unsigned source = 0, target = 0;
    unsigned long predictions = 0;
    std::vector<DescribedBody> bodies;
    // The name of body `index` of the list, or "?".
    std::string NameOf(unsigned index) const { return index < bodies.size() ? bodies[index].name : "?"; }
    // The list index of the body named `name` (any letter case), or -1.
    int Find(const std::string &name) const;
};

// False when the plug-in gives no description (no export, or no record for the focus vessel).
bool DescribeFocusShip(Session &session, ShipDescription &out);

// The text one of the describing exports gives, or "" when it has none to give.
std::string PluginDescription(Session &session, const char *symbol);
// The focus vessel's last prediction as the plug-in describes it (CSV with "#" header lines), or
// "" when there is none.
std::string PredictionText(Session &session);

}  // namespace kvhost

#endif
