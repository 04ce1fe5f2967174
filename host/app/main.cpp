// main.cpp: kavrex-sim, the headless stand-in simulator's command-line program.
#include "../cockpit/plugin.h"
#include "../scenario/numbers.h"
#include "../sim/simulation.h"
#include "commands.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Usage(FILE *out) {
    std::fprintf(out,
                 "usage: kavrex-sim [COMMAND] [SCENARIO] [options]\n"
                 "\n"
                 "commands:\n"
                 "  bodies [SCENARIO]   load the plug-in, open the Kavrex display on the focus\n"
                 "                      vessel and print its body list, source and target\n"
                 "  run SCENARIO        fly the scenario: open its displays, step the world\n"
                 "  render [SCENARIO]   step the world, refresh the displays and write a picture\n"
                 "                      of each open display (--out FILE.png, .svg or .json)\n"
                 "\n"
                 "options:\n"
                 "  --steps N           frames to fly (run; default 0)\n"
                 "  --warp W            time acceleration (run; default 1)\n"
                 "  --out DIR           run: write DIR/final.scn (the state at the end),\n"
                 "                      DIR/flight.csv (the flight log) and DIR/display-S.png\n"
                 "                      (each open display as last refreshed)\n"
                 "  --out FILE          render: the picture, FILE.png, FILE.svg or FILE.json\n"
                 "  --mode M            render: the page, 1 read-outs, 2 plot, 3 both, 4 ships\n"
                 "  --scale S           render: pixels per display pixel (default 3)\n"
                 "  --size WxH          the displays' size in pixels (default 256x256)\n"
                 "  --plugin LIB        the plug-in library (default: libKavrex.so beside the\n"
                 "                      program, or $KAVREX_PLUGIN)\n"
                 "\n"
                 "Without a command kavrex-sim runs 'bodies' on the default scenario (a vessel\n"
                 "in low Earth orbit).\n");
}

bool EndsWith(const std::string &s, const char *tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
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
        if (a == "--plugin" || a == "--out" || a == "--steps" || a == "--warp" || a == "--mode" || a == "--scale") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "kavrex-sim: %s needs a value\n", a.c_str());
                return 2;
            }
            const char *value = argv[++i];
            double number = 0;
            if (a == "--plugin") {
                cl.plugin = value;
            } else if (a == "--out") {
                cl.out = value;
            } else if (!kvhost::ParseNumber(value, number) || number < 0 || (a == "--scale" && number <= 0) ||
                       (a == "--warp" && (number < kvhost::kMinWarp || number > kvhost::kMaxWarp)) ||
                       (a == "--steps" && (number != std::floor(number) || number > 1e12)) ||
                       (a == "--mode" && (number != std::floor(number) || number < 1 || number > 4)) ||
                       (a == "--scale" && number > 16)) {
                const char *what = a == "--steps" ? "whole number of frames"
                                 : a == "--mode"  ? "page from 1 to 4"
                                 : a == "--scale" ? "scale above 0 and up to 16"
                                                  : "time acceleration from 0.1 to 100000";
                std::fprintf(stderr, "kavrex-sim: %s takes a %s, not '%s'\n", a.c_str(), what, value);
                return 2;
            } else if (a == "--steps") {
                cl.steps = static_cast<long>(number);
                cl.stepsGiven = true;
            } else if (a == "--mode") {
                cl.mode = static_cast<long>(number);
            } else if (a == "--scale") {
                cl.scale = number;
            } else {
                cl.warp = number;
            }
            continue;
        }
        if (a == "--size") {
            int w = 0, h = 0;
            char tail = 0;
            if (i + 1 >= argc || std::sscanf(argv[i + 1], "%dx%d%c", &w, &h, &tail) != 2 || w < 64 || h < 64 ||
                w > 4096 || h > 4096) {
                std::fprintf(stderr, "kavrex-sim: --size takes WIDTHxHEIGHT, each 64 to 4096 pixels\n");
                return 2;
            }
            cl.width = w;
            cl.height = h;
            ++i;
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
    if (cl.command == "run") {
        if (cl.scenario.empty()) {
            std::fprintf(stderr, "kavrex-sim: run needs a scenario file\n");
            return 2;
        }
        return kvhost::RunFlight(cl);
    }
    if (cl.command == "render") {
        if (cl.out.empty() || !(EndsWith(cl.out, ".png") || EndsWith(cl.out, ".svg") || EndsWith(cl.out, ".json"))) {
            std::fprintf(stderr, "kavrex-sim: render needs --out FILE.png, FILE.svg or FILE.json%s%s%s\n",
                         cl.out.empty() ? "" : ", not '", cl.out.c_str(), cl.out.empty() ? "" : "'");
            return 2;
        }
        return kvhost::RunRender(cl);
    }
    std::fprintf(stderr, "kavrex-sim: unknown command '%s'\n", cl.command.c_str());
    Usage(stderr);
    return 2;
}
