// The display's scenario lines: what is written, what reading them back restores, and blocks
// that are odd or broken.
#include "support/plugin_fixture.h"

#include "controls/persistence.h"
#include "engine/body_list.h"
#include "host/scenario/block_io.h"
#include "host/world/scenes.h"
#include "model/ship_lookup.h"

#include <string>
#include <vector>

using kavrex::Entry;
using kavrex::Ship;
using Lines = std::vector<std::string>;

namespace {

class PersistenceTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        scenes::LowEarthOrbit(world());
        display = Open(0);
        ship = kavrex::FindShip();
    }
    Lines Write() {
        kvhost::BlockWriter w;
        display->WriteStatus(w.handle());
        return w.lines();
    }
    void Read(const Lines &lines) {
        kvhost::BlockReader r(lines);
        display->ReadStatus(r.handle());
    }
    kavrex::ShipRecord &rec() { return Ship(ship); }
    MFD *display = nullptr;
    int ship = -1;
};

TEST_F(PersistenceTest, FreshRecordWritesExactlyFourLines) {
    EXPECT_EQ(Write(), (Lines{"KV_TARGET Earth", "KV_SOURCE Earth", "KV_FLAGS 4", "KV_CENTER Earth"}));
}

TEST_F(PersistenceTest, SaveLoadSaveGivesTheSameLines) {
    rec().attitudeHold = rec().kvEngaged = rec().ejected = rec().includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));  // the list with moons
    for (uint32_t i = 0; i < rec().bodyCount; ++i)
        if (std::string(rec().bodies[i].name) == "Mars") rec().targetBody = i;
    rec().artGee = 19.6;
    rec().ejectMjd = 61450.123456;
    rec().tanksRefilled = 3;
    Entry(ship, 0).centerBody = 0;
    const Lines first = Write();
    EXPECT_EQ(first, (Lines{"KV_TARGET Mars", "KV_SOURCE Earth", "KV_FLAGS 151", "KV_ARTGEE 19.600000",
                            "KV_EJECT 61450.123456", "KV_TANKS 3", "KV_CENTER Sun"}));
    // Into a different state, then back from the lines.
    kavrex::ResetShipRecord(kavrex::Ship(ship), true);
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    rec().targetBody = rec().sourceBody = 1;
    Read(first);
    EXPECT_EQ(Write(), first);
    EXPECT_EQ(rec().artGee, static_cast<double>(19.6f));  // single precision, as always read
    EXPECT_EQ(rec().ejectMjd, 61450.123456);              // full precision: the clock stays put
    EXPECT_STREQ(rec().bodies[rec().targetBody].name, "Mars");
}

TEST_F(PersistenceTest, KeysAndNamesMatchWhateverTheirCase) {
    Read({"kv_target mars", "Kv_Flags 4"});
    EXPECT_STREQ(rec().bodies[rec().targetBody].name, "Mars");
    // No centre line: this display centres on the target.
    EXPECT_EQ(Entry(ship, 0).centerBody, rec().targetBody);
}

TEST_F(PersistenceTest, ShortKeysAndOddNamesAreReadAsTheRulesSay) {
    Read({"KV_SOU_X Mars", "KV_CENxxxVenus"});
    EXPECT_STREQ(rec().bodies[rec().sourceBody].name, "Mars");  // from the tenth character on
    EXPECT_STREQ(rec().bodies[Entry(ship, 0).centerBody].name, "Venus");
    const uint32_t target = rec().targetBody;
    Read({"KV_TARGET Alpha Centauri"});  // cut at the blank, then not found
    EXPECT_EQ(rec().targetBody, target);
    Read({"KV_TARGET " + std::string(100, 'x')});  // cut to 63 characters, not found
    EXPECT_EQ(rec().targetBody, target);
    Read({"KV_SOU"});  // a key and nothing more: no name, nothing found, nothing past the line
    EXPECT_STREQ(rec().bodies[rec().sourceBody].name, "Mars");
}

TEST_F(PersistenceTest, FlagsAloneEngageTheDriveWithoutARebuild) {
    rec().bodyCount = 3;  // a rebuild would give 10 again
    rec().attitudeHold = true;
    Read({"KV_FLAGS 2"});
    EXPECT_TRUE(rec().kvEngaged);
    EXPECT_FALSE(rec().attitudeHold);
    EXPECT_FALSE(rec().lunaAlways);
    EXPECT_EQ(rec().bodyCount, 3u);
    rec().bodyCount = 10;
}

