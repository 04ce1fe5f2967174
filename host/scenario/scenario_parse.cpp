// scenario_parse.cpp: reading scenario text into a Scenario.
#include "scenario.h"

#include "numbers.h"

#include "../world/vessel_classes.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kvhost {

namespace {

std::string Trim(const std::string &s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return std::string();
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

std::string StripComment(const std::string &s) {
    const size_t c = s.find(';');
    return c == std::string::npos ? s : s.substr(0, c);
}

bool Same(const std::string &a, const char *b) { return strcasecmp(a.c_str(), b) == 0; }

// Splits "KEY rest" at the first blank.
void SplitItem(const std::string &line, std::string &key, std::string &rest) {
    const size_t sp = line.find_first_of(" \t");
    key = line.substr(0, sp);
    rest = sp == std::string::npos ? std::string() : Trim(line.substr(sp));
}

// A number within [lo, hi].
bool ParseNumberIn(const std::string &text, double lo, double hi, double &out) {
    double v;
    if (!ParseNumber(text, v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseVector(const std::string &text, double bound, VECTOR3 &out) {
    std::istringstream in(text);
    std::string a, b, c, extra;
    if (!(in >> a >> b >> c) || (in >> extra)) return false;
    VECTOR3 v;
    if (!ParseNumberIn(a, -bound, bound, v.x) || !ParseNumberIn(b, -bound, bound, v.y) ||
        !ParseNumberIn(c, -bound, bound, v.z))
        return false;
    out = v;
    return true;
}

// A bound as a person writes it: 400000, -1000000, 3e7, 1e14.
std::string Bound(double b) {
    if (b == std::floor(b) && std::fabs(b) < 1e7) return FormatText("%.0f", b);
    std::string t = FormatText("%g", b);
    const size_t e = t.find("e+");
    if (e != std::string::npos) t.erase(e + 1, 1);
    while (t.find("e0") != std::string::npos) t.erase(t.find("e0") + 1, 1);
    return t;
}

class Parser {
public:
    Parser(const std::string &path, Scenario &sc) : path_(path), sc_(sc) {}

    bool Fail(int line, const std::string &why) {
        error = path_ + ":" + std::to_string(line) + ": " + why;
        return false;
    }

    bool Run(const std::string &text);
    std::string error;
    // Hands each display of a mode the lines that follow its MODE line, as the simulator's reader
    // does. `cleaned` holds every line of the file (index 0 is line 1) without comment or blanks.
    void FillReaderLines(const std::vector<std::string> &cleaned);

private:
    bool Environment(int line, const std::string &key, const std::string &rest);
    bool Focus(int line, const std::string &key, const std::string &rest);
    bool ShipItem(int line, const std::string &key, const std::string &rest);
    bool LevelItem(int line, const std::string &key, const std::string &rest, ScenarioShip &ship);
    bool ElementsItem(int line, const std::string &rest, ScenarioShip &ship);
    bool SurfaceItem(int line, const std::string &key, const std::string &rest, ScenarioShip &ship);
    bool ShipHeader(int line, const std::string &text);
    bool DisplayItem(int line, const std::string &text);
    bool BeginSection(int line, const std::string &key, const std::string &rest);
    bool ReadByTheCore(const std::string &raw) const;

    std::string path_;
    Scenario &sc_;
    std::string section_;  // "" outside any section
    int sectionLine_ = 0;
    int dateLine_ = 0;
    bool inShip_ = false;
};

// The simulator's own reader of this line (every block but a description, a timeline, a module's
// block and the lines of a ship of a class with its own module) takes at most 255 characters.
bool Parser::ReadByTheCore(const std::string &raw) const {
    if (section_ == "TIMELINE") return false;
    if (section_ == "SHIPS" && inShip_) {
        VesselClass cls;
        return !FindVesselClass(sc_.ships.back().className, cls) && Trim(raw) != "END";
    }
    return section_.empty() || section_ == "SHIPS" || section_ == "ENVIRONMENT" || section_ == "FOCUS" ||
           section_ == "CAMERA" || section_ == "HUD" || section_ == "MFD";
}

bool Parser::Run(const std::string &input) {
    std::string text = input;
    // Lines that end in a carriage return alone are one line to the simulator's reader.
    const size_t cr = text.find('\r');
    if (cr != std::string::npos && (cr + 1 == text.size() || text[cr + 1] != '\n') &&
        text.find('\n') == std::string::npos)
        return Fail(1,
                    "the file's lines end in a carriage return alone (old Macintosh line ends), which the "
                    "simulator does not take for line ends: save it with LF or CR LF line ends");
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
        sc_.warnings.push_back(path_ +
                               ":1: the file begins with a UTF-8 byte-order mark, which the simulator "
                               "reads as part of its first line: passed over here");
    }
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    std::vector<std::string> cleaned;
    while (std::getline(in, raw)) {
        ++line;
        // Line ends of any system; a stray carriage return more would not survive a save.
        while (!raw.empty() && raw.back() == '\r') raw.pop_back();
        // A description is text, kept line for line as written (blank lines and semicolons
        // included), and ends only at END_DESC, as the simulator reads it.
        if (IsDescriptionSection(section_)) {
            if (Same(Trim(raw), ("END_" + section_).c_str())) {
                sc_.otherSections.back().end = Trim(raw);
                section_.clear();
            } else {
                sc_.otherSections.back().lines.push_back(raw);
                sc_.otherSections.back().lineNumbers.push_back(line);
            }
            cleaned.push_back(Trim(StripComment(raw)));
            continue;
        }
        const std::string t = Trim(StripComment(raw));
        cleaned.push_back(t);
        if (t.empty()) continue;
        if (raw.size() > kSimulatorLineLength && ReadByTheCore(raw)) {
            sc_.warnings.push_back(
                path_ + ":" + std::to_string(line) +
                FormatText(
                    ": a line of %zu characters: the simulator reads at most %zu here and stops reading the "
                    "block at it (in the ships block, every later ship is left out); the stand-in reads it whole",
                    raw.size(), kSimulatorLineLength));
        }
        std::string key, rest;
        SplitItem(t, key, rest);
        if (section_.empty()) {
            if (!BeginSection(line, key, rest)) return false;
            continue;
        }
        const bool known = section_ == "ENVIRONMENT" || section_ == "FOCUS" || section_ == "SHIPS" || section_ == "MFD";
        // The camera's presets sit in a block of their own inside it, and a module's block may
        // hold blocks of its own (an external display's state, say); the blocks the stand-in
        // reads itself never sit inside another: one of them here means an END line is missing.
        const bool ours = Same(key, "BEGIN_ENVIRONMENT") || Same(key, "BEGIN_FOCUS") || Same(key, "BEGIN_SHIPS") ||
                          Same(key, "BEGIN_TIMELINE");
        // A ship's own lines may hold blocks of its class's (they end at their own END_ line, and
        // only a whole line END ends the ship).
        const bool nested = (section_ == "CAMERA" && (Same(key, "BEGIN_PRESET") || Same(key, "END_PRESET"))) ||
                            (!known && section_ != "TIMELINE" && !ours) ||
                            (section_ == "SHIPS" && inShip_ && !ours && !Same(key, "BEGIN_MFD"));
        if (strncasecmp(key.c_str(), "BEGIN_", 6) == 0 && !nested)
            return Fail(line, key + " inside BEGIN_" + section_ + ", which has no END_" + section_ + " (line " +
                                  std::to_string(sectionLine_) + ")");
        // A module's block ends with a bare END, as the simulator writes it.
        if (Same(key, ("END_" + section_).c_str()) || (!known && Same(t, "END"))) {
            if (inShip_) return Fail(line, "ship '" + sc_.ships.back().name + "' has no END line");
            if (!known) sc_.otherSections.back().end = t;
            section_.clear();
            continue;
        }
        bool ok = true;
        if (section_ == "ENVIRONMENT")
            ok = Environment(line, key, rest);
        else if (section_ == "FOCUS")
            ok = Focus(line, key, rest);
        else if (section_ == "SHIPS" && !inShip_ && Same(t, "END"))
            // An END with no ship open: one too many; the next line starts the next ship.
            sc_.warnings.push_back(path_ + ":" + std::to_string(line) +
                                   ": END with no ship open in BEGIN_SHIPS (one END too many): passed over");
        else if (section_ == "SHIPS")
            ok = inShip_ ? ShipItem(line, key, rest) : ShipHeader(line, t);
        else if (section_ == "MFD")
            ok = DisplayItem(line, t);
        else {
            sc_.otherSections.back().lines.push_back(raw);
            sc_.otherSections.back().lineNumbers.push_back(line);
        }
        if (!ok) return false;
    }
    if (!section_.empty()) return Fail(sectionLine_, "section BEGIN_" + section_ + " has no END_" + section_);
    FillReaderLines(cleaned);
    return true;
}

void Parser::FillReaderLines(const std::vector<std::string> &cleaned) {
    for (ScenarioDisplay &d : sc_.displays) {
        if (d.modeLine <= 0) continue;
        for (size_t i = static_cast<size_t>(d.modeLine); i < cleaned.size() && !Same(cleaned[i], "END"); ++i)
            d.readerLines.push_back(cleaned[i]);
    }
}

bool Parser::BeginSection(int line, const std::string &key, const std::string &rest) {
    if (key.size() <= 6 || strncasecmp(key.c_str(), "BEGIN_", 6) != 0) {
        // The simulator looks for the blocks it knows and reads nothing else.
        sc_.warnings.push_back(path_ + ":" + std::to_string(line) + ": '" + key +
                               "' outside any section (expected BEGIN_...): passed over");
        return true;
    }
    std::string name = key.substr(6);
    for (char &c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    section_ = name;
    sectionLine_ = line;
    if (name == "MFD") {
        ScenarioDisplay d;
        d.line = line;
        // Named as the simulator names them: Left and Right, then 3 to 12 (identifier + 1).
        // 1 and 2 name Left and Right too; 0, which only older saves of ours wrote, is Left.
        if (Same(rest, "Left"))
            d.slot = 0;
        else if (Same(rest, "Right"))
            d.slot = 1;
        else {
            double name;
            if (!ParseNumberIn(rest, 0, kCockpitDisplayCount, name) || name != std::floor(name))
                return Fail(line, "display block '" + rest + "' is not Left, Right or 3 to 12");
            d.slot = name == 0 ? 0 : static_cast<int>(name) - 1;
        }
        for (const ScenarioDisplay &other : sc_.displays)
            if (other.slot == d.slot)
                return Fail(line, "display " + DisplayBlockName(d.slot) + " is given twice (line " +
                                      std::to_string(other.line) + ")");
        sc_.displays.push_back(d);
    } else if (name != "ENVIRONMENT" && name != "FOCUS" && name != "SHIPS") {
        ScenarioSection s;
        s.name = name;
        s.header = key;
        s.argument = rest;
        s.line = line;
        sc_.otherSections.push_back(s);
    }
    return true;
}

bool Parser::Environment(int line, const std::string &key, const std::string &rest) {
    if (Same(key, "System")) {
        if (rest.empty()) return Fail(line, "System needs a name");
        if (sc_.systemLine)
            return Fail(line, "System is given twice (first on line " + std::to_string(sc_.systemLine) + ")");
        sc_.system = rest;
        sc_.systemLine = line;
        return true;
    }
    if (Same(key, "Date")) {
        // The simulator's three forms: a modified Julian date, a Julian date, a Julian epoch.
        std::string kind, value;
        SplitItem(rest, kind, value);
        double v, mjd = 0;
        if (dateLine_) return Fail(line, "Date is given twice (first on line " + std::to_string(dateLine_) + ")");
        if (value.empty() && (Same(kind, "MJD") || Same(kind, "JD") || Same(kind, "JE"))) {
            // No number: the simulator takes the present moment (the system clock, plus the
            // 66.184 s it counts from UTC to its time scale), and saves the date it took.
            sc_.mjd = 40587 + (static_cast<double>(std::time(nullptr)) + 66.184) / 86400;
            sc_.warnings.push_back(path_ + ":" + std::to_string(line) +
                                   FormatText(": Date %s without a number: the "
                                              "present moment, MJD %.6f, as the "
                                              "simulator takes it",
                                              kind.c_str(), sc_.mjd));
            dateLine_ = line;
            return true;
        }
        const bool number = ParseNumber(value, v) && std::isfinite(v);
        if (number && Same(kind, "MJD"))
            mjd = v;
        else if (number && Same(kind, "JD"))
            mjd = v - 2400000.5;
        else if (number && Same(kind, "JE"))
            mjd = (v - 2000) * 365.25 + 51544.5;
        if (!number || (!Same(kind, "MJD") && !Same(kind, "JD") && !Same(kind, "JE")) || !(mjd >= kMinMjd) ||
            !(mjd <= kMaxMjd))
            return Fail(line, "Date must be 'Date MJD <number>' with the number from " + Bound(kMinMjd) + " to " +
                                  Bound(kMaxMjd) + " (or JD or JE for the same dates), not '" + rest + "'");
        sc_.mjd = mjd;
        dateLine_ = line;
        return true;
    }
    // Script, Context, Help, Playback, SplashScreen and any other line: the simulator passes them
    // on, and so does the stand-in.
    sc_.environmentLines.push_back(rest.empty() ? key : key + " " + rest);
    return true;
}

bool Parser::Focus(int line, const std::string &key, const std::string &rest) {
    if (!Same(key, "Ship") || rest.empty()) return Fail(line, "BEGIN_FOCUS takes 'Ship <name>'");
    if (sc_.focusLine)
        return Fail(line, "the focus is given twice (first on line " + std::to_string(sc_.focusLine) + ")");
    sc_.focus = rest;
    sc_.focusLine = line;
    return true;
}

bool Parser::ShipHeader(int line, const std::string &text) {
    // "name:class", or a bare name that is its own class (Mir, ISS).
    const size_t colon = text.find(':');
    if (colon == 0 || (colon != std::string::npos && colon + 1 >= text.size()))
        return Fail(line, "a ship starts with 'name:class', not '" + text + "'");
    ScenarioShip ship;
    ship.name = Trim(text.substr(0, colon));
    ship.className = colon == std::string::npos ? ship.name : Trim(text.substr(colon + 1));
    if (ship.name.empty() || ship.className.empty())
        return Fail(line, "a ship starts with 'name:class', not '" + text + "'");
    if (ship.className.size() > kMaxNameLength)
        return Fail(line, "class name of " + std::to_string(ship.className.size()) + " characters (at most " +
                              std::to_string(kMaxNameLength) + ")");
    if (ship.name.size() > kMaxNameLength)
        return Fail(line, "ship name of " + std::to_string(ship.name.size()) + " characters (at most " +
                              std::to_string(kMaxNameLength) + ")");
    ship.line = line;
    for (const ScenarioShip &other : sc_.ships)
        if (Same(other.name, ship.name.c_str())) return Fail(line, "ship '" + ship.name + "' is given twice");
    sc_.ships.push_back(ship);
    inShip_ = true;
    return true;
}

bool Parser::ShipItem(int line, const std::string &key, const std::string &rest) {
    ScenarioShip &ship = sc_.ships.back();
    // A ship's block ends only at a whole line END (a class's own "END INTERNAL" is one of its
    // lines, kept as it stands), as the simulator reads it.
    if (Same(key, "END") && rest.empty()) {
        if (ship.statusBody.empty()) {
            // Without a STATUS line the simulator places the ship about the Sun.
            sc_.warnings.push_back(path_ + ":" + std::to_string(ship.line) + ": ship '" + ship.name +
                                   "' has no STATUS line: it orbits the Sun, as in the simulator");
            ship.statusBody = "Sun";
            ship.statusLine = ship.line;
        }
        inShip_ = false;
        return true;
    }
    if (Same(key, "STATUS")) {
        std::string how, body;
        SplitItem(rest, how, body);
        if ((!Same(how, "Orbiting") && !Same(how, "Landed")) || body.empty())
            return Fail(line, "STATUS must be 'Orbiting <body>' or 'Landed <body>'");
        ship.landed = Same(how, "Landed");
        if (ship.landed) {
            ship.heading = 0;
            ship.arotGiven = false;
        }
        ship.statusBody = body;
        ship.statusLine = line;
        return true;
    }
    struct VectorItem {
        const char *key;
        VECTOR3 *into;
        double bound;
        const char *unit;
    };
    const VectorItem items[] = {{"RPOS", &ship.rpos, kMaxRelPos, "m"},
                                {"RVEL", &ship.rvel, kMaxRelVel, "m/s"},
                                {"AROT", &ship.arot, kMaxAttitude, "degrees"},
                                {"VROT", &ship.vrot, kMaxSpin, "degrees/s"}};
    for (const VectorItem &item : items) {
        if (!Same(key, item.key)) continue;
        if (!ParseVector(rest, item.bound, *item.into))
            return Fail(line, key + " needs three numbers from -" + Bound(item.bound) + " to " + Bound(item.bound) +
                                  " " + item.unit + ", not '" + rest + "'");
        if (item.into == &ship.arot) ship.arotGiven = true;
        return true;
    }
    if (Same(key, "PRPLEVEL") || Same(key, "THLEVEL") || Same(key, "FUEL")) {
        ship.levelLines.push_back(key + " " + rest);
        return LevelItem(line, key, rest, ship);
    }
    if (Same(key, "ELEMENTS")) return ElementsItem(line, rest, ship);
    if (Same(key, "BASE") || Same(key, "POS") || Same(key, "HEADING") || Same(key, "ALT"))
        return SurfaceItem(line, key, rest, ship);
    // Docking, radio, mode and recorder lines, and a vessel class's own: kept as they stand.
    if (Same(key, "DOCKINFO")) ship.docked = true;
    ship.keptLines.push_back(rest.empty() ? key : key + " " + rest);
    return true;
}

// PRPLEVEL and THLEVEL ("index:level" pairs) and FUEL (every tank at one level). A FUEL or
// PRPLEVEL line takes the place of any before it, as in the simulator. A thruster's level may be
// any number: the simulator keeps it as written and runs the engine at it within 0 to 1.
bool Parser::LevelItem(int line, const std::string &key, const std::string &rest, ScenarioShip &ship) {
    if (Same(key, "FUEL")) {
        if (!ParseNumberIn(rest, 0, 1, ship.fuel))
            return Fail(line, "FUEL takes a level from 0 to 1, not '" + rest + "'");
        ship.fuelGiven = true;
        ship.tankLevels.clear();
        ship.tankLine = line;
        return true;
    }
    const bool tanks = Same(key, "PRPLEVEL");
    std::vector<std::pair<int, double>> &levels = tanks ? ship.tankLevels : ship.thrusterLevels;
    const int most = tanks ? kMaxTankIndex : kMaxThrusterIndex;
    const double lowest = tanks ? 0 : -kMaxThrusterLevel, highest = tanks ? 1 : kMaxThrusterLevel;
    std::istringstream in(rest);
    std::string pair;
    levels.clear();
    if (tanks) ship.fuelGiven = false;
    (tanks ? ship.tankLine : ship.thrusterLine) = line;
    while (in >> pair) {
        const size_t colon = pair.find(':');
        double index, level;
        if (colon == std::string::npos || !ParseNumberIn(pair.substr(0, colon), 0, most, index) ||
            index != std::floor(index) || !ParseNumberIn(pair.substr(colon + 1), lowest, highest, level))
            return Fail(line, key + " takes '" + (tanks ? "tank" : "thruster") + ":level' pairs, a " +
                                  (tanks ? "tank" : "thruster") + " from 0 to " + std::to_string(most) +
                                  (tanks ? " and a level from 0 to 1" : " and a level from -1e9 to 1e9") + ", not '" +
                                  pair + "'");
        levels.push_back({static_cast<int>(index), level});
    }
    return true;
}

// An orbit given by its elements, in place of RPOS and RVEL.
bool Parser::ElementsItem(int line, const std::string &rest, ScenarioShip &ship) {
    std::istringstream in(rest);
    std::string word;
    int n = 0;
    // An ellipse (the stand-in places no ship on an open orbit), the angles within a turn
    // either way, the mean longitude within a billion degrees.
    static const double lo[7] = {1, 0, -360, -360, -360, -1e9, kMinMjd};
    static const double hi[7] = {1e14, 0.99, 360, 360, 360, 1e9, kMaxMjd};
    while (n < 7 && in >> word)
        if (!ParseNumberIn(word, lo[n], hi[n], ship.elements[n]))
            break;
        else
            ++n;
    if (n != 7 || (in >> word))
        return Fail(line,
                    "ELEMENTS takes a (1 to 1e14 m), e (0 to 0.99), the inclination, node and longitude "
                    "of periapsis (-360 to 360 degrees), the mean longitude (degrees) and the epoch (MJD), "
                    "not '" +
                        rest + "'");
    ship.elementsGiven = true;
    ship.elementsLine = line;
    return true;
}

// A landed ship's BASE, POS, HEADING and ALT. A later POS moves a ship off the pad its BASE
// line named; a BASE before STATUS has no body to look its name up on.
bool Parser::SurfaceItem(int line, const std::string &key, const std::string &rest, ScenarioShip &ship) {
    std::istringstream in(rest);
    std::string a, b;
    if (Same(key, "POS")) {
        if (!(in >> a >> b) || !ParseNumberIn(a, -360, 360, ship.longitude) ||
            !ParseNumberIn(b, -90, 90, ship.latitude))
            return Fail(line, "POS takes a longitude and a latitude in degrees, not '" + rest + "'");
        ship.positionGiven = true;
        ship.positionAfterBase = !ship.baseName.empty();
    } else if (Same(key, "HEADING")) {
        if (!ParseNumberIn(rest, -360, 360, ship.heading))
            return Fail(line, "HEADING takes degrees from north towards east (-360 to 360), not '" + rest + "'");
    } else if (Same(key, "ALT")) {
        if (!ParseNumberIn(rest, -1e4, 1e7, ship.altitude))
            return Fail(line, "ALT takes a height above the ground from -10000 to 1e7 m, not '" + rest + "'");
    } else {
        if (ship.statusBody.empty())
            return Fail(line, "BASE must follow the ship's STATUS line: it names a base on the STATUS body");
        const size_t colon = rest.rfind(':');
        double pad = -1;
        if (colon != std::string::npos && !ParseNumberIn(rest.substr(colon + 1), 0, 999, pad))
            return Fail(line, "BASE takes a base's name and a pad, as 'Habana:2', not '" + rest + "'");
        if (pad != std::floor(pad)) return Fail(line, "BASE: the pad is a whole number, not '" + rest + "'");
        ship.baseName = Trim(colon == std::string::npos ? rest : rest.substr(0, colon));
        if (ship.baseName.empty()) return Fail(line, "BASE names no base");
        ship.basePad = static_cast<int>(pad);
        ship.baseLine = line;
    }
    return true;
}

bool Parser::DisplayItem(int line, const std::string &text) {
    ScenarioDisplay &d = sc_.displays.back();
    std::string key, rest;
    SplitItem(text, key, rest);
    if (d.type.empty()) {
        // The simulator skips to the first TYPE line; a block without one opens no display and
        // is not written again.
        if (Same(key, "TYPE") && !rest.empty()) d.type = rest;
        return true;
    }
    if (Same(d.type, "User") && d.mode.empty() && d.lines.empty() && Same(key, "MODE") && !rest.empty()) {
        // The mode is named on the line right after TYPE User; without it the simulator opens
        // no display, and the stand-in keeps the block as it stands.
        d.mode = rest;
        d.modeLine = line;
        return true;
    }
    d.lines.push_back(text);
    d.lineNumbers.push_back(line);
    return true;
}

}  // namespace

bool ParseScenario(const std::string &text, const std::string &path, Scenario &out, std::string &error) {
    Scenario sc;
    sc.path = path;
    Parser p(path, sc);
    if (!p.Run(text)) {
        error = p.error;
        return false;
    }
    out = sc;
    return true;
}

bool LoadScenarioFile(const std::string &path, Scenario &out, std::string &error) {
    std::string text;
    if (!ReadTextFile(path, "scenario file", kMaxScenarioBytes, text, error)) return false;
    return ParseScenario(text, path, out, error);
}

}  // namespace kvhost
