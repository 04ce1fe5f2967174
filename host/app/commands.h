// commands.h: the program's commands and its parsed command line.
#ifndef KVHOST_APP_COMMANDS_H
#define KVHOST_APP_COMMANDS_H

#include <string>

namespace kvhost {

struct CommandLine {
    std::string command;    // "bodies", "run"
    std::string scenario;   // empty: the default scenario
    std::string plugin;     // the plug-in library
    std::string out;        // output folder (run)
    long steps = 0;         // frames to fly (run)
    double warp = 1;        // time acceleration (run)
    long mode = 0;          // display page to show (render); 0: as it opens
    double scale = 3;       // picture scale (render)
    bool stepsGiven = false;
};

int RunBodies(const CommandLine &cl);
int RunFlight(const CommandLine &cl);
int RunRender(const CommandLine &cl);

}  // namespace kvhost

#endif
