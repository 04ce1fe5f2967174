// The display page as a pilot sees it, on the recording context: texts with their positions
// and colours, and the lines of the plot.
#include "support/plugin_fixture.h"

#include "display/draw_state.h"
#include "display/page.h"
#include "engine/body_list.h"
#include "display/plot.h"
#include "host/gdi/recording_dc.h"
#include "host/world/scenes.h"
#include "model/ship_lookup.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

DLLCLBK void opcPreStep(double simt, double simdt, double mjd);

using kavrex::Ship;
using kvhost::DrawOp;

namespace {

class PageTest : public PluginTest {
protected:
    // The Courier in low Earth orbit with its display open (256 x 256 unless said).
    int OpenOnLeo(int height = 256) {
        scenes::LowEarthOrbit(world());
        std::string error;
        EXPECT_TRUE(kvhost::OpenDisplay(0, "Kavrex", error, 256, height)) << error;
        return kavrex::FindShip();
    }
    std::vector<DrawOp> Refresh(int slot = 0) {
        const kvhost::DisplaySlot &s = kvhost::Slot(slot);
        kvhost::RecordingDc dc(s.width, s.height);
        s.instance->Update(dc.hdc());
        return dc.ops();
    }
    static std::vector<std::string> Texts(const std::vector<DrawOp> &ops) {
        std::vector<std::string> out;
        for (const DrawOp &op : ops)
            if (op.kind == DrawOp::Text) out.push_back(op.text);
        return out;
    }
    static const DrawOp *Find(const std::vector<DrawOp> &ops, const std::string &text) {
        for (const DrawOp &op : ops)
            if (op.kind == DrawOp::Text && op.text == text) return &op;
        return nullptr;
    }
    // The value drawn on the same line as a label.
    static const DrawOp *ValueOf(const std::vector<DrawOp> &ops, const std::string &label) {
        const DrawOp *l = Find(ops, label);
        for (const DrawOp &op : ops)
            if (l && op.kind == DrawOp::Text && op.y0 == l->y0 && op.x0 == kavrex::ValueX()) return &op;
        return nullptr;
    }
    void Step() { opcPreStep(0, 0.05, world().Mjd()); }
};

TEST_F(PageTest, FailureTextsStandAloneOnTheFirstLine) {
    OpenOnLeo();
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 900e3);  // focus, no record
    std::vector<DrawOp> ops = Refresh();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].text, "Error! [Version Kavrex 1.5] Kavrex::Update -> FindShip failed");
    EXPECT_EQ(ops[0].x0, 5);
    EXPECT_EQ(ops[0].y0, 0);
    EXPECT_EQ(ops[0].color, 0xC0C0C0u);
    // More displays open at once than the module keeps identifiers of: the one beyond has no
    // entry to find in any record.
    const kvhost::RegisteredMode *mode = kvhost::FindMode("Kavrex");
    const LPARAM vessel = reinterpret_cast<LPARAM>(world().vessel(1).api.get());
    std::vector<MFD *> windows;
    for (uint32_t i = 0; i <= kavrex::kMaxOpenDisplays; ++i)
        windows.push_back(
            kvhost::InstanceFromResult(mode->msgproc(OAPI_MSG_MFD_OPENED, 100 + i, 256 | (256 << 16), vessel)));
    kvhost::RecordingDc dc(256, 256);
    windows.back()->Update(dc.hdc());
    ASSERT_EQ(dc.ops().size(), 1u);
    EXPECT_EQ(dc.ops()[0].text, "Error! [Version Kavrex 1.5] Kavrex::Update -> FindMFD failed");
    for (MFD *m : windows) delete m;
}

