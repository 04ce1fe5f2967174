// The built plug-in, loaded with dlopen and driven through its entry points as the simulator
// drives a module.
#include <gtest/gtest.h>

#include "host/cockpit/cockpit.h"
#include "host/cockpit/plugin.h"
#include "host/gdi/gdi_objects.h"
#include "host/world/scenes.h"

#include <dlfcn.h>

#include <string>
#include <vector>

namespace {

TEST(PluginLoad, ExportsTheEntryPointsRegistersTheModeAndUnloadsClean) {
    void *raw = dlopen(KAVREX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(raw, nullptr) << dlerror();
    for (const char *name : {"InitModule", "ExitModule", "opcPreStep", "opcTimeAccChanged", "GetModuleVersion",
                             "opcOpenRenderViewport", "opcCloseRenderViewport", "opcDeleteVessel"})
        EXPECT_NE(dlsym(raw, name), nullptr) << name;
    // Internal functions stay inside the module.
    EXPECT_EQ(dlsym(raw, "_ZN6kavrex8FindShipEv"), nullptr);
    // Loading started the module (the SDK glue's doing): end it as an unload does.
    reinterpret_cast<void (*)(HINSTANCE)>(dlsym(raw, "ExitModule"))(nullptr);
    dlclose(raw);

    kvhost::World world;
    scenes::LowEarthOrbit(world);
    kvhost::SetCurrentWorld(&world);
    const int gdiBefore = kvhost::LiveGdiObjects();
    {
        kvhost::Plugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.Load(KAVREX_PLUGIN_PATH, error)) << error;
        EXPECT_EQ(plugin.Version(), 60425);
        const kvhost::RegisteredMode *mode = kvhost::FindMode("Kavrex");
        ASSERT_NE(mode, nullptr);
        EXPECT_EQ(mode->key, static_cast<DWORD>(OAPI_KEY_G));

        ASSERT_TRUE(kvhost::OpenDisplay(0, "Kavrex", error, 300, 480)) << error;
        MFD *display = kvhost::Slot(0).instance;
        ASSERT_NE(display, nullptr);

        typedef int (*Describe)(char *, int);
        Describe describe = reinterpret_cast<Describe>(plugin.Symbol("KavrexDescribeFocusShip"));
        ASSERT_NE(describe, nullptr);
        std::vector<char> text(static_cast<size_t>(describe(nullptr, 0)) + 1);
        describe(text.data(), static_cast<int>(text.size()));
        const std::string s(text.data());
        EXPECT_NE(s.find("SOURCE\t3\n"), std::string::npos) << s;
        EXPECT_NE(s.find("TARGET\t3\n"), std::string::npos) << s;
        EXPECT_NE(s.find("BODY\t3\tEarth\t0\t1\t0x00FF00\n"), std::string::npos) << s;
        EXPECT_NE(s.find("BODY\t4\tMoon\t3\t0\t0xFF0000\n"), std::string::npos) << s;

        // A cut description stays terminated inside its buffer.
        char small[16];
        EXPECT_GT(describe(small, sizeof small), static_cast<int>(sizeof small));
        EXPECT_EQ(small[sizeof small - 1], '\0');

        plugin.PreStep(0, 0.1, world.Mjd());
        plugin.TimeAccChanged(1000, 1);
        plugin.Unload();  // closes the displays before the module's code goes
        EXPECT_EQ(kvhost::Slot(0).instance, nullptr);
    }
    EXPECT_EQ(kvhost::FindMode("Kavrex"), nullptr);
    EXPECT_EQ(kvhost::LiveGdiObjects(), gdiBefore);
    kvhost::SetCurrentWorld(nullptr);
}

// The mode's message procedure hands the new display back through its result, a pointer-sized
// value: the instance it names is a working display of the loaded module.
TEST(PluginLoad, MessageProcedureReturnsTheInstanceItMade) {
    static_assert(sizeof(OAPI_MSGTYPE) == sizeof(void *), "the result must carry an address");
    kvhost::World world;
    scenes::LowEarthOrbit(world);
    kvhost::SetCurrentWorld(&world);
    {
        kvhost::Plugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.Load(KAVREX_PLUGIN_PATH, error)) << error;
        const kvhost::RegisteredMode *mode = kvhost::FindMode("Kavrex");
        ASSERT_NE(mode, nullptr);
        const WPARAM size = 256 | (256 << 16);
        const LPARAM vessel = reinterpret_cast<LPARAM>(world.vessel(0).api.get());
        EXPECT_EQ(mode->msgproc(OAPI_MSG_MFD_CLOSED, 0, size, vessel), 0);

        const OAPI_MSGTYPE result = mode->msgproc(OAPI_MSG_MFD_OPENED, 0, size, vessel);
        MFD *made = kvhost::InstanceFromResult(result);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(reinterpret_cast<intptr_t>(made), static_cast<intptr_t>(result));
        // Its virtual operations are the module's: the flight page's first button is TGT.
        const char *label = made->ButtonLabel(0);
        ASSERT_NE(label, nullptr);
        EXPECT_STREQ(label, "TGT");
        delete made;

        // The host drives what the procedure returned: the slot holds a display that answers.
        ASSERT_TRUE(kvhost::OpenDisplay(2, "Kavrex", error)) << error;
        ASSERT_NE(kvhost::Slot(2).instance, nullptr);
        EXPECT_EQ(kvhost::ButtonLabels(2).at(0), "TGT");
        plugin.Unload();
    }
    kvhost::SetCurrentWorld(nullptr);
}

TEST(PluginLoad, MissingLibraryIsANamedError) {
    kvhost::Plugin plugin;
    std::string error;
    EXPECT_FALSE(plugin.Load("/nonexistent/libKavrex.so", error));
    EXPECT_NE(error.find("/nonexistent/libKavrex.so"), std::string::npos) << error;
    EXPECT_FALSE(plugin.loaded());
}

}  // namespace
