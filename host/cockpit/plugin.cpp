// plugin.cpp: the plug-in loader.
#include "plugin.h"

#include "cockpit.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

namespace kvhost {

namespace {
template <typename F>
F Lookup(void *handle, const char *name) {
    return reinterpret_cast<F>(dlsym(handle, name));
}
}  // namespace

bool Plugin::Load(const std::string &path, std::string &error) {
    Unload();
    void *h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char *why = dlerror();
        error = "cannot load plug-in " + path + ": " + (why ? why : "unknown reason");
        return false;
    }
    // The glue exports GetModuleVersion; without it nothing called InitModule during dlopen.
    getModuleVersion_ = Lookup<int (*)()>(h, "GetModuleVersion");
    if (!getModuleVersion_) {
        error = "plug-in " + path +
                " lacks the SDK's module glue (it exports no GetModuleVersion), so "
                "the simulator would never start it: one of its sources must define ORBITER_MODULE "
                "before including <Orbitersdk.h>";
        dlclose(h);
        return false;
    }
    exitModule_ = Lookup<void (*)(HINSTANCE)>(h, "ExitModule");
    preStep_ = Lookup<void (*)(double, double, double)>(h, "opcPreStep");
    timeAccChanged_ = Lookup<void (*)(double, double)>(h, "opcTimeAccChanged");
    entries_.openRenderViewport = Lookup<void (*)(HWND, DWORD, DWORD, BOOL)>(h, "opcOpenRenderViewport");
    entries_.closeRenderViewport = Lookup<void (*)()>(h, "opcCloseRenderViewport");
    entries_.deleteVessel = Lookup<void (*)(OBJHANDLE)>(h, "opcDeleteVessel");
    handle_ = h;
    return true;
}

void Plugin::Link(const ModuleEntries &entries) {
    Unload();
    initModule_ = entries.initModule;
    exitModule_ = entries.exitModule;
    preStep_ = entries.preStep;
    timeAccChanged_ = entries.timeAccChanged;
    entries_ = entries;
    linked_ = true;
    if (initModule_) initModule_(nullptr);
}

void Plugin::Unload() {
    if (!handle_ && !linked_) return;
    // The displays are the module's objects: they go before its code does.
    CloseAllDisplays();
    if (exitModule_) exitModule_(reinterpret_cast<HINSTANCE>(handle_));
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
    linked_ = false;
    initModule_ = nullptr;
    exitModule_ = nullptr;
    preStep_ = nullptr;
    timeAccChanged_ = nullptr;
    getModuleVersion_ = nullptr;
    entries_ = ModuleEntries{};
}

void Plugin::PreStep(double simt, double simdt, double mjd) const {
    if (preStep_) preStep_(simt, simdt, mjd);
}

void Plugin::TimeAccChanged(double newWarp, double oldWarp) const {
    if (timeAccChanged_) timeAccChanged_(newWarp, oldWarp);
}

void Plugin::OpenRenderViewport(DWORD width, DWORD height) const {
    if (entries_.openRenderViewport) entries_.openRenderViewport(nullptr, width, height, FALSE);
}

void Plugin::CloseRenderViewport() const {
    if (entries_.closeRenderViewport) entries_.closeRenderViewport();
}

void Plugin::DeleteVessel(OBJHANDLE vessel) const {
    if (entries_.deleteVessel) entries_.deleteVessel(vessel);
}

void *Plugin::Symbol(const char *name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

std::string DefaultPluginPath() {
    if (const char *env = std::getenv("KAVREX_PLUGIN")) return env;
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "libKavrex.so";
    std::string dir(exe, static_cast<size_t>(n));
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/libKavrex.so";
}

}  // namespace kvhost
