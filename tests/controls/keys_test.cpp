// The pilot's keys and buttons, pressed on a display in the host's cockpit.
#include "support/plugin_fixture.h"

#include "controls/command_table.h"
#include "controls/key_commands.h"
#include "host/cockpit/key_codes.h"
#include "host/cockpit/input_state.h"
#include "host/world/scenes.h"
#include "model/ship_lookup.h"

#include <cctype>
#include <cstring>
#include <set>

using kavrex::Entry;
using kavrex::Ship;

namespace {

class KeysTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        scenes::LowEarthOrbit(world());
        Open(0);
        ship = kavrex::FindShip();
    }
    void TearDown() override {
        kvhost::SetControlKeyDown(false);
        kvhost::CancelInputBox();
        PluginTest::TearDown();
    }
    bool Key(DWORD key, bool ctrl = false) {
        kvhost::SetControlKeyDown(ctrl);
        const bool used = kvhost::PressKey(0, key);
        kvhost::SetControlKeyDown(false);
        return used;
    }
    kavrex::ShipRecord &rec() { return Ship(ship); }
    kavrex::MfdEntry &entry() { return Entry(ship, 0); }
    int ship = -1;
};

TEST_F(KeysTest, StepCountKeysDoubleAndHalveWithinTheirBounds) {
    EXPECT_TRUE(Key(OAPI_KEY_Q));
    EXPECT_EQ(rec().numSteps, 8192u);
    Key(OAPI_KEY_Q);
    EXPECT_EQ(rec().numSteps, 8192u);
    Key(OAPI_KEY_Q, true);
    EXPECT_EQ(rec().numSteps, 4096u);
    rec().numSteps = 256;
    Key(OAPI_KEY_W);
    EXPECT_EQ(rec().numSteps, 128u);
    Key(OAPI_KEY_W);
    EXPECT_EQ(rec().numSteps, 128u);
    Key(OAPI_KEY_W, true);
    EXPECT_EQ(rec().numSteps, 256u);
}

TEST_F(KeysTest, TargetSourceAndCentreWrapBothWays) {
    const uint32_t last = rec().bodyCount - 1;  // Neptune, 9
    rec().targetBody = 0;
    Key(OAPI_KEY_T, true);
    EXPECT_EQ(rec().targetBody, last);
    Key(OAPI_KEY_T);
    EXPECT_EQ(rec().targetBody, 0u);
    rec().sourceBody = last;
    Key(OAPI_KEY_O);
    EXPECT_EQ(rec().sourceBody, 0u);
    Key(OAPI_KEY_O, true);
    EXPECT_EQ(rec().sourceBody, last);
    entry().centerBody = 0;
    Key(OAPI_KEY_C, true);
    EXPECT_EQ(entry().centerBody, last);
    Key(OAPI_KEY_C);
    EXPECT_EQ(entry().centerBody, 0u);
    // The rebuild after T keeps the index on the same body.
    rec().targetBody = 4;
    Key(OAPI_KEY_T);
    EXPECT_STREQ(rec().bodies[rec().targetBody].name, "Mars");
}

TEST_F(KeysTest, ModeCyclesAndAsksForNewLabels) {
    EXPECT_EQ(entry().mode, 3u);
    const uint32_t expect[] = {1, 2, 4, 3};
    for (uint32_t m : expect) {
        kvhost::Slot(0).buttonsInvalid = false;
        Key(OAPI_KEY_M);
        EXPECT_EQ(entry().mode, m);
        EXPECT_TRUE(kvhost::Slot(0).buttonsInvalid);
    }
    entry().mode = 9;
    Key(OAPI_KEY_M);
    EXPECT_EQ(entry().mode, 3u);
}

