// recording_dc.cpp: the recording device context.
#include "recording_dc.h"

namespace kvhost {

void RecordingDc::DrawText(int x, int y, const std::string &text, COLORREF color) {
    ops_.push_back({DrawOp::Text, x, y, 0, 0, text, color, Pen{}});
}

void RecordingDc::DrawLine(int x0, int y0, int x1, int y1, const Pen &pen) {
    ops_.push_back({DrawOp::Line, x0, y0, x1, y1, std::string(), pen.color, pen});
}

void RecordingDc::DrawEllipse(int left, int top, int right, int bottom, const Pen &pen) {
    ops_.push_back({DrawOp::Ellipse, left, top, right, bottom, std::string(), pen.color, pen});
}

void RecordingDc::ReplayOn(DeviceContext &to) const {
    for (const DrawOp &op : ops_) {
        if (op.kind == DrawOp::Text)
            to.DrawText(op.x0, op.y0, op.text, op.color);
        else if (op.kind == DrawOp::Line)
            to.DrawLine(op.x0, op.y0, op.x1, op.y1, op.pen);
        else
            to.DrawEllipse(op.x0, op.y0, op.x1, op.y1, op.pen);
    }
}

std::vector<std::string> RecordingDc::Texts() const {
    std::vector<std::string> out;
    for (const DrawOp &op : ops_)
        if (op.kind == DrawOp::Text) out.push_back(op.text);
    return out;
}

}  // namespace kvhost
