// main.cpp: kavrex-sim, the headless stand-in simulator's command-line program.
#include "../cockpit/plugin.h"
#include "../scenario/numbers.h"
#include "../sim/frame_clock.h"
#include "../sim/simulation.h"
#include "../session/session.h"
#include "commands.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char *const kOverview =
    "usage: kavrex-sim [COMMAND] [SCENARIO] [options]     (kavrex-sim COMMAND --help for more)\n"
    "\n"
    "commands:\n"
    "  run [SCENARIO]      fly the scenario and write the flight's outputs; with --pilot the\n"
    "                      built-in pilot flies the transfer by the display alone\n"
    "  render [SCENARIO]   fly a few frames and write a picture of each open display\n"
    "  predict [SCENARIO]  the display's prediction after one computation, as CSV\n"
    "  bodies [SCENARIO]   print the focus vessel's body list as the plug-in built it\n"
    "  fly [SCENARIO]      fly it live in a window, with the mouse and the keys\n"
    "  survey [GRID]       the pilot on a grid of transfers, on every core: survey.csv, a\n"
    "                      picture and the share that ends in orbit\n"
    "\n"
    "Without a command kavrex-sim flies the main job: scenarios/earth-mars.scn with the pilot,\n"
    "from low Earth orbit into orbit around Mars, its outputs in out/earth-mars/.\n";

const char *const kCommon =
    "  --plugin LIB        the plug-in library (default: libKavrex.so beside the program, or\n"
    "                      $KAVREX_PLUGIN)\n"
    "  --size WxH          the displays' size in pixels, 64 to 4096 each (default 256x256)\n"
    "  --fps N|A-B         frames a second of real time, 15 to 200 (default 60), or a rate that\n"
    "                      varies at random between A and B (the first three frames are 0.01 s\n"
    "                      and none counts more than 0.1 s, as in the simulator)\n"
    "  --seed S            the seed of a varying frame rate (default 1)\n"
    "  --mfd-refresh S     simulated seconds between a display's refreshes, 0.01 to 2 (default\n"
    "                      0.5, the simulator's setting); at most ten refreshes a real second\n"
    "  --warp W            time acceleration to start at, 0.1 to 100000 (default 1)\n"
    "  --steps N           frames to fly (run: all of a piloted flight, else a simulated\n"
    "                      minute at the warp; render: 1)\n";

const char *const kRunHelp =
    "usage: kavrex-sim run [SCENARIO...] [--pilot] [--out DIR] [--log-every S] [options]\n"
    "\n"
    "Flies SCENARIO (default scenarios/earth-mars.scn), playing its BEGIN_TIMELINE, and writes\n"
    "to DIR (default out/<scenario name>/):\n"
    "  final.scn           the state at the end, to resume the flight\n"
    "  flight.csv          a row every S simulated seconds and at each pilot action\n"
    "  flight.png, .svg    the flown path in the ecliptic, with the source and the target\n"
    "  summary.json        the flight's figures (also printed)\n"
    "  display-*.png       the display at departure, at each flip, at arrival and at the end\n"
    "With --pilot, a transfer that cannot be flown (the target is the source or the star, the\n"
    "ship is on the ground or has nothing to burn, the set acceleration is more than its engines\n"
    "give or too small for the run's 30 days) is refused at once, saying why; the exit status\n"
    "is then 3.\n"
    "Several scenarios are flown one after another on one load of the plug-in, as the\n"
    "simulator runs them; each writes to its own folder, DIR/<scenario name>/ with --out.\n"
    "\n"
    "options:\n"
    "  --pilot             the built-in pilot flies, reading only the display (docs/pilot.md)\n"
    "  --out DIR           the output folder, made if need be\n"
    "  --log-every S       simulated seconds between log rows, 1 to 1000000 (default 60)\n";