TEST_F(KeysTest, ZoomSuperthrustAndToggles) {
    for (int i = 0; i < 10; ++i) Key(OAPI_KEY_J);
    EXPECT_EQ(entry().zoom, 1024.0);
    Key(OAPI_KEY_K);
    EXPECT_EQ(entry().zoom, 512.0);
    Key(OAPI_KEY_X);
    EXPECT_EQ(entry().zoom, 1.0);
    Key(OAPI_KEY_U);
    EXPECT_EQ(rec().superthrust, 0.012000000104308128);
    Key(OAPI_KEY_U);
    EXPECT_EQ(rec().superthrust, 0.0);
    struct Flag {
        DWORD key;
        bool kavrex::ShipRecord::*field;
    } flags[] = {{OAPI_KEY_E, &kavrex::ShipRecord::kvEngaged},       {OAPI_KEY_D, &kavrex::ShipRecord::directionAdjust},
                 {OAPI_KEY_V, &kavrex::ShipRecord::invertDirection}, {OAPI_KEY_F, &kavrex::ShipRecord::autofillOff},
                 {OAPI_KEY_H, &kavrex::ShipRecord::attitudeHold},    {OAPI_KEY_Z, &kavrex::ShipRecord::autozoomOff}};
    for (const Flag &f : flags) {
        const bool before = rec().*f.field;
        Key(f.key);
        EXPECT_NE(rec().*f.field, before) << f.key;
        Key(f.key);
        EXPECT_EQ(rec().*f.field, before) << f.key;
    }
}

TEST_F(KeysTest, UnknownKeyIsNotConsumedAndAsksForNoRedraw) {
    kvhost::Slot(0).displayInvalid = false;
    EXPECT_FALSE(Key(OAPI_KEY_G));
    EXPECT_FALSE(Key(0x99));
    EXPECT_FALSE(kvhost::Slot(0).displayInvalid);
    EXPECT_TRUE(Key(OAPI_KEY_E));
    EXPECT_TRUE(kvhost::Slot(0).displayInvalid);
}

TEST_F(KeysTest, KeyWithoutARecordForTheFocusIsUsedAndChangesNothing) {
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 900e3);  // takes the focus
    EXPECT_TRUE(Key(OAPI_KEY_E));
    EXPECT_FALSE(rec().kvEngaged);
}

TEST_F(KeysTest, AbortCutsEveryThruster) {
    rec().kvEngaged = rec().attitudeHold = true;
    kvhost::Vessel &v = world().vessel(0);
    for (kvhost::Thruster &t : v.thrusters) t.level = 0.7;  // main, retro, hover, attitude
    Key(OAPI_KEY_A);
    EXPECT_FALSE(rec().kvEngaged || rec().attitudeHold);
    for (const kvhost::Thruster &t : v.thrusters) EXPECT_EQ(t.level, 0.0);
}

TEST_F(KeysTest, ResetKeysRunTheWholeSequence) {
    rec().kvEngaged = rec().attitudeHold = rec().invertDirection = true;
    rec().numSteps = 128;
    rec().artGee = 19.6;
    rec().targetBody = 5;
    entry().zoom = 4;
    entry().mode = 2;
    entry().centerBody = 7;
    Key(OAPI_KEY_L);  // Luna off, then the reset
    EXPECT_FALSE(rec().lunaAlways);
    EXPECT_FALSE(rec().kvEngaged || rec().attitudeHold || rec().invertDirection);
    EXPECT_EQ(rec().numSteps, 4096u);
    EXPECT_EQ(rec().artGee, 19.6);
    EXPECT_EQ(rec().bodyCount, 10u);  // no Moon now
    EXPECT_STREQ(rec().bodies[rec().sourceBody].name, "Earth");
    EXPECT_EQ(rec().targetBody, rec().sourceBody);
    EXPECT_EQ(entry().centerBody, rec().sourceBody);
    EXPECT_EQ(entry().zoom, 4.0);
    EXPECT_EQ(entry().mode, 2u);
    Key(OAPI_KEY_N);  // moons on
    EXPECT_TRUE(rec().includeMoons);
    EXPECT_EQ(rec().bodyCount, 33u);
}

TEST_F(KeysTest, PlanetsOnlyWhileOrbitingAnUnlistedMoonLeavesMoonsOn) {
    scenes::AddShipInOrbit(world(), "Huygens", world().FindBody("Titan"), 200e3);
    Open(1);
    const int titan = kavrex::FindShip();
    ASSERT_TRUE(Ship(titan).includeMoons);
    kvhost::PressKey(1, OAPI_KEY_N);
    EXPECT_TRUE(Ship(titan).includeMoons);
    EXPECT_STREQ(Ship(titan).bodies[Ship(titan).sourceBody].name, "Titan");
}

