// recording_dc.h: a device context that keeps every drawing call, so tests can assert on what
// a pilot would see (texts with position and colour, lines and ellipses with their pen).
#ifndef KVHOST_GDI_RECORDING_DC_H
#define KVHOST_GDI_RECORDING_DC_H

#include "device_context.h"

#include <string>
#include <vector>

namespace kvhost {

struct DrawOp {
    enum Kind { Text, Line, Ellipse } kind;
    int x0, y0, x1, y1;  // text: position in x0, y0; line: ends; ellipse: bounding box
    std::string text;
    COLORREF color;  // text colour or pen colour
    Pen pen;
};

class RecordingDc : public DeviceContext {
public:
    RecordingDc(int width, int height) : DeviceContext(width, height) {}

    void DrawText(int x, int y, const std::string &text, COLORREF color) override;
    void DrawLine(int x0, int y0, int x1, int y1, const Pen &pen) override;
    void DrawEllipse(int left, int top, int right, int bottom, const Pen &pen) override;

    const std::vector<DrawOp> &ops() const { return ops_; }
    void Clear() { ops_.clear(); }
    std::vector<std::string> Texts() const;  // every text, in drawing order
    // Draws every recorded call again on another context, as it was drawn here.
    void ReplayOn(DeviceContext &to) const;

private:
    std::vector<DrawOp> ops_;
};

}  // namespace kvhost

#endif