const char *const kSurveyHelp =
    "usage: kavrex-sim survey [GRID] [--out DIR] [--plugin LIB] [--size WxH] [--seed S]\n"
    "                         [--mfd-refresh S]\n"
    "\n"
    "Flies the pilot on every transfer of GRID (default: the built-in grid of 48), each in a\n"
    "process of its own, as many at once as there are cores, and writes to DIR (default\n"
    "out/survey/): case-NNN/ (each run's scenario, log and outputs), survey.csv (a row a\n"
    "transfer: in orbit or why not, the flight time against the brachistochrone, the final\n"
    "orbit), survey.png and survey.svg. A grid file has a line a dimension:\n"
    "  sources Earth:400 Mars:500      body:height of the circular start orbit in km\n"
    "  targets Venus Mars Earth Moon Jupiter\n"
    "  phases 0 60 120 180 240 300     degrees along the start orbit\n"
    "  inclinations 0 150 60           degrees to the ecliptic, taken in turn\n"
    "  accelerations 9.8 4.9 2.45 7.35 m/s^2, taken in turn\n"
    "  fps 60 30 15-60                 frame rates, taken in turn\n"
    "Every source flies to every other target from every phase; a line left out keeps the\n"
    "built-in values. The sources and targets are the system's planets and moons (not the Sun).\n"
    "--size, --seed and --mfd-refresh are given to every case's run; the pilot sets the time\n"
    "acceleration and the grid the frame rates, so --warp, --fps and --steps are refused. A case\n"
    "whose folder holds the same start, the same options and a finished run is not flown again:\n"
    "an interrupted survey resumes, a finished one is pictured anew.\n";

const char *const kRenderHelp =
    "usage: kavrex-sim render [SCENARIO] --out FILE.png|FILE.svg|FILE.json [options]\n"
    "\n"
    "Flies --steps frames (default 1) with the scenario's timeline, then writes each open\n"
    "display, external windows included, as a picture with its button labels (FILE-S.png for\n"
    "several, S the display's slot), or its drawing calls as JSON.\n"
    "\n"
    "options:\n"
    "  --out FILE          the picture: .png, .svg or .json\n"
    "  --mode M            the page of the displays open at the start: 1 read-outs, 2 plot,\n"
    "                      3 both, 4 ships (default as it opens)\n"
    "  --scale S           picture pixels per display pixel, 0.05 to 16 (default 3)\n";

const char *const kPredictHelp =
    "usage: kavrex-sim predict [SCENARIO] [--out FILE.csv] [options]\n"
    "\n"
    "Opens the scenario's displays (or Kavrex on slot 0), flies one frame so that the plug-in\n"
    "computes and hands over a prediction, and prints its header: the variant, the number of\n"
    "points, impact, the arrival date and the closest approach of every watched body. --out\n"
    "writes every point too: its MJD, the ship's position and velocity, and the position of every\n"
    "body the variant modelled, in named columns.\n";

const char *const kBodiesHelp =
    "usage: kavrex-sim bodies [SCENARIO] [options]\n"
    "\n"
    "Loads the plug-in, opens the Kavrex display on the focus vessel of SCENARIO (default\n"
    "scenarios/default.scn) and prints its body list, source and target.\n";

const char *const kFlyHelp =
    "usage: kavrex-sim fly [SCENARIO] [--pilot] [--paused] [--out DIR] [--scale S] [options]\n"
    "\n"
    "Opens a window with each open display of SCENARIO (default scenarios/default.scn; with\n"
    "--pilot scenarios/earth-mars.scn) and flies it in real time times the warp. Closing the\n"
    "window saves the scenario as DIR/final.scn (default out/<scenario name>/), to resume.\n"
    "\n"
    "  mouse               a left click on a button beside a screen presses it; a right click\n"
    "                      is the modified press (the previous body, the reverse step)\n"
    "  letter keys         go to the display under the mouse (else the left-most), as its\n"
    "                      buttons' keys; with Ctrl held they go nowhere, as in the simulator\n"
    "  Tab                 shows or hides that display's button menu (its menu texts and keys)\n"
    "  [ ] keypad-5        the cockpit's prograde, retrograde and kill-rotation holds\n"
    "  Shift+L             the cockpit's level-with-the-horizon hold (L alone is the display's)\n"
    "  + and -             time acceleration x10 and /10 (0.1 to 100000)\n"
    "  Space               pause and go on\n"
    "  Enter, Escape       answer or cancel the \"Select G\" box\n"
    "\n"
    "options:\n"
    "  --pilot             the built-in pilot flies until you press any key or button\n"
    "  --paused            open paused, on the moment \"render\" would picture\n"
    "  --out DIR           where final.scn goes\n"
    "  --scale S           window pixels per display pixel, 0.5 to 8 (default 2)\n"
    "\n"
    "Needs a display server: without one it says so and stops.\n";

