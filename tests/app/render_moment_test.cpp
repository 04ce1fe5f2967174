// A picture after some frames shows one moment: the plotted prediction starts where the
// read-outs and the ship's marker say the ship is.
#include <gtest/gtest.h>

#include "host/session/session.h"
#include "host/gdi/recording_dc.h"
#include "support/shipped_scenarios.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using kvhost::DrawOp;

TEST(RenderMoment, ThePlottedPathStartsAtTheShipAfterManyFrames) {
    kvhost::Session session;
    std::string error;
    ASSERT_TRUE(session.Start(KAVREX_SCENARIO_DIR "/mars-transfer.scn", KAVREX_PLUGIN_PATH, error)) << error;
    session.simulation().SetTimeAcceleration(100);
    session.FlyToOneMoment(200);  // 1,000 s: the ship has gone a sixth of the way round
    const kvhost::DisplaySlot &slot = kvhost::Slot(0);
    kvhost::RecordingDc dc(slot.width, slot.height);
    slot.instance->Update(dc.hdc());

    const DrawOp *marker = nullptr, *pathStart = nullptr;
    for (const DrawOp &op : dc.ops()) {
        if (op.kind != DrawOp::Line) continue;
        if (op.pen.color == 0xFFFFFFu) marker = &op;  // centre to the ship's present position
        if (op.pen.color == RGB(192, 128, 0) && op.pen.style == PS_SOLID && !pathStart) pathStart = &op;
    }
    ASSERT_NE(marker, nullptr);
    ASSERT_NE(pathStart, nullptr) << "no path drawn: the prediction was not ready";
    EXPECT_NEAR(pathStart->x0, marker->x1, 1);
    EXPECT_NEAR(pathStart->y0, marker->y1, 1);
    session.Stop();
}

// The checks and benchmarks that go over every shipped scenario name them in one list: it holds
// every scenario file of the folder, so that a new one is not left out of them.
TEST(ShippedScenarios, TheListHoldsEveryScenarioOfTheFolder) {
    const std::filesystem::path dir = KAVREX_SCENARIO_DIR;
    std::vector<std::string> found, listed(std::begin(kShippedScenarios), std::end(kShippedScenarios));
    for (const auto &e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file() && e.path().extension() == ".scn")
            found.push_back(e.path().lexically_relative(dir).generic_string());
    std::sort(found.begin(), found.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(found, listed);
}

// No page of a shipped scenario sends a line whose ends fall on one pixel, which would draw
// nothing and cost a call on the simulator's surface; with 8,192 points too, where most of a long
// path's last segments are shorter than a pixel.
TEST(RenderMoment, NoPageDrawsALineThatDrawsNothing) {
    for (const char *name : kShippedScenarios) {
        for (bool most : {false, true}) {
            SCOPED_TRACE(std::string(name) + (most ? ", 8192 points" : ""));
            kvhost::Session session;
            std::string error;
            ASSERT_TRUE(session.Start(std::string(KAVREX_SCENARIO_DIR) + "/" + name, KAVREX_PLUGIN_PATH, error))
                << error;
            int slot = 0;
            while (slot < kvhost::kDisplaySlots && !kvhost::Slot(slot).instance) ++slot;
            if (slot == kvhost::kDisplaySlots) {
                slot = 0;
                ASSERT_TRUE(kvhost::OpenDisplay(slot, "Kavrex", error)) << error;
            }
            if (most) kvhost::PressKey(slot, OAPI_KEY_Q);  // more steps: 4,096 to 8,192
            session.FlyToOneMoment(30);
            long lines = 0, nothing = 0;
            bool steps = false;
            for (int page = 0; page < 4; ++page) {
                kvhost::RecordingDc dc(kvhost::Slot(slot).width, kvhost::Slot(slot).height);
                kvhost::Slot(slot).instance->Update(dc.hdc());
                for (const DrawOp &op : dc.ops()) {
                    steps = steps || op.text.find(most ? "STP:8192" : "STP:4096") != std::string::npos;
                    if (op.kind != DrawOp::Line) continue;
                    ++lines;
                    nothing += op.x0 == op.x1 && op.y0 == op.y1;
                }
                kvhost::PressKey(slot, OAPI_KEY_M);
            }
            EXPECT_TRUE(steps) << "the ships page shows another number of steps";
            EXPECT_GT(lines, 10);
            EXPECT_EQ(nothing, 0) << "of " << lines << " lines";
            session.Stop();
        }
    }
}

}  // namespace
