// The plug-in through the simulator's life cycle, loaded as a library: several scenarios on one
// load, vessels deleted during a scenario, two displays' blocks read by the simulator's reader,
// every display identifier, and the SDK's module glue that starts the module.
#include <gtest/gtest.h>

#include "host/session/session.h"
#include "host/cockpit/cockpit.h"
#include "host/cockpit/plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kTwoVessels[] = R"(BEGIN_ENVIRONMENT
  System Sol
  Date MJD 61450.5
END_ENVIRONMENT

BEGIN_FOCUS
  Ship Alpha
END_FOCUS

BEGIN_MFD Left
  TYPE User
  MODE Kavrex
  KV_TARGET Mars
  KV_SOURCE Earth
  KV_FLAGS 4
  KV_CENTER Earth
END_MFD

BEGIN_MFD Right
  TYPE User
  MODE Kavrex
  KV_TARGET Mars
  KV_SOURCE Earth
  KV_FLAGS 4
  KV_CENTER Mars
END_MFD

BEGIN_SHIPS
Alpha:Courier
  STATUS Orbiting Earth
  RPOS 6778000 0 0
  RVEL 0 0 7668.6
END
Bravo:Courier
  STATUS Orbiting Earth
  RPOS 0 0 6978000
  RVEL -7557 0 0
END
Charlie:Courier
  STATUS Orbiting Earth
  RPOS -7178000 0 0
  RVEL 0 0 -7452
END
END_SHIPS
)";

const char kOtherScenario[] = R"(BEGIN_ENVIRONMENT
  System Sol
  Date MJD 61460.25
END_ENVIRONMENT

BEGIN_FOCUS
  Ship Lander
END_FOCUS

BEGIN_MFD Left
  TYPE User
  MODE Kavrex
END_MFD

BEGIN_SHIPS
Lander:Courier
  STATUS Orbiting Moon
  RPOS 1837400 0 0
  RVEL 0 0 1633
END
END_SHIPS
)";

std::string TempPath(const std::string &name) {
    return ::testing::TempDir() + "kavrex-life-" + std::to_string(getpid()) + "-" + name;
}