// A display opened on one vessel shows the focus vessel's record once the focus has moved (a
// display in an external window stays on its vessel): it takes the entry of its identifier
// there, with no error, and finds its own settings again when the focus comes back.
TEST_F(PageTest, ADisplayOnAnotherVesselShowsTheFocusRecordWithItsOwnSettings) {
    OpenOnLeo();
    kavrex::Entry(0, 0).mode = 1;
    scenes::AddShipInOrbit(world(), "Other", world().FindBody("Earth"), 900e3);  // the focus
    std::string error;
    ASSERT_TRUE(kvhost::OpenDisplay(1, "Kavrex", error));  // the focus vessel's record
    Step();
    std::vector<DrawOp> ops = Refresh(0);
    EXPECT_NE(Find(ops, "Kavrex 1.5 Other"), nullptr);
    EXPECT_NE(Find(ops, "TargetD"), nullptr);
    EXPECT_STREQ(oapiDebugString(), "");
    kavrex::Entry(1, 0).mode = 2;  // display 0's settings in the focus record: the plot alone
    EXPECT_EQ(Find(Refresh(0), "TargetD"), nullptr);
    Focus(0);
    Step();
    ops = Refresh(0);
    EXPECT_NE(Find(ops, "Kavrex 1.5 Courier-1"), nullptr);
    EXPECT_NE(Find(ops, "TargetD"), nullptr);  // its page there is still the read-outs
    Focus(1);
    EXPECT_EQ(Find(Refresh(0), "TargetD"), nullptr);
    EXPECT_STREQ(oapiDebugString(), "");
}

TEST_F(PageTest, StatusStripOfAFreshRecord) {
    OpenOnLeo();
    const std::vector<DrawOp> ops = Refresh();
    // Title and strip only: no trajectory has been handed over yet.
    EXPECT_EQ(Texts(ops),
              (std::vector<std::string>{"Kavrex 1.5 Courier-1", "hold", "OFF", " aim", "DIR", " inv", "OFF", "  KV",
                                        "OFF", "fill", "AUTO", " set", "9.8", "zoom", "AUTO", "proj", "ECLP"}));
    const int columns[8] = {3, 34, 65, 96, 127, 158, 189, 220};  // c = 7 (0.6 of the 11.52 px em), h = 3
    const COLORREF colours[16] = {0xFFFFFF, 0x0000FF, 0xFFFFFF, 0x00FF00, 0xFFFFFF, 0x0000FF, 0xFFFFFF, 0x0000FF,
                                  0xFFFFFF, 0x00FF00, 0xFFFFFF, 0x00FF00, 0xFFFFFF, 0x00FF00, 0xFFFFFF, 0x00FFFF};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(ops[1 + i].x0, columns[i % 8]) << ops[1 + i].text;
        EXPECT_EQ(ops[1 + i].y0, i < 8 ? 10 : 20) << ops[1 + i].text;
        EXPECT_EQ(ops[1 + i].color, colours[i]) << ops[1 + i].text;  // DIR in Earth's green
    }
}

TEST_F(PageTest, StatusStripWithSuperthrustAndAnOddCharacterWidth) {
    // Font 11 pixels high, character width 7; lines 10 apart, since 25 lines of 11 would not fit.
    const int ship = OpenOnLeo(264);
    Ship(ship).superthrust = static_cast<double>(0.012f);
    Ship(ship).attitudeHold = Ship(ship).attitudeAligned = true;
    const std::vector<DrawOp> ops = Refresh();
    const DrawOp *sup = Find(ops, " SUP"), *gee = Find(ops, "9.8"), *hold = Find(ops, "HOLD");
    ASSERT_TRUE(sup && gee && hold);
    EXPECT_EQ(gee->color, 0x0000FFu);
    EXPECT_EQ(hold->color, 0x00FF00u);
    EXPECT_EQ(sup->x0, 3 * 3 + 8 * 7);  // column 2: 3h + 8c with h = 3
    EXPECT_EQ(gee->x0, 4 * 3 + 12 * 7);
    EXPECT_EQ(sup->y0, 20);
}