TEST_F(PersistenceTest, BlockOfUnknownLinesResetsTheRecord) {
    rec().kvEngaged = rec().attitudeHold = true;
    rec().numSteps = 128;
    rec().artGee = 3;
    Read({"SOMETHING 1", "KV_NOTHING 2"});
    EXPECT_FALSE(rec().kvEngaged || rec().attitudeHold);
    EXPECT_EQ(rec().numSteps, 4096u);
    EXPECT_EQ(rec().artGee, 3.0);
    // An empty block counts the same.
    rec().kvEngaged = true;
    Read({});
    EXPECT_FALSE(rec().kvEngaged);
}

TEST_F(PersistenceTest, UnreadableNumbersLeaveTheirFields) {
    rec().tanksRefilled = 5;
    rec().artGee = 4;
    Read({"KV_TANKS many", "KV_ARTGEE 1e999", "KV_EJECT soon", "KV_FLAGS x"});
    EXPECT_EQ(rec().tanksRefilled, 5u);
    EXPECT_EQ(rec().artGee, 4.0);
    EXPECT_TRUE(rec().lunaAlways);
    // A count beyond 32 bits cannot be kept as read (it wrapped to 0 or 1215752191 before).
    for (const char *tanks : {"KV_TANKS 4294967296", "KV_TANKS 99999999999", "KV_TANKS -3"}) {
        Read({tanks});
        EXPECT_EQ(rec().tanksRefilled, 5u) << tanks;
    }
    Read({"KV_TANKS 4294967295"});
    EXPECT_EQ(rec().tanksRefilled, 4294967295u);
}

// The simulator's reader hands a display every line up to the next END; the display stops at
// its block's end.
TEST_F(PersistenceTest, ReadingStopsAtTheEndOfTheBlock) {
    Read({"KV_TARGET Mars", "KV_CENTER Earth", "END_MFD", "", "BEGIN_MFD Right", "TYPE User", "MODE Kavrex",
          "KV_CENTER Mars", "KV_FLAGS 7", "END_MFD", "END"});
    EXPECT_EQ(Write(), (Lines{"KV_TARGET Mars", "KV_SOURCE Earth", "KV_FLAGS 4", "KV_CENTER Earth"}));
}

// KV_ARTGEE is read in single precision, so it is written as that value: a load gives exactly
// what was saved, and saving again writes the same lines.
TEST_F(PersistenceTest, TheAccelerationIsSavedAsItWillReadBack) {
    for (double typed : {-3.71382e29, 7.80873e32, 123456789.123, 9.8}) {
        SCOPED_TRACE(typed);
        rec().artGee = typed;
        const Lines first = Write();
        Read(first);
        EXPECT_EQ(Write(), first);
    }
    rec().artGee = 9.8;  // a double 9.8 reads back as the single 9.8: the default, no line
    EXPECT_EQ(Write().size(), 4u);
}

TEST_F(PersistenceTest, HugeValuesAreWrittenWhole) {
    rec().artGee = 1e300;
    const Lines lines = Write();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3].size(), std::string("KV_ARTGEE ").size() + 301 + 7);
    EXPECT_EQ(lines[3].substr(lines[3].size() - 7), ".000000");
}

TEST_F(PersistenceTest, DisplayOnAnotherVesselWritesTheFocusVesselsSettingsAndItsEntryThere) {
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 900e3);
    MFD *other = Open(1);
    const int otherShip = kavrex::FindShip();
    Ship(otherShip).targetBody = 5;
    world().SetFocus(1);
    kvhost::BlockWriter w;
    display->WriteStatus(w.handle());  // vessel 0's display, vessel 1 in focus
    ASSERT_EQ(w.lines().size(), 4u);
    EXPECT_EQ(w.lines()[0], "KV_TARGET Mars");
    // Its identifier's entry in that record, never set: centred on the star.
    EXPECT_EQ(w.lines()[3], "KV_CENTER Sun");
    EXPECT_STREQ(oapiDebugString(), "");
    (void)other;
}

}  // namespace