TEST_F(KeysTest, SelectGBoxSetsTheAccelerationFromTheLeadingNumber) {
    Key(OAPI_KEY_S);
    ASSERT_TRUE(kvhost::PendingInputBox().open);
    EXPECT_EQ(kvhost::PendingInputBox().title, "Select G");
    EXPECT_TRUE(kvhost::AnswerInputBox("19.6"));
    EXPECT_FALSE(kvhost::PendingInputBox().open);
    EXPECT_EQ(rec().artGee, 19.6);
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"  -2.5e1 m/s2", -25.0}, {"3e", 3.0}, {".5", 0.5}, {"+7.", 7.0}, {"two", 0.0}, {"", 0.0}, {"0x1A", 0.0}};
    for (const auto &c : cases) {
        Key(OAPI_KEY_S);
        kvhost::AnswerInputBox(c.text);
        EXPECT_EQ(rec().artGee, c.value) << "'" << c.text << "'";
    }
    // A long number is read whole: 120 zeros then 5 is 5, a 1 and 30 zeros is 1e30. (The
    // simulator's box holds 127 characters: what is typed beyond them never arrives.)
    Key(OAPI_KEY_S);
    kvhost::AnswerInputBox((std::string(120, '0') + "5").c_str());
    EXPECT_EQ(rec().artGee, 5.0);
    Key(OAPI_KEY_S);
    kvhost::AnswerInputBox((std::string(127, '0') + "5").c_str());
    EXPECT_EQ(rec().artGee, 0.0);
    Key(OAPI_KEY_S);
    kvhost::AnswerInputBox(("1" + std::string(30, '0') + " m/s2").c_str());
    EXPECT_EQ(rec().artGee, 1e30);
    // Beyond a double: the acceleration stays as it was, never infinity.
    rec().artGee = 9.81;
    Key(OAPI_KEY_S);
    kvhost::AnswerInputBox("1e999");
    EXPECT_EQ(rec().artGee, 9.81);
    // Beyond single precision: it could be saved but not read back, so it is not taken either.
    Key(OAPI_KEY_S);
    kvhost::AnswerInputBox("1e39");
    EXPECT_EQ(rec().artGee, 9.81);
    Key(OAPI_KEY_S);
    kvhost::AnswerInputBox("3e38");
    EXPECT_EQ(rec().artGee, 3e38);
    // Cancelled: nothing is called.
    rec().artGee = 9.81;
    Key(OAPI_KEY_S);
    kvhost::CancelInputBox();
    EXPECT_EQ(rec().artGee, 9.81);
}

TEST_F(KeysTest, ButtonsMirrorTheirKeysAndRightClicksReverse) {
    rec().targetBody = 3;
    kvhost::PressButton(0, 0, PANEL_MOUSE_LBDOWN);  // TGT
    EXPECT_EQ(rec().targetBody, 4u);
    kvhost::PressButton(0, 0, PANEL_MOUSE_RBDOWN);
    EXPECT_EQ(rec().targetBody, 3u);
    kvhost::SetControlKeyDown(true);
    kvhost::PressButton(0, 0, PANEL_MOUSE_LBDOWN);
    kvhost::SetControlKeyDown(false);
    EXPECT_EQ(rec().targetBody, 2u);
    // Both bits: modified, then plain: back where it was.
    EXPECT_TRUE(kvhost::PressButton(0, 0, PANEL_MOUSE_LBDOWN | PANEL_MOUSE_RBDOWN));
    EXPECT_EQ(rec().targetBody, 2u);
    EXPECT_FALSE(kavrex::IsModifierActive());
    // Neither bit, or no such button: nothing.
    EXPECT_FALSE(kvhost::PressButton(0, 0, PANEL_MOUSE_LBUP));
    EXPECT_FALSE(kvhost::PressButton(0, 12, PANEL_MOUSE_LBDOWN));
    EXPECT_EQ(rec().targetBody, 2u);
}

