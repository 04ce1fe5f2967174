// commands.h: the program's commands and its parsed command line.
#ifndef KVHOST_APP_COMMANDS_H
#define KVHOST_APP_COMMANDS_H

#include <string>

namespace kvhost {

struct CommandLine {
    std::string command;    // "bodies"; empty: the default job
    std::string scenario;   // empty: the default scenario
    std::string plugin;     // the plug-in library
};

int RunBodies(const CommandLine &cl);

}  // namespace kvhost

#endif
