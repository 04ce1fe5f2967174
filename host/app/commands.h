// commands.h: the program's commands and its parsed command line.
#ifndef KVHOST_APP_COMMANDS_H
#define KVHOST_APP_COMMANDS_H

#include "../record/output_folders.h"

#include <string>
#include <utility>
#include <vector>

namespace kvhost {

struct CommandLine {
    std::string command;   // "bodies", "run"
    std::string scenario;  // empty: the default scenario
    // run: the scenarios after the first, flown in turn on the same load of the plug-in, as
    // the simulator runs one scenario after another
    std::vector<std::string> moreScenarios;
    std::string plugin;  // the plug-in library
    std::string out;     // output folder (run)
    long steps = 0;      // frames to fly (run)
    double warp = 1;     // time acceleration (run)
    long mode = 0;       // display page to show (render); 0: as it opens
    double scale = 3;    // picture scale (render; fly: window pixels per display pixel)
    bool scaleGiven = false;
    bool paused = false;  // start paused (fly)
    bool stepsGiven = false;
    int width = 256, height = 256;  // display size in pixels
    bool pilot = false;             // the built-in pilot flies (run)
    double fps = 60;                // frames per second of real time (the slowest, for a varying rate)
    double fpsMax = 60;             // the fastest (a varying rate: --fps 30-60)
    unsigned seed = 1;              // of a varying rate
    double mfdRefresh = 0.5;        // simulated seconds between a display's refreshes
    double logEvery = 60;           // simulated seconds between flight-log rows (run)
    // The options with a value given on the command line, as given, in their order.
    std::vector<std::pair<std::string, std::string>> given;
};

class Session;

// Starts the session on the command line's scenario (the default one when none is named), and
// says why on standard error when it cannot.
bool StartSession(Session &session, const CommandLine &cl);
// The open display slots; when none is open, slot 0 is opened in the Kavrex mode first. Empty
// (with the reason on standard error) when that fails.
// With `passiveFocus` given, a focus vessel of a class the stand-in does not build gets no
// display when the scenario opens none: empty, and *passiveFocus set, for a run to fly anyway.
std::vector<int> OpenDisplaysOrKavrex(Session &session, bool *passiveFocus = nullptr);
// Where a flight's files go: --out, or out/<scenario name>/ when none is given.
std::string OutputFolder(const CommandLine &cl, const Session &session);
// Prints "kavrex-sim: <error>" on standard error and gives the exit status 1.
int Fail(const std::string &error);
// Prints "kavrex-sim: warning: <text>" on standard error.
void Warn(const std::string &text);
// What a JSON file says of `count` bytes that were not UTF-8 and were written as U+FFFD.
std::string NotUtf8Note(int count);

int RunBodies(const CommandLine &cl);
int RunFlight(const CommandLine &cl);
int RunRender(const CommandLine &cl);
int RunPredict(const CommandLine &cl);
int RunSurvey(const CommandLine &cl);  // the pilot on a grid of transfers, a process each
int RunFly(const CommandLine &cl);     // needs a display server (the live window)

}  // namespace kvhost

#endif