void Usage(FILE *out, const std::string &command) {
    const char *text = command == "run"       ? kRunHelp
                       : command == "render"  ? kRenderHelp
                       : command == "predict" ? kPredictHelp
                       : command == "bodies"  ? kBodiesHelp
                       : command == "fly"     ? kFlyHelp
                       : command == "survey"  ? kSurveyHelp
                                              : kOverview;
    std::fprintf(out, "%s\ncommon options:\n%s", text, kCommon);
}

bool EndsWith(const std::string &s, const char *tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// A number option within [lo, hi] (whole when asked); false after saying why.
bool NumberOption(const char *name, const char *value, double lo, double hi, bool whole, const char *what,
                  double &out) {
    double v;
    if (!kvhost::ParseNumber(value, v) || v < lo || v > hi || (whole && v != std::floor(v))) {
        std::fprintf(stderr, "kavrex-sim: %s takes %s, not '%s'\n", name, what, value);
        return false;
    }
    out = v;
    return true;
}

// --fps N, or --fps A-B for a rate that varies at random between A and B frames a second.
bool FrameRateOption(const char *value, kvhost::CommandLine &cl) {
    const std::string v = value;
    const size_t dash = v.find('-', 1);
    const std::string lo = v.substr(0, dash), hi = dash == std::string::npos ? lo : v.substr(dash + 1);
    double a, b;
    const bool ok = kvhost::ParseNumber(lo, a) && kvhost::ParseNumber(hi, b) && a >= kvhost::kMinFps &&
                    b <= kvhost::kMaxFps && a <= b;
    if (!ok) {
        std::fprintf(stderr,
                     "kavrex-sim: --fps takes frames a second from 15 to 200, or a range such as 30-60, not '%s'\n",
                     value);
        return false;
    }
    cl.fps = a;
    cl.fpsMax = b;
    return true;
}

// An option that takes a value: its name and what it does with the value (false after saying
// why the value is refused).
struct ValueOption {
    const char *name;
    bool (*apply)(const char *value, kvhost::CommandLine &cl);
};

// A number option within [lo, hi] stored by `store`.
template <typename Store>
bool Number(const char *name, const char *value, double lo, double hi, bool whole, const char *what, Store store) {
    double n;
    if (!NumberOption(name, value, lo, hi, whole, what, n)) return false;
    store(n);
    return true;
}

bool SizeOption(const char *value, kvhost::CommandLine &cl) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(value, "%dx%d%c", &w, &h, &tail) != 2 || w < 64 || h < 64 || w > 4096 || h > 4096) {
        std::fprintf(stderr, "kavrex-sim: --size takes WIDTHxHEIGHT, each 64 to 4096 pixels, not '%s'\n", value);
        return false;
    }
    cl.width = w;
    cl.height = h;
    return true;
}

// Every option with a value, each with its range.
const ValueOption kValueOptions[] = {
    {"--plugin",
     [](const char *v, kvhost::CommandLine &cl) {
         cl.plugin = v;
         return true;
     }},
    {"--out",
     [](const char *v, kvhost::CommandLine &cl) {
         cl.out = v;
         return true;
     }},
    {"--steps",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--steps", v, 0, 1e12, true, "a whole number of frames", [&](double n) {
             cl.steps = static_cast<long>(n);
             cl.stepsGiven = true;
         });
     }},
    {"--warp",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--warp", v, kvhost::kMinWarp, kvhost::kMaxWarp, false, "a time acceleration from 0.1 to 100000",
                       [&](double n) { cl.warp = n; });
     }},
    {"--mode",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--mode", v, 1, 4, true, "a page from 1 to 4",
                       [&](double n) { cl.mode = static_cast<long>(n); });
     }},
    {"--scale",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--scale", v, 0.05, 16, false, "a scale from 0.05 to 16", [&](double n) {
             cl.scale = n;
             cl.scaleGiven = true;
         });
     }},
    {"--size", SizeOption},
    {"--fps", FrameRateOption},
    {"--mfd-refresh",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--mfd-refresh", v, kvhost::kMinRefreshInterval, kvhost::kMaxRefreshInterval, false,
                       "simulated seconds from 0.01 to 2", [&](double n) { cl.mfdRefresh = n; });
     }},
    {"--seed",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--seed", v, 0, 4294967295.0, true, "a whole number from 0 to 4294967295",
                       [&](double n) { cl.seed = static_cast<unsigned>(n); });
     }},
    {"--log-every",
     [](const char *v, kvhost::CommandLine &cl) {
         return Number("--log-every", v, 1, 1e6, false, "simulated seconds from 1 to 1000000",
                       [&](double n) { cl.logEvery = n; });
     }},
};

