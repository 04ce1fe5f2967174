// module_glue.cpp: what the SDK's static library adds to every module, as the simulator's own
// does: dummy(), which a module's ORBITER_MODULE source references (that reference is all that
// pulls this object into the module), the exported GetModuleVersion, and the load hook that
// calls the module's InitModule with the module's handle (the library's base address, as a
// Windows module handle is). The host's loader never calls InitModule itself, so a module that
// forgets ORBITER_MODULE is never started, in this stand-in as in the simulator.
#include <Orbitersdk.h>

#include <dlfcn.h>

DLLCLBK void InitModule(HINSTANCE hModule);

void dummy() {}

DLLCLBK int GetModuleVersion(void) {
    static char buildDate[] = "Apr 25 2006";
    return Date2Int(buildDate);
}

namespace {

HINSTANCE ModuleHandle() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&dummy), &info) == 0) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

// Runs as the library is loaded, before dlopen returns: the DLL entry point's attach.
__attribute__((constructor)) void AttachModule() { InitModule(ModuleHandle()); }

}  // namespace
