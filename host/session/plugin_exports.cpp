// plugin_exports.cpp: reading the plug-in's descriptions of the focus vessel's record and of its
// last prediction.
#include "plugin_exports.h"

#include "session.h"

#include <strings.h>

#include <cstdlib>
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

int ShipDescription::Find(const std::string &name) const {
    for (size_t i = 0; i < bodies.size(); ++i)
        if (strcasecmp(bodies[i].name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
    return -1;
}

bool DescribeFocusShip(Session &session, ShipDescription &out) {
    const std::string text = PluginDescription(session, "KavrexDescribeFocusShip");
    if (text.empty()) return false;
    std::istringstream in(text);
    ShipDescription d;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = Fields(line);
        if (f.empty()) continue;
        if (f[0] == "SHIP" && f.size() >= 3) {
            d.name = f[1];
            d.record = f[2];
        } else if (f[0] == "SOURCE" && f.size() >= 2) {
            d.source = static_cast<unsigned>(std::strtoul(f[1].c_str(), nullptr, 10));
        } else if (f[0] == "TARGET" && f.size() >= 2) {
            d.target = static_cast<unsigned>(std::strtoul(f[1].c_str(), nullptr, 10));
        } else if (f[0] == "PREDICTIONS" && f.size() >= 2) {
            d.predictions = std::strtoul(f[1].c_str(), nullptr, 10);
        } else if (f[0] == "BODY" && f.size() >= 6) {
            d.bodies.push_back({f[1], f[2], f[3], f[4], f[5]});
        }
    }
    out = d;
    return true;
}

std::string PluginDescription(Session &session, const char *symbol) {
    typedef int (*DescribeFn)(char *buf, int size);
    DescribeFn describe = reinterpret_cast<DescribeFn>(session.plugin().Symbol(symbol));
    if (!describe) return "";
    const int needed = describe(nullptr, 0);
    if (needed < 0) return "";
    std::vector<char> text(static_cast<size_t>(needed) + 1);
    describe(text.data(), static_cast<int>(text.size()));
    return std::string(text.data());
}

std::string PredictionText(Session &session) { return PluginDescription(session, "KavrexDescribePrediction"); }

}  // namespace kvhost
