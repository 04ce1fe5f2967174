// display_lines.cpp: checking a Kavrex display's scenario lines against what the display did with
// them. Keys are matched as the display matches them: the first characters, any letter case
// (KV_SOU and KV_CEN are enough for a source or a centre line).
#include "display_lines.h"

#include "../scenario/numbers.h"
#include "session.h"
#include "plugin_exports.h"

#include <strings.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kvhost {

namespace {

constexpr int kStripCell = 4;  // characters of a status-strip cell (the acceleration's)

bool Key(const std::string &line, const char *key, size_t n) { return strncasecmp(line.c_str(), key, n) == 0; }

// The first blank-delimited word from character `from` on, as the display reads a name.
std::string NameAt(const std::string &line, size_t from) {
    if (from >= line.size()) return "";
    const size_t a = line.find_first_not_of(" \t", from);
    if (a == std::string::npos) return "";
    return line.substr(a, line.find_first_of(" \t", a) - a);
}

// Why a name is not in the display's list: a moon without the moons setting, or no such body.
std::string WhyNotListed(const World &world, const std::string &name) {
    if (world.IsMoon(world.FindBody(name)))
        return "a moon, which the display lists only with the moons setting (KV_FLAGS bit 7, value 128)";
    return "no body of the display's list";
}

std::string TanksWarning(const std::string &value) {
    errno = 0;
    char *end = nullptr;
    const long long n = std::strtoll(value.c_str(), &end, 10);
    if (end == value.c_str()) return "no number: the display keeps its count of refills";
    if (n < 0) return "a negative count: the display keeps its count of refills";
    if (errno == ERANGE || n > static_cast<long long>(UINT32_MAX))
        return "beyond the display's 32-bit count: the display keeps its count of refills";
    if (n > INT32_MAX)
        return FormatText("beyond 2147483647: the display shows it as Tanks %d (and saves it back as written)",
                          static_cast<int32_t>(static_cast<uint32_t>(n)));
    return "";
}

std::string ArtGeeWarning(const std::string &value) {
    char *end = nullptr;
    const double x = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !std::isfinite(x)) return "no number: the display keeps its acceleration";
    if (std::fabs(x) > FLT_MAX)
        return "beyond single precision, in which the display keeps it: the display keeps its acceleration";
    if (x <= 0) return "no acceleration the drive can give: engaged, it sets the main engines to 0";
    const std::string shown = FormatText("%2.1f", static_cast<double>(static_cast<float>(x)));
    if (shown.size() > static_cast<size_t>(kStripCell))
        return "shown as " + shown + ", wider than the strip's " + std::to_string(kStripCell) +
               "-character cell: it runs into the next";
    return "";
}

std::string EjectWarning(const std::string &value) {
    char *end = nullptr;
    const double x = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !std::isfinite(x)) return "no date: the display keeps its departure date";
    return "";
}

// The flags word as the display reads it: a whole number, of which bits 0 to 7 count.
std::string FlagsWarning(const std::string &value, bool ejectGiven) {
    char *end = nullptr;
    errno = 0;
    const long long n = std::strtoll(value.c_str(), &end, 10);
    if (end == value.c_str()) return "no number: the display keeps its switches";
    std::string why;
    const unsigned bits = static_cast<unsigned>(n) & 0xFFu;
    if (n < 0 || n > 255 || errno == ERANGE) why = FormatText("only bits 0 to 7 count: read as %u", bits);
    if ((bits & 16u) && !ejectGiven)
        why += std::string(why.empty() ? "" : "; ") +
               "bit 4 (the flight clock runs) without KV_EJECT: the clock counts from MJD 0";
    return why;
}

// A line, cut to a length a warning can show.
std::string Shown(const std::string &line) {
    constexpr size_t kMost = 80;
    return line.size() <= kMost ? line : line.substr(0, kMost) + FormatText("... (%zu characters)", line.size());
}

}  // namespace

std::vector<std::string> DisplayLineWarnings(Session &session) {
    std::vector<std::string> out;
    ShipDescription ship;
    const bool described = DescribeFocusShip(session, ship);
    for (const ScenarioDisplay &d : session.scenario().displays) {
        if (strcasecmp(d.mode.c_str(), "Kavrex") != 0) continue;
        bool ejectGiven = false;
        for (const std::string &line : d.lines)
            ejectGiven = ejectGiven || (Key(line, "KV_EJECT", 8) && EjectWarning(line.substr(8)).empty());
        for (size_t i = 0; i < d.lines.size(); ++i) {
            const std::string &line = d.lines[i];
            const std::string where = session.scenario().path + ":" + std::to_string(d.lineNumbers[i]) + ": ";
            std::string why;
            if (Key(line, "KV_TANKS", 8)) {
                why = TanksWarning(line.substr(8));
            } else if (Key(line, "KV_EJECT", 8)) {
                why = EjectWarning(line.substr(8));
            } else if (Key(line, "KV_ARTGEE", 9)) {
                why = ArtGeeWarning(line.substr(9));
            } else if (Key(line, "KV_FLAGS", 8)) {
                why = FlagsWarning(line.substr(8), ejectGiven);
            } else if (!Key(line, "KV_TARGET", 9) && !Key(line, "KV_SOU", 6) && !Key(line, "KV_CEN", 6)) {
                if (line.find_first_not_of(" \t") == std::string::npos) continue;
                why =
                    "not a line the display reads (KV_TARGET, KV_SOURCE, KV_CENTER, KV_FLAGS, KV_ARTGEE, KV_EJECT, "
                    "KV_TANKS): passed over";
            } else if (described) {
                const std::string name = NameAt(line, 9);
                if (name.empty() || ship.Find(name) >= 0) continue;
                why = "'" + Shown(name) + "' is " + WhyNotListed(session.world(), name);
                if (Key(line, "KV_TARGET", 9))
                    why += ": the display keeps its target, " + ship.NameOf(ship.target);
                else if (Key(line, "KV_SOU", 6))
                    why += ": the display keeps its source, " + ship.NameOf(ship.source);
                else
                    why += ": the plot keeps the centre it had";
            }
            if (!why.empty()) out.push_back(where + Shown(line) + ": " + why);
        }
    }
    return out;
}

}  // namespace kvhost
