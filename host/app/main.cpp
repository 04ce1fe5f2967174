// main.cpp: kavrex-sim, the headless stand-in simulator's command-line program.
#include "../cockpit/plugin.h"
#include "commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Usage(FILE *out) {
    std::fprintf(out,
                 "usage: kavrex-sim [COMMAND] [SCENARIO] [--plugin LIB]\n"
                 "\n"
                 "commands:\n"
                 "  bodies [SCENARIO]   load the plug-in, open the Kavrex display on the focus\n"
                 "                      vessel and print its body list, source and target\n"
                 "\n"
                 "Without a command kavrex-sim runs 'bodies' on the default scenario (a vessel\n"
                 "in low Earth orbit). The plug-in is libKavrex.so beside the program, or\n"
                 "$KAVREX_PLUGIN, or --plugin LIB.\n");
}

}  // namespace

int main(int argc, char **argv) {
    kvhost::CommandLine cl;
    cl.plugin = kvhost::DefaultPluginPath();
    std::string positional[2];
    int npos = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            Usage(stdout);
            return 0;
        }
        if (a == "--plugin") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "kavrex-sim: --plugin needs a library path\n");
                return 2;
            }
            cl.plugin = argv[++i];
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "kavrex-sim: unknown option '%s'\n", a.c_str());
            Usage(stderr);
            return 2;
        }
        if (npos >= 2) {
            std::fprintf(stderr, "kavrex-sim: too many arguments ('%s')\n", a.c_str());
            return 2;
        }
        positional[npos++] = a;
    }
    cl.command = npos > 0 ? positional[0] : "bodies";
    cl.scenario = npos > 1 ? positional[1] : "";
    if (cl.command == "bodies") return kvhost::RunBodies(cl);
    std::fprintf(stderr, "kavrex-sim: unknown command '%s'\n", cl.command.c_str());
    Usage(stderr);
    return 2;
}
