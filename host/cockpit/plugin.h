// plugin.h: loading a plug-in module as the simulator does: dlopen (the SDK glue linked into
// the module calls its InitModule as it loads), entry points by name, the hooks at each
// scenario's start and end and before a vessel is deleted, and ExitModule before the unload.
#ifndef KVHOST_COCKPIT_PLUGIN_H
#define KVHOST_COCKPIT_PLUGIN_H

#include <Orbitersdk.h>

#include "../sim/simulation.h"

#include <string>

namespace kvhost {

// The entry points of a module linked into the program itself (tests, fuzzers): the same
// calls as a loaded library's, with no library to load.
struct ModuleEntries {
    void (*initModule)(HINSTANCE);
    void (*exitModule)(HINSTANCE);
    void (*preStep)(double, double, double);
    void (*timeAccChanged)(double, double);
    void (*openRenderViewport)(HWND, DWORD, DWORD, BOOL) = nullptr;
    void (*closeRenderViewport)() = nullptr;
    void (*deleteVessel)(OBJHANDLE) = nullptr;
};

class Plugin {
public:
    Plugin() = default;
    ~Plugin() { Unload(); }
    Plugin(const Plugin &) = delete;
    Plugin &operator=(const Plugin &) = delete;

    // Loads the library, whose SDK glue starts it. A library without the glue (no source
    // defines ORBITER_MODULE) is refused: the simulator would load it and it would never start.
    // On failure returns false with the reason.
    bool Load(const std::string &path, std::string &error);
    // Uses a linked-in module instead, and calls its InitModule (there is no glue to do it).
    void Link(const ModuleEntries &entries);
    // Calls ExitModule and unloads; nothing when not loaded.
    void Unload();
    bool loaded() const { return handle_ != nullptr || linked_; }

    // The entry points the frame loop drives.
    ModuleHooks Hooks() const { return {preStep_, timeAccChanged_}; }
    void PreStep(double simt, double simdt, double mjd) const;
    void TimeAccChanged(double newWarp, double oldWarp) const;
    // A scenario's start and end (the render window opened and closed), and a vessel about to
    // be deleted: optional exports, called when the module has them.
    void OpenRenderViewport(DWORD width, DWORD height) const;
    void CloseRenderViewport() const;
    void DeleteVessel(OBJHANDLE vessel) const;
    int Version() const { return getModuleVersion_ ? getModuleVersion_() : 0; }
    // Any other symbol the library exports, or null.
    void *Symbol(const char *name) const;

private:
    void *handle_ = nullptr;
    bool linked_ = false;
    void (*initModule_)(HINSTANCE) = nullptr;
    void (*exitModule_)(HINSTANCE) = nullptr;
    void (*preStep_)(double, double, double) = nullptr;
    void (*timeAccChanged_)(double, double) = nullptr;
    int (*getModuleVersion_)() = nullptr;
    ModuleEntries entries_ = {};  // the optional hooks: scenario start and end, a vessel's deletion
};

// Where the Kavrex plug-in lies: $KAVREX_PLUGIN, else libKavrex.so beside the running program.
std::string DefaultPluginPath();

}  // namespace kvhost

#endif