// Displays of other sizes (the simulator's external displays can be resized; the font follows
// the height): no label runs into its value and every line stays on the display; at 256 the
// value column is where it always was.
TEST_F(PageTest, EveryLineFitsAndNoLabelRunsIntoItsValueAtAnySize) {
    scenes::LowEarthOrbit(world());
    for (int height : {120, 200, 256, 264, 300, 512, 777, 1024}) {
        SCOPED_TRACE(height);
        std::string error;
        ASSERT_TRUE(kvhost::OpenDisplay(0, "Kavrex", error, height, height)) << error;
        const int ship = kavrex::FindShip();
        Ship(ship).targetBody = 5;
        Ship(ship).ejected = true;  // the page at its longest: 25 lines
        Ship(ship).display.ready = false;
        Step();
        DWORD cw, ch;
        kvhost::FontCell(static_cast<DWORD>(height), cw, ch);
        const std::vector<DrawOp> ops = Refresh();
        int lines = 0;
        for (const DrawOp &op : ops) {
            if (op.kind != DrawOp::Text) continue;
            // The simulator's font (an em of 4.5 % of the height) is taller than the 25 lines' step
            // (4 %): the last line's baseline, where the raster writes it, must still be on the display.
            EXPECT_LE(op.y0 + 0.8 * 9.0 * height / 200, height) << op.text;
            const DrawOp *value = ValueOf(ops, op.text);
            if (op.x0 == 5 && value) {
                ++lines;
                EXPECT_LT(op.x0 + static_cast<int>(op.text.size() * cw), value->x0) << op.text;
            }
        }
        EXPECT_GE(lines, 15);
        if (height == 256) {
            EXPECT_EQ(ValueOf(ops, "Target")->x0, 90);
        }
    }
}

// The longest page (after ejection, read-outs and plot) draws its text on no more lines than the
// page's line budget, for which the line step is chosen: a read-out beyond it would be cut off.
TEST_F(PageTest, TheLongestPageKeepsToItsLineBudget) {
    const int ship = OpenOnLeo();
    Ship(ship).targetBody = 5;
    Ship(ship).ejected = true;
    Step();
    std::vector<int> rows;
    for (const DrawOp &op : Refresh())
        if (op.kind == DrawOp::Text && std::find(rows.begin(), rows.end(), op.y0) == rows.end()) rows.push_back(op.y0);
    EXPECT_EQ(rows.size(), kavrex::kTitleLines + kavrex::kStripLines + kavrex::kReadOutLines)
        << "the page draws text on " << rows.size() << " lines, but its budget is kTitleLines + kStripLines + "
        << "kReadOutLines (display/page.h) = " << kavrex::kPageLines << " (kPageLines), the lines the step fits: "
        << "a read-out added or removed must change that budget, and one beyond 25 lines falls off the display";
    for (int y : rows) EXPECT_LT(y, static_cast<int>(kavrex::kPageLines * kavrex::Module().lineHeight));
}

TEST_F(PageTest, ReadOutsAfterAComputation) {
    const int ship = OpenOnLeo();
    Ship(ship).targetBody = 5;  // Mars
    Step();
    std::vector<DrawOp> ops = Refresh();
    const std::vector<std::string> labels = {"Target",  "Source",  "Center",  "Eject",   "ETA",      "Elapsed",
                                             "Remains", "PeS",     "TargetD", "SourceD", "TargetV",  "SourceV",
                                             "TargetG", "SourceG", "SolarG",  "Max Vel", "NumSteps", "Tanks"};
    int lastY = -1;
    for (const std::string &label : labels) {
        const DrawOp *op = Find(ops, label);
        ASSERT_NE(op, nullptr) << label;
        EXPECT_GT(op->y0, lastY) << label;
        lastY = op->y0;
    }
    EXPECT_EQ(Find(ops, "Target")->color, 0x0000C0u);  // hold off: dark red
    EXPECT_EQ(ValueOf(ops, "Target")->text, "Mars");
    EXPECT_EQ(ValueOf(ops, "Target")->color, 0x0000FFu);
    EXPECT_EQ(Find(ops, "PeT")->color, 0x00FF00u);
    EXPECT_EQ(Find(ops, "IMPACT"), nullptr);
    EXPECT_EQ(Find(ops, "complete: 0.0%"), nullptr);  // not ejected
    EXPECT_EQ(ValueOf(ops, "Source")->text, "Earth");
    EXPECT_EQ(ValueOf(ops, "SourceD")->text, "400.00k");
    EXPECT_FALSE(Ship(ship).display.ready);  // drawn, so taken

    // Hold on and aligned, an impact, after ejection, arriving "before" now.
    kavrex::ShipRecord &r = Ship(ship);
    r.attitudeHold = r.attitudeAligned = true;
    r.ejected = true;
    r.display.impact = true;
    r.display.arrivalMjd = r.ejectMjd - 1;
    r.display.ready = true;
    ops = Refresh();
    EXPECT_EQ(Find(ops, "Target")->color, 0x00C000u);
    ASSERT_NE(Find(ops, "IMPACT"), nullptr);
    EXPECT_EQ(Find(ops, "IMPACT")->color, 0x0000FFu);
    EXPECT_NE(Find(ops, "complete: 0.0%"), nullptr);  // 400 km of 100 million
    EXPECT_EQ(ValueOf(ops, "Remains")->text, "0:00:00");
    EXPECT_EQ(ValueOf(ops, "Eject")->color, 0x00FFFFu);
}