std::string WriteScenario(const std::string &name, const std::string &text) {
    const std::string path = TempPath(name);
    std::ofstream(path) << text;
    return path;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The focus vessel's record as the plug-in describes it: "SHIP\t<name>\t<record index>".
std::string FocusRecord(kvhost::Session &session) {
    typedef int (*Describe)(char *, int);
    Describe describe = reinterpret_cast<Describe>(session.plugin().Symbol("KavrexDescribeFocusShip"));
    if (!describe) return "no description";
    const int n = describe(nullptr, 0);
    if (n < 0) return "no record";
    std::vector<char> text(static_cast<size_t>(n) + 1);
    describe(text.data(), static_cast<int>(text.size()));
    const std::string s(text.data());
    return s.substr(0, s.find('\n'));
}

// Everything display `slot` wrote at its last refresh, one text per line.
std::string PageText(const kvhost::Session &session, int slot) {
    const kvhost::RecordingDc *dc = session.LastRefresh(slot);
    std::string out;
    if (!dc) return out;
    for (const kvhost::DrawOp &op : dc->ops())
        if (op.kind == kvhost::DrawOp::Text) out += op.text + "\n";
    return out;
}

// The block a saved scenario writes for a display, from BEGIN_MFD to END_MFD.
std::string SavedBlock(const std::string &text, const std::string &name) {
    const size_t a = text.find("BEGIN_MFD " + name + "\n");
    if (a == std::string::npos) return "";
    return text.substr(a, text.find("END_MFD", a) - a);
}

class LifeCycle : public ::testing::Test {
protected:
    void SetUp() override {
        oapiDebugString()[0] = '\0';
        std::string error;
        ASSERT_TRUE(plugin.Load(KAVREX_PLUGIN_PATH, error)) << error;
    }
    // Starts `path` on the one loaded plug-in and flies a second of frames.
    void Run(kvhost::Session &session, const std::string &path) {
        std::string error;
        session.UsePlugin(plugin);
        ASSERT_TRUE(session.Start(path, "", error)) << error;
        session.simulation().Run(60);
        session.RefreshDisplays();
    }
    kvhost::Plugin plugin;
};

// The simulator runs every scenario on one load. Nothing of the first may reach the second:
// a record still holding the first scenario's VESSEL would be stepped, and the stand-in stops
// the program at any call on a deleted vessel.
TEST_F(LifeCycle, ASecondScenarioOnTheSameLoadStartsAfresh) {
    const std::string first = WriteScenario("first.scn", kTwoVessels);
    const std::string second = WriteScenario("second.scn", kOtherScenario);
    {
        kvhost::Session a;
        Run(a, first);
        EXPECT_EQ(FocusRecord(a), "SHIP\tAlpha\t0");
        std::string error;
        ASSERT_TRUE(kvhost::ChangeFocus(1, error)) << error;
        a.simulation().Run(30);
        EXPECT_EQ(FocusRecord(a), "SHIP\tBravo\t1");
    }
    ASSERT_NE(kvhost::FindMode("Kavrex"), nullptr) << "the mode stays registered between scenarios";
    {
        kvhost::Session b;
        Run(b, second);
        EXPECT_EQ(FocusRecord(b), "SHIP\tLander\t0");  // a fresh record, not the third
        // Its source is the Moon, chosen afresh for this vessel.
        EXPECT_NE(PageText(b, 0).find("Kavrex 1.5 Lander"), std::string::npos) << PageText(b, 0);
        b.simulation().Run(120);
    }
    // A third on the same load, and then the unload takes the one registration away.
    {
        kvhost::Session c;
        Run(c, first);
        EXPECT_EQ(FocusRecord(c), "SHIP\tAlpha\t0");
    }
    plugin.Unload();
    EXPECT_EQ(kvhost::FindMode("Kavrex"), nullptr);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

// A vessel deleted during a scenario: first one that has a record but not the focus, then the
// focus vessel with its displays open (the focus moves on first, as in the simulator). The
// displays go on refreshing and the scenario saves.
TEST_F(LifeCycle, DeletedVesselsLeaveNothingBehind) {
    const std::string path = WriteScenario("three.scn", kTwoVessels);
    kvhost::Session s;
    Run(s, path);
    std::string error;
    ASSERT_TRUE(kvhost::ChangeFocus(1, error)) << error;  // Bravo claims record 1
    s.simulation().Run(30);
    ASSERT_TRUE(kvhost::ChangeFocus(0, error)) << error;
    ASSERT_EQ(FocusRecord(s), "SHIP\tAlpha\t0");

    const OBJHANDLE bravo = s.world().VesselHandle(1);
    ASSERT_TRUE(s.DeleteVessel(1, error)) << error;
    EXPECT_EQ(s.world().ResolveVessel(bravo), nullptr) << "a deleted vessel's handle resolves no more";
    s.simulation().Run(60);
    s.RefreshDisplays();
    EXPECT_NE(PageText(s, 0).find("Kavrex 1.5 Alpha"), std::string::npos) << PageText(s, 0);
    const std::string saved = TempPath("after-bravo.scn");
    ASSERT_TRUE(s.Save(saved, error)) << error;
    const std::string text = ReadFile(saved);
    EXPECT_EQ(text.find("Bravo:"), std::string::npos);
    EXPECT_NE(SavedBlock(text, "Left").find("KV_CENTER Earth"), std::string::npos) << text;

    // The focus vessel, its two displays open: the focus goes to Charlie, whose record is now
    // the only one, at index 0.
    ASSERT_TRUE(s.DeleteVessel(0, error)) << error;
    ASSERT_EQ(s.world().VesselCount(), 1);
    s.simulation().Run(60);
    s.RefreshDisplays();
    EXPECT_EQ(FocusRecord(s), "SHIP\tCharlie\t0");
    EXPECT_NE(PageText(s, 1).find("Kavrex 1.5 Charlie"), std::string::npos) << PageText(s, 1);
    ASSERT_TRUE(s.Save(saved, error)) << error;
    EXPECT_NE(ReadFile(saved).find("BEGIN_MFD Right\n  TYPE User\n  MODE Kavrex\n  KV_TARGET Earth"), std::string::npos)
        << ReadFile(saved);
    EXPECT_FALSE(s.DeleteVessel(0, error));
    EXPECT_NE(error.find("only one"), std::string::npos) << error;
    std::remove(saved.c_str());
    std::remove(path.c_str());
}

// The simulator's reader runs past END_MFD up to the next END: each display must stop at its
// own block's end, or the left one takes the right one's centre.
TEST_F(LifeCycle, TwoDisplaysInOneFileReadTheirOwnLines) {
    const std::string path = WriteScenario("two-displays.scn", kTwoVessels);
    kvhost::Session s;
    Run(s, path);
    const std::string saved = TempPath("two-displays-saved.scn");
    std::string error;
    ASSERT_TRUE(s.Save(saved, error)) << error;
    const std::string text = ReadFile(saved);
    EXPECT_NE(SavedBlock(text, "Left").find("KV_CENTER Earth"), std::string::npos) << text;
    EXPECT_NE(SavedBlock(text, "Right").find("KV_CENTER Mars"), std::string::npos) << text;
    EXPECT_STREQ(oapiDebugString(), "");
    std::remove(saved.c_str());
    std::remove(path.c_str());
}

// Cockpits have displays 0 to 11, and windows pass identifiers of their own: each draws the
// flight page. When every window entry is taken, the page says so and nothing else complains.
TEST_F(LifeCycle, EveryDisplayIdentifierDrawsThePage) {
    const std::string path = WriteScenario("ids.scn", kOtherScenario);
    kvhost::Session s;
    Run(s, path);
    std::string error;
    ASSERT_TRUE(kvhost::OpenDisplay(10, "Kavrex", error)) << error;
    ASSERT_TRUE(kvhost::OpenDisplay(11, "Kavrex", error)) << error;
    std::vector<int> windows;
    for (UINT id : {0x7ffe1234u, 0x10u, 0xFFFFFFFFu, 0x5000u, 0x5001u}) {
        windows.push_back(kvhost::OpenWindowDisplay(id, -1, "Kavrex", error));
        ASSERT_GE(windows.back(), 0) << error;
    }
    s.simulation().Run(30);
    s.RefreshDisplays();
    for (int slot : {0, 10, 11, windows[0], windows[1], windows[2], windows[3]}) {
        const std::string page = PageText(s, slot);
        EXPECT_NE(page.find("Kavrex 1.5 Lander"), std::string::npos) << "slot " << slot << ":\n" << page;
        EXPECT_EQ(page.find("Error"), std::string::npos) << "slot " << slot << ":\n" << page;
    }
    // The fifth window: the vessel's four window entries belong to open displays.
    const std::string fifth = PageText(s, windows[4]);
    EXPECT_NE(fifth.find("All display entries in use:"), std::string::npos) << fifth;
    EXPECT_EQ(fifth.find("Error"), std::string::npos) << fifth;
    EXPECT_STREQ(oapiDebugString(), "");

    // A window closed and opened again with its identifier finds its entry; the fifth, opened
    // again once a window has closed, takes the freed one.
    kvhost::CloseDisplay(windows[1]);
    kvhost::CloseDisplay(windows[4]);
    ASSERT_GE(kvhost::OpenWindowDisplay(0x5001u, -1, "Kavrex", error), 0) << error;
    s.RefreshDisplays();
    for (int slot = kvhost::kCockpitDisplays; slot < kvhost::kDisplaySlots; ++slot) {
        if (!kvhost::Slot(slot).instance) continue;
        EXPECT_EQ(PageText(s, slot).find("in use"), std::string::npos) << slot;
    }
    EXPECT_STREQ(oapiDebugString(), "");
    std::remove(path.c_str());
}

// The SDK glue starts a module: loading the library is enough for the mode to be registered,
// and a module in which no source defines ORBITER_MODULE is never started.
TEST(ModuleGlue, StartsTheModuleOnlyWhenASourceDefinesOrbiterModule) {
    void *raw = dlopen(KAVREX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(raw, nullptr) << dlerror();
    EXPECT_NE(kvhost::FindMode("Kavrex"), nullptr) << "the glue called InitModule as the library loaded";
    EXPECT_NE(dlsym(raw, "ModuleDate"), nullptr);
    EXPECT_NE(dlsym(raw, "GetModuleVersion"), nullptr);
    reinterpret_cast<void (*)(HINSTANCE)>(dlsym(raw, "ExitModule"))(nullptr);
    dlclose(raw);
    EXPECT_EQ(kvhost::FindMode("Kavrex"), nullptr);

    void *bare = dlopen(KAVREX_WITHOUT_GLUE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(bare, nullptr) << dlerror();
    EXPECT_NE(dlsym(bare, "InitModule"), nullptr);
    EXPECT_EQ(dlsym(bare, "GetModuleVersion"), nullptr);
    EXPECT_EQ(dlsym(bare, "ModuleDate"), nullptr);
    EXPECT_EQ(kvhost::FindMode("Kavrex"), nullptr) << "nothing started the module";
    dlclose(bare);

    kvhost::Plugin plugin;
    std::string error;
    EXPECT_FALSE(plugin.Load(KAVREX_WITHOUT_GLUE_PATH, error));
    EXPECT_NE(error.find("ORBITER_MODULE"), std::string::npos) << error;
    EXPECT_FALSE(plugin.loaded());
    EXPECT_EQ(kvhost::FindMode("Kavrex"), nullptr);
}

}  // namespace