TEST_F(KeysTest, ModeFourShowsTheSettingsPage) {
    const std::vector<std::string> flight = kvhost::ButtonLabels(0);
    entry().mode = 4;
    const std::vector<std::string> settings = kvhost::ButtonLabels(0);
    EXPECT_NE(settings, flight);
    // Target, mode and abort sit on the same buttons of both pages: the pilot can always turn
    // the page back and cut the engines without looking for the button.
    for (int bt : {0, 6, 8}) EXPECT_EQ(settings[bt], flight[bt]) << "button " << bt;
    // A right click on ST+ halves, on ST- doubles.
    kvhost::PressButton(0, 4, PANEL_MOUSE_RBDOWN);
    EXPECT_EQ(rec().numSteps, 2048u);
    kvhost::PressButton(0, 5, PANEL_MOUSE_RBDOWN);
    EXPECT_EQ(rec().numSteps, 4096u);
    // MOD with both bits: the plain press uses the new page's button 6, MOD again.
    kvhost::PressButton(0, 6, PANEL_MOUSE_LBDOWN | PANEL_MOUSE_RBDOWN);
    EXPECT_EQ(entry().mode, 1u);  // 4 -> 3 -> 1
}

// What the display offers on both pages, from the display itself: each button's label, menu
// line and select character name one command, whose key is the one the button sends; a page
// offers a command once; together the pages offer every command that has a menu line.
TEST_F(KeysTest, EveryCommandWithAMenuIsOneButtonOfAPageAndItsKeyAgrees) {
    MFD *display = kvhost::Slot(0).instance;
    EXPECT_EQ(display->ButtonMenu(nullptr), 0);
    std::set<kavrex::Command> offered;
    std::set<std::string> labels;
    for (uint32_t mode : {3u, 4u}) {
        entry().mode = mode;
        const MFDBUTTONMENU *menu = nullptr;
        ASSERT_EQ(display->ButtonMenu(&menu), kavrex::kButtons);
        std::set<kavrex::Command> onPage;
        for (int bt = 0; bt < kavrex::kButtons; ++bt) {
            // The record is byte-packed: copy its fields out before using them.
            const char *line1 = menu[bt].line1, *line2 = menu[bt].line2;
            const char selchar = menu[bt].selchar;
            const kavrex::Command c = kavrex::CommandForKey(kvhost::KeyCodeForLetter(selchar));
            ASSERT_NE(c, kavrex::kCommandCount)
                << "mode " << mode << " button " << bt << " selects '" << selchar << "'";
            EXPECT_TRUE(onPage.insert(c).second) << "mode " << mode << ": a second button for " << line1;
            offered.insert(c);
            EXPECT_EQ(c, kavrex::ButtonCommand(mode == 4, bt)) << "the button sends another key than its menu names";
            const char *label = display->ButtonLabel(bt);
            ASSERT_NE(label, nullptr);
            EXPECT_STREQ(label, kavrex::InfoOf(c).label);
            EXPECT_EQ(std::strlen(label), 3u) << label;  // the simulator's buttons hold three characters
            labels.insert(label);
            ASSERT_NE(line1, nullptr);
            EXPECT_STREQ(line1, kavrex::InfoOf(c).menu);
            EXPECT_EQ(line2, nullptr);
            EXPECT_TRUE(std::isupper(static_cast<unsigned char>(selchar))) << selchar;
        }
    }
    for (int c = 0; c < kavrex::kCommandCount; ++c) {
        const kavrex::CommandInfo &info = kavrex::InfoOf(static_cast<kavrex::Command>(c));
        EXPECT_EQ(offered.count(static_cast<kavrex::Command>(c)) == 1, info.menu != nullptr) << info.letter;
        // A key names one command: the table's key for it finds it again.
        EXPECT_EQ(kavrex::CommandForKey(info.key), c) << info.letter;
        EXPECT_EQ(info.key, kvhost::KeyCodeForLetter(info.letter)) << info.letter;
    }
    EXPECT_EQ(labels.size(), offered.size()) << "two commands share a label";
    EXPECT_EQ(display->ButtonLabel(kavrex::kButtons), nullptr);
    EXPECT_EQ(display->ButtonLabel(-1), nullptr);
    EXPECT_EQ(sizeof(MFDBUTTONMENU), 2 * sizeof(void *) + 1);  // byte-packed, as the SDK lays it out
}

}  // namespace
