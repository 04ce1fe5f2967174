// Pictures of a display: PNG and SVG files of the right size with the screen drawn, and the JSON
// recording of the same calls.
#include <gtest/gtest.h>

#include <cairo.h>

#include "host/gdi/picture.h"
#include "host/gdi/raster_dc.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
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

// A disc far larger than the screen (a planet's, seen from near its surface) is drawn as the
// stretches of its outline near the screen, from 65,536 points round: the same pixels as every
// one of those points visited, wherever the outline crosses the screen.
TEST(Picture, AHugeDiscDrawsTheSamePixelsAsEveryPointOfItsOutline) {
    const int W = 256, H = 256;
    auto pixels = [&](const std::function<void(cairo_t *)> &draw) {
        cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
        cairo_t *cr = cairo_create(s);
        draw(cr);
        cairo_destroy(cr);
        cairo_surface_flush(s);
        const unsigned char *data = cairo_image_surface_get_data(s);
        std::string out(reinterpret_cast<const char *>(data),
                        static_cast<size_t>(cairo_image_surface_get_stride(s)) * H);
        cairo_surface_destroy(s);
        return out;
    };
    const kvhost::Pen pen = {PS_SOLID, 1, RGB(0, 255, 0)};
    int crossing = 0;
    for (const double r : {2e6, 3.7e7, 6.4e8})
        for (const double angle : {0.0, 0.7, 1.9, 3.14159, 4.4, 5.5}) {
            // The outline passes within some pixels of the screen's centre, at every side of it.
            const double cx = 128 - (r + 40 * std::sin(3 * angle)) * std::cos(angle);
            const double cy = 128 - (r + 40 * std::sin(3 * angle)) * std::sin(angle);
            SCOPED_TRACE(std::to_string(r) + " at " + std::to_string(angle));
            const std::string drawn = pixels([&](cairo_t *cr) {
                kvhost::RasterDc dc(W, H, cr);
                dc.DrawEllipse(static_cast<int>(cx - r), static_cast<int>(cy - r), static_cast<int>(cx + r),
                               static_cast<int>(cy + r), pen);
            });
            const std::string everyPoint = pixels([&](cairo_t *cr) {
                kvhost::RasterDc dc(W, H, cr);  // the black screen, then the outline point by point
                kvhost::SetColour(cr, pen.color);
                cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
                cairo_set_line_width(cr, 1);
                const double x0 = 0.5 * (static_cast<int>(cx - r) + static_cast<int>(cx + r)),
                             y0 = 0.5 * (static_cast<int>(cy - r) + static_cast<int>(cy + r)),
                             rr = 0.5 * (static_cast<int>(cx + r) - static_cast<int>(cx - r));
                const int n = 1 << 16;
                bool on = false;
                for (int i = 0; i <= n; ++i) {
                    const double a = 2 * M_PI * i / n, x = x0 + rr * std::cos(a), y = y0 + rr * std::sin(a);
                    const bool near = std::fabs(x) < 4 * W + 1e3 && std::fabs(y) < 4 * H + 1e3;
                    if (near && on)
                        cairo_line_to(cr, x, y);
                    else if (near)
                        cairo_move_to(cr, x, y);
                    on = near;
                }
                cairo_stroke(cr);
            });
            crossing += drawn.find(std::string("\x00\xff\x00", 3)) != std::string::npos;
            EXPECT_TRUE(drawn == everyPoint);
        }
    EXPECT_EQ(crossing, 18) << "every outline crosses the screen";
}

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
