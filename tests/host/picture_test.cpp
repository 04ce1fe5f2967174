// Pictures of a display: PNG and SVG files of the right size with the screen drawn, and the JSON
// recording of the same calls.
#include <gtest/gtest.h>

#include <cairo.h>

#include "host/gdi/picture.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::vector<std::string> kLabels = {"TGT", "DIR", "INV", "SET", "HLD", "ENG",
                                          "MOD", "PRJ", "ABT", "CEN", "ZM-", "ZM+"};

void DrawSample(HDC hdc) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(hdc, pen);
    MoveToEx(hdc, 10, 128, nullptr);
    LineTo(hdc, 245, 128);
    SetTextColor(hdc, RGB(0, 255, 0));
    TextOutA(hdc, 5, 0, "Kavrex \"1.5\"", 12);
    Ellipse(hdc, 100, 100, 156, 156);
    DeleteObject(pen);
}

std::string TempPath(const char *name) { return std::string(::testing::TempDir()) + name; }

TEST(Picture, PngHasTheScreenBetweenTheLabelsAtTheScale) {
    const std::string path = TempPath("kavrex-picture.png");
    std::string error;
    ASSERT_TRUE(kvhost::WritePicture(path, 256, 256, kLabels, 3, DrawSample, error)) << error;
    cairo_surface_t *png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    const int w = cairo_image_surface_get_width(png), h = cairo_image_surface_get_height(png);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(w, (256 + 2 * 40) * 3);  // 40-pixel label margins at 256 pixels high
    // The red line crosses the screen's middle row; the screen behind it is black.
    cairo_surface_flush(png);
    const unsigned char *data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    auto pixel = [&](int x, int y) {
        return *reinterpret_cast<const uint32_t *>(data + y * stride + 4 * x) & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(120 + 3 * 60, 3 * 128 + 1), 0xFF0000u);
    EXPECT_EQ(pixel(120 + 3 * 60, 3 * 60), 0x000000u);
    cairo_surface_destroy(png);
    std::remove(path.c_str());
}

TEST(Picture, SvgAndJsonAndABadNameSayWhatTheyDid) {
    const std::string svg = TempPath("kavrex-picture.svg");
    std::string error;
    ASSERT_TRUE(kvhost::WritePicture(svg, 256, 256, kLabels, 3, DrawSample, error)) << error;
    std::ifstream in(svg);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("<svg"), std::string::npos);
    std::remove(svg.c_str());

    EXPECT_FALSE(kvhost::WritePicture(TempPath("kavrex-picture.gif"), 256, 256, kLabels, 3, DrawSample, error));
    EXPECT_NE(error.find("is written as .png or .svg"), std::string::npos);
    EXPECT_FALSE(kvhost::WritePicture("/nonexistent/dir/p.png", 256, 256, kLabels, 3, DrawSample, error));
    EXPECT_NE(error.find("/nonexistent/dir/p.png"), std::string::npos);

    kvhost::RecordingDc dc(256, 256);
    DrawSample(dc.hdc());
    const std::string json = kvhost::RecordingJson(dc, kLabels);
    EXPECT_NE(json.find("\"text\": \"Kavrex \\\"1.5\\\"\""), std::string::npos) << json;
    EXPECT_NE(
        json.find(
            "{\"call\": \"line\", \"x0\": 10, \"y0\": 128, \"x1\": 245, \"y1\": 128, \"pen\": {\"style\": \"solid\", "
            "\"width\": 1, \"color\": \"0x0000FF\"}}"),
        std::string::npos)
        << json;
    EXPECT_NE(json.find("\"labels\": [\"TGT\", \"DIR\""), std::string::npos);

    // Replayed on another context, the recording draws the same calls again.
    kvhost::RecordingDc copy(256, 256);
    dc.ReplayOn(copy);
    EXPECT_EQ(kvhost::RecordingJson(copy, kLabels), json);
}

}  // namespace
