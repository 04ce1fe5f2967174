// A picture after some frames shows one moment: the plotted prediction starts where the
// read-outs and the ship's marker say the ship is.
#include <gtest/gtest.h>

#include "host/session/session.h"
#include "host/gdi/recording_dc.h"

#include <cmath>
#include <string>

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

}  // namespace