const ValueOption *FindValueOption(const std::string &name) {
    for (const ValueOption &o : kValueOptions)
        if (name == o.name) return &o;
    return nullptr;
}

// The options of each command beside the common ones (the survey says itself what it refuses).
struct CommandOptions {
    const char *command;
    std::vector<std::string> own;
};
const CommandOptions kCommandOptions[] = {
    {"run", {"--pilot", "--out", "--log-every"}},
    {"render", {"--out", "--mode", "--scale"}},
    {"predict", {"--out"}},
    {"bodies", {}},
    {"fly", {"--pilot", "--paused", "--out", "--scale"}},
};
const char *const kCommonOptions[] = {"--plugin", "--size", "--fps", "--seed", "--mfd-refresh", "--warp", "--steps"};

// An option the command would pass over is refused with its reason, not ignored.
bool TakesItsOptions(const kvhost::CommandLine &cl) {
    for (const CommandOptions &c : kCommandOptions) {
        if (cl.command != c.command) continue;
        for (const auto &given : cl.given) {
            bool takes = std::find(c.own.begin(), c.own.end(), given.first) != c.own.end();
            for (const char *common : kCommonOptions) takes = takes || given.first == common;
            if (!takes) {
                std::fprintf(stderr, "kavrex-sim: %s does not take %s (kavrex-sim %s --help lists its options)\n",
                             c.command, given.first.c_str(), c.command);
                return false;
            }
        }
    }
    return true;
}

// Reads the options and the positional words; false (after saying why) for a command line that
// cannot be used.
bool ParseCommandLine(int argc, char **argv, kvhost::CommandLine &cl, std::vector<std::string> &positional,
                      bool &help) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help")
            help = true;
        else if (a == "--pilot" || a == "--paused") {
            (a == "--pilot" ? cl.pilot : cl.paused) = true;
            cl.given.push_back({a, ""});
        } else if (const ValueOption *o = FindValueOption(a)) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "kavrex-sim: %s needs a value\n", a.c_str());
                return false;
            }
            if (!o->apply(argv[i + 1], cl)) return false;
            cl.given.push_back({a, argv[++i]});
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "kavrex-sim: unknown option '%s' (kavrex-sim --help lists them)\n", a.c_str());
            return false;
        } else {
            positional.push_back(a);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    kvhost::CommandLine cl;
    cl.plugin = kvhost::DefaultPluginPath();
    std::vector<std::string> positional;
    bool help = false;
    if (!ParseCommandLine(argc, argv, cl, positional, help)) return 2;
    cl.command = !positional.empty() ? positional[0] : "";
    cl.scenario = positional.size() > 1 ? positional[1] : "";
    // Only run flies several scenarios, one after another on one load of the plug-in.
    if (positional.size() > 2 && cl.command != "run") {
        std::fprintf(stderr, "kavrex-sim: too many arguments ('%s'): only run takes several scenarios\n",
                     positional[2].c_str());
        return 2;
    }
    if (positional.size() > 2) cl.moreScenarios.assign(positional.begin() + 2, positional.end());
    if (help) {
        Usage(stdout, cl.command);
        return 0;
    }
    if (cl.command.empty()) {  // the main job
        cl.command = "run";
        cl.pilot = true;
    }
    if (!TakesItsOptions(cl)) return 2;
    if (cl.command == "bodies") return kvhost::RunBodies(cl);
    if (cl.command == "run") return kvhost::RunFlight(cl);
    if (cl.command == "predict") return kvhost::RunPredict(cl);
    if (cl.command == "survey") return kvhost::RunSurvey(cl);
    if (cl.command == "fly") {
        if (!cl.scaleGiven) cl.scale = 2;
        if (cl.scale < 0.5 || cl.scale > 8) {
            std::fprintf(stderr, "kavrex-sim: fly takes a --scale from 0.5 to 8, not %g\n", cl.scale);
            return 2;
        }
        return kvhost::RunFly(cl);
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
    Usage(stderr, "");
    return 2;
}
