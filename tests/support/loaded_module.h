// loaded_module.h: the module linked in and loaded into a world, with displays opened on chosen
// vessels; unloaded again (displays first) when it goes. The tests' plug-in fixture and the
// benchmarks both stand on it.
#ifndef KAVREX_TESTS_SUPPORT_LOADED_MODULE_H
#define KAVREX_TESTS_SUPPORT_LOADED_MODULE_H

#include "host/cockpit/cockpit.h"
#include "host/world/world.h"
#include "model/ship_lookup.h"
#include "model/ship_table.h"

#include <cstdlib>
#include <string>

DLLCLBK void InitModule(HINSTANCE hModule);
DLLCLBK void ExitModule(HINSTANCE hModule);

struct LoadedModule {
    explicit LoadedModule(kvhost::World &w) : world(w) {
        kvhost::SetCurrentWorld(&world);
        InitModule(nullptr);
    }
    ~LoadedModule() {
        kvhost::CloseAllDisplays();
        ExitModule(nullptr);
        kvhost::SetCurrentWorld(nullptr);
    }
    // Gives vessel v the focus, opens a display on it and returns its record.
    int Claim(int v) {
        world.SetFocus(v);
        std::string error;
        if (!kvhost::OpenDisplay(v % kvhost::kCockpitDisplays, "Kavrex", error)) std::abort();
        return kavrex::FindShip();
    }
    kvhost::World &world;
};

#endif
