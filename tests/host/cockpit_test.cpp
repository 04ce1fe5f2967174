// The cockpit's display slots, the GDI subset over the recording context, and the input state.
#include <gtest/gtest.h>

#include "host/cockpit/cockpit.h"
#include "host/cockpit/input_state.h"
#include "host/gdi/gdi_objects.h"
#include "host/gdi/recording_dc.h"
#include "host/scenario/block_io.h"
#include "host/world/scenes.h"

#include <cstring>
#include <string>

namespace {

// A display mode of the test's own, to watch what the host sends.
struct Seen {
    UINT msg = 0, mfd = 0;
    WPARAM wparam = 0;
    VESSEL *vessel = nullptr;
    int destroyed = 0;
    std::string events;  // every message and call, in order
    DWORD openExWidth = 0, openExHeight = 0;
} seen;

class ProbeMfd : public MFD {
public:
    ProbeMfd(DWORD w, DWORD h, VESSEL *v) : MFD(w, h, v), cellInConstructor(cw + ch) { seen.events += "new "; }
    ~ProbeMfd() override {
        ++seen.destroyed;
        seen.events += "delete ";
    }
    void Update(HDC) override {}
    void StoreStatus() const override { seen.events += "store "; }
    void RecallStatus() override { seen.events += "recall "; }
    void ReadStatus(FILEHANDLE) override { seen.events += "read "; }
    DWORD charWidth() const { return cw; }
    DWORD charHeight() const { return ch; }
    DWORD cellInConstructor;
};

OAPI_MSGTYPE ProbeProc(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam) {
    seen.events += "msg" + std::to_string(msg) + " ";
    if (msg == OAPI_MSG_MFD_OPENEDEX) {
        const MFDMODEOPENSPEC *open = reinterpret_cast<const MFDMODEOPENSPEC *>(wparam);
        seen.openExWidth = open->w;
        seen.openExHeight = open->h;
        return 0;
    }
    seen.msg = msg;
    seen.mfd = mfd;
    seen.wparam = wparam;
    seen.vessel = reinterpret_cast<VESSEL *>(lparam);
    if (msg != OAPI_MSG_MFD_OPENED) return 0;
    MFD *made = new ProbeMfd(static_cast<DWORD>(wparam & 0xFFFF), static_cast<DWORD>(wparam >> 16), seen.vessel);
    return static_cast<OAPI_MSGTYPE>(reinterpret_cast<intptr_t>(made));
}

class CockpitTest : public ::testing::Test {
protected:
    void SetUp() override {
        scenes::LowEarthOrbit(world);
        kvhost::SetCurrentWorld(&world);
        char name[] = "Probe";
        MFDMODESPEC spec = {name, OAPI_KEY_B, ProbeProc};
        modeId = oapiRegisterMFDMode(spec);
        seen = Seen();
    }
    void TearDown() override {
        kvhost::CloseAllDisplays();
        oapiUnregisterMFDMode(modeId);
        kvhost::SetCurrentWorld(nullptr);
    }
    kvhost::World world;
    int modeId = 0;
};

TEST_F(CockpitTest, OpeningSendsTheSizePackedAndTheFocusVesselAndClosingDeletes) {
    std::string error;
    ASSERT_TRUE(kvhost::OpenDisplay(7, "probe", error, 300, 200)) << error;
    // The procedure was asked with OAPI_MSG_MFD_OPENEDEX first; it made nothing then, so the
    // simulator sent OAPI_MSG_MFD_OPENED.
    EXPECT_EQ(seen.msg, static_cast<UINT>(OAPI_MSG_MFD_OPENED));
    EXPECT_EQ(seen.mfd, 7u);
    EXPECT_EQ(seen.wparam, static_cast<WPARAM>(300 | (200 << 16)));
    EXPECT_EQ(seen.vessel, world.vessel(0).api.get());
    auto *probe = static_cast<ProbeMfd *>(kvhost::Slot(7).instance);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->charHeight(), 9u);  // the simulator's display font: an em of 9 H / 200
    EXPECT_EQ(probe->charWidth(), 5u);   // 0.6 em
    EXPECT_EQ(probe->cellInConstructor, 0u) << "the font cell is set after the constructor, as in the simulator";
    EXPECT_EQ(kvhost::SlotOf(probe), 7);
    EXPECT_EQ(seen.openExWidth, 300u);
    EXPECT_EQ(seen.openExHeight, 200u);
    kvhost::CloseDisplay(7);
    EXPECT_EQ(seen.destroyed, 1);
    EXPECT_EQ(kvhost::Slot(7).instance, nullptr);
    // Opened by the pilot: OPENEDEX, then OPENED, then RecallStatus; closed: StoreStatus, CLOSED,
    // then the instance goes.
    EXPECT_EQ(seen.events, "msg4 msg1 new recall store msg2 delete ");
    // A change of focus rebuilds the cockpit without recalling anything.
    ASSERT_TRUE(kvhost::OpenDisplay(7, "probe", error)) << error;
    seen.events.clear();
    ASSERT_TRUE(kvhost::ChangeFocus(0, error)) << error;
    EXPECT_EQ(seen.events, "store msg2 delete msg4 msg1 new ");
    kvhost::CloseDisplay(7);
    EXPECT_EQ(kvhost::Slot(7).instance, nullptr);
}

// A procedure that makes nothing answers 0: the slot stays closed and the error says so.
OAPI_MSGTYPE RefusingProc(UINT, UINT, WPARAM, LPARAM) { return 0; }

