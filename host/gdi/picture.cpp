// picture.cpp: PNG and SVG pictures of a display, and JSON recordings.
#include "picture.h"

#include "../files/files.h"

#include "raster_dc.h"

#include <cairo-svg.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kvhost {

namespace {

bool EndsWith(const std::string &s, const char *tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// The bezel: button labels beside the screen, six a side, in the display's font; a held button's
// label on a lighter plate.
void DrawBezel(cairo_t *cr, int W, int H, double margin, const std::vector<std::string> &labels, int pressed) {
    // Its own area only: a window shows several displays side by side on one canvas.
    cairo_set_source_rgb(cr, 0.16, 0.17, 0.18);
    cairo_rectangle(cr, 0, 0, W + 2 * margin, H);
    cairo_fill(cr);
    SelectDisplayFont(cr, H);
    for (size_t i = 0; i < labels.size() && i < 12; ++i) {
        const bool left = i < 6;
        const double y = H * ((i % 6) + 0.5) / 6.0;
        if (static_cast<int>(i) == pressed) {
            cairo_set_source_rgb(cr, 0.45, 0.47, 0.5);
            cairo_rectangle(cr, left ? 2 : margin + W + 2, H * (i % 6) / 6.0 + 2, margin - 4, H / 6.0 - 4);
            cairo_fill(cr);
        }
        cairo_text_extents_t ext;
        cairo_text_extents(cr, labels[i].c_str(), &ext);
        const double x = left ? (margin - ext.x_advance) / 2 : margin + W + (margin - ext.x_advance) / 2;
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.8);
        cairo_move_to(cr, x, y + ext.height / 2);
        cairo_show_text(cr, labels[i].c_str());
    }
}

}  // namespace

namespace {

// The length of the well-formed UTF-8 sequence at s[i], or 0 when the byte there begins none
// (overlong forms, surrogates and values beyond U+10FFFF included).
size_t Utf8SequenceAt(const std::string &s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return 1;
    size_t n;
    unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        const unsigned char b = static_cast<unsigned char>(s[i + k]);
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return 0;
    }
    return n;
}

}  // namespace

std::string JsonEscape(const std::string &s, int *replaced) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        const char c = s[i];
        const size_t n = Utf8SequenceAt(s, i);
        if (n == 0) {
            // JSON is UTF-8: a byte that begins no character becomes the replacement character.
            out += "\\ufffd";
            if (replaced) ++*replaced;
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s, i, n);
            i += n;
            continue;
        }
        ++i;
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
            continue;
        }
        out += c;
    }
    return out;
}

namespace {

std::string Colour(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\"0x%06X\"", static_cast<unsigned>(c));
    return buf;
}

}  // namespace

namespace {

// Cairo writes the picture's bytes into memory; the file is written whole from there.
cairo_status_t AppendBytes(void *closure, const unsigned char *data, unsigned int length) {
    static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool WriteCairoPicture(const std::string &path, double width, double height,
                       const std::function<void(cairo_t *)> &paint, std::string &error) {
    const bool svg = EndsWith(path, ".svg");
    if (!svg && !EndsWith(path, ".png")) {
        error = path + ": a picture is written as .png or .svg";
        return false;
    }
    if (!(width >= 1 && height >= 1)) {
        error = path + ": a picture of " + std::to_string(static_cast<int>(width)) + " x " +
                std::to_string(static_cast<int>(height)) + " pixels shows nothing (choose a larger scale)";
        return false;
    }
    std::string bytes;
    cairo_surface_t *surface =
        svg ? cairo_svg_surface_create_for_stream(AppendBytes, &bytes, width, height)
            : cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width), static_cast<int>(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot make the picture (" + cairo_status_to_string(cairo_surface_status(surface)) + ")";
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_t *cr = cairo_create(surface);
    paint(cr);
    cairo_destroy(cr);
    cairo_status_t status = CAIRO_STATUS_SUCCESS;
    if (!svg) status = cairo_surface_write_to_png_stream(surface, AppendBytes, &bytes);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot make the picture (" + cairo_status_to_string(status) + ")";
        return false;
    }
    return WriteWholeFile(path, bytes, error);
}

double BezelMargin(int height) { return height / 24 * 4.0; }

int ButtonAtPoint(double x, double y, int W, int H) {
    const double margin = BezelMargin(H);
    if (!(y >= 0 && y < H)) return -1;
    const int row = static_cast<int>(y * 6 / H);
    if (x >= 0 && x < margin) return row;
    if (x >= margin + W && x < 2 * margin + W) return 6 + row;
    return -1;
}

void PaintDisplayPicture(cairo_t *cr, int W, int H, const std::vector<std::string> &labels, double scale,
                         const std::function<void(HDC)> &draw, int pressed) {
    const double margin = BezelMargin(H);
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    DrawBezel(cr, W, H, margin, labels, pressed);
    cairo_translate(cr, margin, 0);
    {
        RasterDc dc(W, H, cr);
        draw(dc.hdc());
    }
    cairo_restore(cr);
}

bool WritePicture(const std::string &path, int W, int H, const std::vector<std::string> &labels, double scale,
                  const std::function<void(HDC)> &draw, std::string &error) {
    const double margin = BezelMargin(H);
    return WriteCairoPicture(
        path, (W + 2 * margin) * scale, H * scale,
        [&](cairo_t *cr) { PaintDisplayPicture(cr, W, H, labels, scale, draw); }, error);
}

std::string RecordingJson(const RecordingDc &dc, const std::vector<std::string> &labels, int *replaced) {
    std::string out = "{\n  \"width\": " + std::to_string(dc.width()) +
                      ",\n  \"height\": " + std::to_string(dc.height()) + ",\n  \"labels\": [";
    for (size_t i = 0; i < labels.size(); ++i) out += (i ? ", \"" : "\"") + JsonEscape(labels[i], replaced) + "\"";
    out += "],\n  \"calls\": [\n";
    static const char *const styles[] = {"solid", "dash", "dot"};
    for (size_t i = 0; i < dc.ops().size(); ++i) {
        const DrawOp &op = dc.ops()[i];
        const std::string pen =
            std::string("{\"style\": \"") + (op.pen.style >= 0 && op.pen.style <= 2 ? styles[op.pen.style] : "other") +
            "\", \"width\": " + std::to_string(op.pen.width) + ", \"color\": " + Colour(op.pen.color) + "}";
        char head[160];
        if (op.kind == DrawOp::Text) {
            std::snprintf(head, sizeof head, "{\"call\": \"text\", \"x\": %d, \"y\": %d, ", op.x0, op.y0);
            out += std::string("    ") + head + "\"color\": " + Colour(op.color) + ", \"text\": \"" +
                   JsonEscape(op.text, replaced) + "\"}";
        } else {
            std::snprintf(head, sizeof head, "{\"call\": \"%s\", \"x0\": %d, \"y0\": %d, \"x1\": %d, \"y1\": %d, ",
                          op.kind == DrawOp::Line ? "line" : "ellipse", op.x0, op.y0, op.x1, op.y1);
            out += std::string("    ") + head + "\"pen\": " + pen + "}";
        }
        out += i + 1 < dc.ops().size() ? ",\n" : "\n";
    }
    out += "  ]\n}\n";
    return out;
}

}  // namespace kvhost
