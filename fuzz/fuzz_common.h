// fuzz_common.h: what the harnesses share: the module linked in, a stop that names the broken
// invariant, and input split into lines.
#ifndef KAVREX_FUZZ_FUZZ_COMMON_H
#define KAVREX_FUZZ_FUZZ_COMMON_H

#include "host/cockpit/plugin.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

DLLCLBK void InitModule(HINSTANCE hModule);
DLLCLBK void ExitModule(HINSTANCE hModule);
DLLCLBK void opcPreStep(double simt, double simdt, double mjd);
DLLCLBK void opcTimeAccChanged(double new_warp, double old_warp);
DLLCLBK void opcOpenRenderViewport(HWND hRenderWnd, DWORD width, DWORD height, BOOL fullscreen);
DLLCLBK void opcCloseRenderViewport();
DLLCLBK void opcDeleteVessel(OBJHANDLE hVessel);

namespace fuzzing {

// Every entry point the simulator calls, the session's included: a module loaded once serves
// many scenarios, as in the simulator.
inline const kvhost::ModuleEntries kLinked = {
    InitModule,     ExitModule, opcPreStep, opcTimeAccChanged, opcOpenRenderViewport, opcCloseRenderViewport,
    opcDeleteVessel};

// A broken invariant is a finding: say which and stop, so the fuzzer keeps the input.
[[noreturn]] inline void Broken(const std::string &why) {
    std::fprintf(stderr, "invariant broken: %s\n", why.c_str());
    std::abort();
}

inline std::vector<std::string> Lines(const uint8_t *data, size_t size) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    return lines;
}

}  // namespace fuzzing

#endif
