// scenario.h: scenario files in the simulator's style: what they hold and reading them.
//
// A file is read whole into a Scenario before anything is built from it, so a broken file is
// refused with "FILE:LINE: reason" and nothing is half-loaded. Sections the host does not know
// (a program's own, such as a pilot's timeline) are kept as they stand.
#ifndef KVHOST_SCENARIO_SCENARIO_H
#define KVHOST_SCENARIO_SCENARIO_H

#include <Orbitersdk.h>

#include "../files/files.h"

#include <string>
#include <utility>
#include <vector>

namespace kvhost {

// What a scenario may hold; outside these bounds a file is refused with its line and the bound.
constexpr double kMinMjd = -1000000, kMaxMjd = 400000;  // the span ERFA's planetary theory serves
constexpr double kMaxRelPos = 1e14;                     // m, each component: 670 au, well beyond the planets
constexpr double kMaxRelVel = 3e7;                      // m/s, each component: a tenth of the speed of light
constexpr double kMaxAttitude = 3600;                   // degrees, each AROT angle
constexpr double kMaxSpin = 3600;                       // degrees/s, each VROT rate: ten turns a second
constexpr int kMaxTankIndex = 63;
constexpr int kMaxThrusterIndex = 255;
constexpr double kMaxThrusterLevel = 1e9;     // a THLEVEL level, either sign
constexpr size_t kSimulatorLineLength = 255;  // the longest line most of the simulator's readers take
constexpr size_t kMaxNameLength = 63;         // vessel names, as the simulator hands them out
constexpr int kCockpitDisplayCount = 12;      // display identifiers 0..11 a scenario names

// The name of display `slot`'s block, as the simulator writes it: Left, Right, then 3 to 12.
std::string DisplayBlockName(int slot);

struct ScenarioShip {
    std::string name, className;
    int line = 0;            // of the "name:class" line
    std::string statusBody;  // the body RPOS and RVEL are relative to
    bool landed = false;
    int statusLine = 0;
    VECTOR3 rpos = {{0, 0, 0}}, rvel = {{0, 0, 0}};  // m, m/s, global axes
    VECTOR3 arot = {{0, 0, 0}};                      // degrees
    VECTOR3 vrot = {{0, 0, 0}};                      // degrees/s, vessel axes
    std::vector<std::pair<int, double>> tankLevels;  // tank index, fill 0..1
    int tankLine = 0, thrusterLine = 0;              // of PRPLEVEL (or FUEL) and THLEVEL
    bool fuelGiven = false;                          // FUEL (every tank at one level), the older form of PRPLEVEL
    double fuel = 0;
    std::vector<std::pair<int, double>> thrusterLevels;  // THLEVEL: thruster index, level 0..1
    int elementsLine = 0;
    bool elementsGiven = false;  // ELEMENTS a e i LAN long.peri. mean-long. epoch (instead of RPOS/RVEL)
    double elements[7] = {};
    // Where a landed ship stands: POS (degrees), BASE name[:pad] (pad 0: the base's centre; -1:
    // no pad named), HEADING (degrees), ALT (m, used with AROT), and whether AROT gave its
    // attitude on the body (STATUS Landed takes back a heading and an AROT before it).
    bool positionGiven = false, positionAfterBase = false;
    double longitude = 0, latitude = 0;
    std::string baseName;
    int basePad = -1, baseLine = 0;
    double heading = 0, altitude = 0;
    bool arotGiven = false;
    // Lines the stand-in keeps without acting on them, in the file's order: docking, radio and
    // mode lines; a vessel class's own lines.
    std::vector<std::string> keptLines;
    std::vector<std::string> levelLines;  // PRPLEVEL, FUEL and THLEVEL as written (kept for a passive body)
    bool docked = false;                  // a DOCKINFO line names a mate
};

struct ScenarioDisplay {
    int slot = 0;
    int line = 0;
    std::string type, mode;
    int modeLine = 0;                // of "MODE <name>"; 0 for a display of no mode
    std::vector<std::string> lines;  // the display's own lines, as written
    std::vector<int> lineNumbers;    // of each of them, in the file
    // What the simulator's reader hands the display's ReadStatus: every line after MODE up to
    // the next line "END" or the end of the file (past END_MFD, into the blocks that follow),
    // its comment and the blanks at both ends removed.
    std::vector<std::string> readerLines;
};

struct ScenarioSection {
    std::string name;  // what follows BEGIN_
    std::string argument;
    int line = 0;
    std::vector<std::string> lines;
    std::vector<int> lineNumbers;  // of each line, in the file
    std::string header;            // BEGIN_<name> as the file spells it
    std::string end;               // the line that closed it: END_<name>, or END (a module's block)
};

// The sections whose lines are a text, not items: a scenario's descriptions, kept line for line.
inline bool IsDescriptionSection(const std::string &name) {
    return name == "DESC" || name == "HYPERDESC" || name == "URLDESC";
}

struct Scenario {
    std::string path;
    std::string system = "Sol";
    int systemLine = 0;
    double mjd = 51544.5;
    // The environment's other lines (Script, Context, Help, Playback, SplashScreen and any the
    // stand-in does not know), kept as they stand and written back.
    std::vector<std::string> environmentLines;
    std::string focus;
    int focusLine = 0;
    std::vector<ScenarioShip> ships;
    std::vector<ScenarioDisplay> displays;
    std::vector<ScenarioSection> otherSections;
    // What the reader passed over as the simulator does, "FILE:LINE: what", a line each.
    std::vector<std::string> warnings;
};

// Parses scenario text; `path` names the source in errors. On failure returns false with
// "path:line: reason" in error and leaves `out` untouched.
bool ParseScenario(const std::string &text, const std::string &path, Scenario &out, std::string &error);
bool LoadScenarioFile(const std::string &path, Scenario &out, std::string &error);

// A scenario file holds a few hundred kilobytes at most; a file (or a device or pipe) that goes
// on past this is no scenario, and reading it whole would only exhaust the memory.
constexpr size_t kMaxScenarioBytes = 16u << 20;

}  // namespace kvhost

#endif