TEST_F(PageTest, ProgressWithNoDistancesShowsANumber) {
    const int ship = OpenOnLeo();
    Step();
    kavrex::ShipRecord &r = Ship(ship);
    r.ejected = true;
    r.targetDist = r.sourceDist = 0;
    std::vector<DrawOp> ops = Refresh();
    EXPECT_NE(Find(ops, "complete: 0.0%"), nullptr);
    kavrex::Entry(ship, 0).mode = 4;
    ops = Refresh();
    EXPECT_NE(Find(ops, " Earth->Courier-1->Earth 0.0%"), nullptr);
}

// Displays refreshed one after the other in one frame, as the simulator refreshes them, each
// draw the trajectory; a refresh with no step since shows it again. One trajectory serves them all.
TEST_F(PageTest, EveryDisplayOfAFrameDrawsTheTrajectoryAndARefreshWithoutAStepDrawsItAgain) {
    const int ship = OpenOnLeo();
    std::string error;
    ASSERT_TRUE(kvhost::OpenDisplay(1, "Kavrex", error));
    EXPECT_EQ(Refresh(0).size(), 17u);  // nothing computed yet: title and strip
    Step();
    const std::vector<DrawOp> first = Refresh(0), second = Refresh(1);
    EXPECT_NE(Find(first, "TargetD"), nullptr);
    EXPECT_NE(Find(second, "TargetD"), nullptr);
    EXPECT_GT(second.size(), 17u);  // more than the title and the strip
    EXPECT_EQ(Ship(ship).display.handOvers, 1u);
    const std::vector<DrawOp> again = Refresh(0);
    ASSERT_EQ(again.size(), first.size());
    for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].text, first[i].text) << i;
    Step();
    Step();  // the second step finds the new trajectory not yet drawn: nothing computed
    EXPECT_EQ(Ship(ship).display.handOvers, 2u);
}

TEST_F(PageTest, ShipsPageListsTwelveMoonsInLinesOfFourFiveAndThree) {
    scenes::AddOrbitingBody(world(), "Star", 2e30, 7e8, -1, 0);
    const int giant = scenes::AddOrbitingBody(world(), "Giant", 1e27, 7e7, 0, 7.8e11);
    for (int m = 1; m <= 12; ++m)
        scenes::AddOrbitingBody(world(), "M" + std::to_string(m), 1e20, 1e5, giant, 4e8 + m * 1e8);
    scenes::AddShipInOrbit(world(), "Explorer", giant, 1e7);
    Open(0);
    const int ship = kavrex::FindShip();
    Ship(ship).includeMoons = true;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    kavrex::Entry(ship, 0).mode = 4;
    const std::vector<std::string> texts = Texts(Refresh());
    const std::vector<std::string> tail(texts.end() - 5, texts.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Star Pl:1 Mo:12", " Giant[12]", " M1.M2.M3.M4.", " M5.M6.M7.M8.M9.",
                                              " M10.M11.M12."}));
    EXPECT_EQ(texts[1], "SHIPS 1");
}

TEST_F(PageTest, AutozoomMakesTheStartDistanceAQuarterOfTheWidth) {
    const int ship = OpenOnLeo();
    kavrex::Entry(ship, 0).centerBody = 3;  // the Earth
    Step();
    const std::vector<DrawOp> ops = Refresh();
    // The white line runs from the display centre to the ship's present position.
    const DrawOp *white = nullptr;
    for (const DrawOp &op : ops)
        if (op.kind == DrawOp::Line && op.pen.color == 0xFFFFFFu) white = &op;
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->x0, 128);
    EXPECT_EQ(white->y0, 128);
    EXPECT_NEAR(std::hypot(white->x1 - 128, white->y1 - 128), 64, 1.5);
}

