// plugin.h: loading a plug-in module as the simulator does: dlopen, entry points by name,
// InitModule at load and ExitModule before the unload.
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
};

class Plugin {
public:
    Plugin() = default;
    ~Plugin() { Unload(); }
    Plugin(const Plugin &) = delete;
    Plugin &operator=(const Plugin &) = delete;

    // Loads the library and calls InitModule. On failure returns false with the reason.
    bool Load(const std::string &path, std::string &error);
    // Uses a linked-in module instead, and calls its InitModule.
    void Link(const ModuleEntries &entries);
    // Calls ExitModule and unloads; nothing when not loaded.
    void Unload();
    bool loaded() const { return handle_ != nullptr || linked_; }

    // The entry points the frame loop drives.
    ModuleHooks Hooks() const { return {preStep_, timeAccChanged_}; }
    void PreStep(double simt, double simdt, double mjd) const;
    void TimeAccChanged(double newWarp, double oldWarp) const;
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
};

// Where the Kavrex plug-in lies: $KAVREX_PLUGIN, else libKavrex.so beside the running program.
std::string DefaultPluginPath();

}  // namespace kvhost

#endif