TEST_F(CockpitTest, AProcedureThatMakesNoDisplayLeavesTheSlotClosed) {
    char name[] = "Refuser";
    MFDMODESPEC spec = {name, OAPI_KEY_N, RefusingProc};
    const int id = oapiRegisterMFDMode(spec);
    std::string error;
    EXPECT_FALSE(kvhost::OpenDisplay(4, "Refuser", error));
    EXPECT_NE(error.find("made no display"), std::string::npos) << error;
    EXPECT_EQ(kvhost::Slot(4).instance, nullptr);
    oapiUnregisterMFDMode(id);
}

TEST_F(CockpitTest, OpeningFailuresSayWhy) {
    std::string error;
    EXPECT_FALSE(kvhost::OpenDisplay(12, "Probe", error));
    EXPECT_EQ(error, "display slot 12 does not exist (slots are 0 to 11)");
    EXPECT_FALSE(kvhost::OpenDisplay(0, "Nothing", error));
    EXPECT_EQ(error, "no display mode named 'Nothing' is registered");
    EXPECT_TRUE(oapiUnregisterMFDMode(modeId));
    EXPECT_FALSE(oapiUnregisterMFDMode(modeId));
    EXPECT_FALSE(kvhost::OpenDisplay(0, "Probe", error));
    modeId = -1;
}

TEST(GdiTest, RecordingContextKeepsWhatWasDrawnWithItsPenAndColour) {
    const int before = kvhost::LiveGdiObjects();
    kvhost::RecordingDc dc(256, 256);
    HDC hdc = dc.hdc();
    HPEN pen = CreatePen(PS_DOT, 1, RGB(10, 20, 30));
    EXPECT_EQ(kvhost::LiveGdiObjects(), before + 1);
    HGDIOBJ old = SelectObject(hdc, pen);
    EXPECT_NE(old, nullptr);
    EXPECT_EQ(SelectObject(hdc, old), pen);
    SelectObject(hdc, pen);
    SetTextColor(hdc, RGB(0, 255, 0));
    EXPECT_TRUE(TextOutA(hdc, 5, 6, "HOLD and more", 4));
    MoveToEx(hdc, 1, 2, nullptr);
    LineTo(hdc, 30, 40);
    LineTo(hdc, 50, 40);
    Ellipse(hdc, 10, 10, 20, 20);
    ASSERT_EQ(dc.ops().size(), 4u);
    EXPECT_EQ(dc.ops()[0].text, "HOLD");
    EXPECT_EQ(dc.ops()[0].color, 0x00FF00u);
    EXPECT_EQ(dc.ops()[0].x0, 5);
    EXPECT_EQ(dc.ops()[2].x0, 30);  // a line starts where the last one ended
    EXPECT_EQ(dc.ops()[2].pen.style, PS_DOT);
    EXPECT_EQ(dc.ops()[2].color, static_cast<COLORREF>(0x1E140A));
    EXPECT_EQ(dc.ops()[3].kind, kvhost::DrawOp::Ellipse);

    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(kvhost::LiveGdiObjects(), before);
    LineTo(hdc, 0, 0);  // the deleted pen is gone: black
    EXPECT_EQ(dc.ops().back().color, 0u);
    int notADc;
    EXPECT_FALSE(TextOutA(reinterpret_cast<HDC>(&notADc), 0, 0, "x", 1));
}

TEST(InputTest, ControlKeyAndInputBoxAnswerAsThePilotDoes) {
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
    kvhost::SetControlKeyDown(true);
    EXPECT_NE(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
    kvhost::SetControlKeyDown(false);

    static std::string got;
    static int calls = 0;
    auto callback = [](void *, char *str, void *usr) {
        got = str;
        ++calls;
        return *static_cast<bool *>(usr);
    };
    bool closes = false;
    char title[] = "Select G";
    oapiOpenInputBox(title, callback, nullptr, 20, &closes);
    EXPECT_EQ(kvhost::PendingInputBox().title, "Select G");
    EXPECT_TRUE(kvhost::AnswerInputBox("1.5"));
    EXPECT_EQ(got, "1.5");
    // The callback said "keep open", but the simulator's box closes after Enter all the same.
    EXPECT_FALSE(kvhost::PendingInputBox().open);
    oapiOpenInputBox(title, callback, nullptr, 20, &closes);
    EXPECT_TRUE(kvhost::AnswerInputBox(std::string(200, '7')));
    EXPECT_EQ(got, std::string(127, '7'));  // it holds 127 characters
    EXPECT_FALSE(kvhost::PendingInputBox().open);
    oapiOpenInputBox(title, callback, nullptr, 20, &closes);
    kvhost::CancelInputBox();
    EXPECT_FALSE(kvhost::AnswerInputBox("3"));
    EXPECT_EQ(calls, 2);
}

TEST(BlockIoTest, ReaderHandsOutLinesWithoutLeadingBlanksAndWriterKeepsItems) {
    kvhost::BlockReader reader({"  KV_TARGET Mars", "KV_FLAGS 4"});
    char *line = nullptr;
    ASSERT_TRUE(oapiReadScenario_nextline(reader.handle(), line));
    EXPECT_STREQ(line, "KV_TARGET Mars");
    ASSERT_TRUE(oapiReadScenario_nextline(reader.handle(), line));
    EXPECT_STREQ(line, "KV_FLAGS 4");
    EXPECT_FALSE(oapiReadScenario_nextline(reader.handle(), line));
    kvhost::BlockWriter writer;
    char item[] = "KV_ARTGEE", value[] = "9.810000";
    oapiWriteScenario_string(writer.handle(), item, value);
    EXPECT_EQ(writer.lines(), (std::vector<std::string>{"KV_ARTGEE 9.810000"}));
    int other;
    EXPECT_FALSE(oapiReadScenario_nextline(&other, line));
}

}  // namespace