// Earth to Saturn, centred on the Moon, which that prediction does not model: the ship's path is
// drawn relative to the Moon's present position and starts at the ship's marker (the end of the
// white line from the centre).
TEST_F(PageTest, APathAboutACentreThePredictionDoesNotModelStartsAtTheShip) {
    const int ship = OpenOnLeo();
    Ship(ship).targetBody = 7;              // Saturn (Jupiter wears the path's colour)
    kavrex::Entry(ship, 0).centerBody = 4;  // the Moon, near enough for the path to show
    Step();
    const std::vector<DrawOp> ops = Refresh();
    const DrawOp *white = nullptr, *pathStart = nullptr;
    for (const DrawOp &op : ops) {
        if (op.kind != DrawOp::Line) continue;
        if (op.pen.color == 0xFFFFFFu) white = &op;
        if (op.pen.color == RGB(192, 128, 0) && !pathStart) pathStart = &op;
    }
    ASSERT_NE(white, nullptr);
    ASSERT_NE(pathStart, nullptr);
    EXPECT_NEAR(pathStart->x0, white->x1, 1);
    EXPECT_NEAR(pathStart->y0, white->y1, 1);
    // Autozoom put the ship a quarter of the width from the centre.
    EXPECT_NEAR(std::hypot(white->x1 - 128, white->y1 - 128), 64, 1.5);
}

class ClipperTest : public ::testing::Test {
protected:
    std::vector<DrawOp> Clip(double x0, double y0, double x1, double y1) {
        kvhost::RecordingDc dc(100, 100);
        kavrex::DrawClippedLine(dc.hdc(), x0, y0, x1, y1, 100, 100);
        return dc.ops();
    }
};

TEST_F(ClipperTest, DrawsOnlyThePartOfTheSegmentInsideTheRectangle) {
    std::vector<DrawOp> ops = Clip(10, 10, 50.7, 60.2);  // inside: as given, truncated
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].x0, 10);
    EXPECT_EQ(ops[0].x1, 50);
    EXPECT_EQ(ops[0].y1, 60);
    EXPECT_TRUE(Clip(-5, 10, -1, 90).empty());    // both left of the border
    EXPECT_TRUE(Clip(10, 120, 90, 200).empty());  // both below
    ops = Clip(-50, 40, 150, 40);                 // a horizontal crossing
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].x0, 1);
    EXPECT_EQ(ops[0].x1, 98);
    ops = Clip(1, 98, 50, 50);  // an end on the border counts inside
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].x0, 1);
    EXPECT_EQ(ops[0].y0, 98);
    ops = Clip(50, 50, 50, -100);  // leaving through the top
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].y1, 1);
    // Ends outside in different regions (left, top), passing outside the corner: nothing.
    EXPECT_TRUE(Clip(-10, 2, 10, -20).empty());
    // Cutting the corner instead: only the part inside, both ends moved onto the borders.
    ops = Clip(-10, 40, 20, -40);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].x0, 1);
    EXPECT_EQ(ops[0].y1, 1);
    EXPECT_TRUE(Clip(std::nan(""), 10, 20, 20).empty());
    EXPECT_TRUE(Clip(10, 10, INFINITY, 20).empty());
}

// Random segments of every kind: every end drawn lies inside the rectangle, cut ends included.
TEST_F(ClipperTest, EveryDrawnEndLiesInsideTheRectangle) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto uniform = [&](double lo, double hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + (hi - lo) * static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    int drawn = 0, outside = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::vector<DrawOp> ops =
            Clip(uniform(-150, 250), uniform(-150, 250), uniform(-150, 250), uniform(-150, 250));
        for (const DrawOp &op : ops) {
            ++drawn;
            for (int v : {op.x0, op.y0, op.x1, op.y1}) outside += v < 1 || v > 98;
        }
    }
    EXPECT_GT(drawn, 50000);
    EXPECT_EQ(outside, 0);
}

}  // namespace
