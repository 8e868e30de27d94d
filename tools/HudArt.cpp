#include "tools/HudArt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

#include <cairo.h>

namespace common::assetgen {

namespace {

constexpr double kPi = 3.141592653589793;

// One Cairo drawing surface; the picture is laid out in a 256 x 256 space and scaled to the size.
class Canvas {
  public:
    explicit Canvas(int size)
        : size_(size),
          surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size)),
          context_(cairo_create(surface_)) {
        if (cairo_status(context_) != CAIRO_STATUS_SUCCESS) {
            throw std::runtime_error("cannot create a drawing surface");
        }
        cairo_scale(context_, size / 256.0, size / 256.0);
    }
    ~Canvas() {
        cairo_destroy(context_);
        cairo_surface_destroy(surface_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context_; }

    // Text centred on (x, y) in layout units, at `pixels` layout units high.
    void text(GlyphRenderer& font, const std::string& line, double x, double y, double pixels, double r,
              double g, double b, double a = 1.0) {
        const double scale = size_ / 256.0;
        font.setPixelSize(std::max(4, int(std::lround(pixels * scale))));
        const GlyphRenderer::Bitmap bitmap = font.text(line);
        if (bitmap.width == 0) {
            return;
        }
        cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, bitmap.width, bitmap.rows);
        cairo_surface_flush(mask);
        unsigned char* data = cairo_image_surface_get_data(mask);
        const int stride = cairo_image_surface_get_stride(mask);
        for (int row = 0; row < bitmap.rows; ++row) {
            std::memcpy(data + row * stride, &bitmap.coverage[std::size_t(row) * bitmap.width], bitmap.width);
        }
        cairo_surface_mark_dirty(mask);
        cairo_save(context_);
        cairo_identity_matrix(context_);
        cairo_set_source_rgba(context_, r, g, b, a);
        // Whole device pixels keep the glyphs as crisp as FreeType drew them.
        const double left = std::round(x * scale - bitmap.width / 2.0);
        const double top = std::round(y * scale - bitmap.rows / 2.0);
        cairo_mask_surface(context_, mask, left, top);
        cairo_restore(context_);
        cairo_surface_destroy(mask);
    }

    // Cairo keeps premultiplied native-endian ARGB; the PNG wants straight RGBA.
    Image image() const {
        cairo_surface_flush(surface_);
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        Image result(size_, size_, 4);
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                std::uint32_t argb = 0;
                std::memcpy(&argb, data + y * stride + 4 * x, 4);
                const unsigned alpha = argb >> 24;
                std::uint8_t* p = result.pixel(x, y);
                for (int c = 0; c < 3; ++c) {
                    const unsigned premultiplied = (argb >> (16 - 8 * c)) & 0xFF;
                    p[c] = alpha == 0
                               ? 255
                               : std::uint8_t(std::min(255u, (premultiplied * 255 + alpha / 2) / alpha));
                }
                p[3] = std::uint8_t(alpha);
            }
        }
        return result;
    }

  private:
    int size_;
    cairo_surface_t* surface_;
    cairo_t* context_;
};

void roundedRectangle(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

// Direction on the dial for a value: 0 at the top, clockwise, one degree per unit.
void dialPoint(double value, double radius, double& x, double& y) {
    const double angle = value * kPi / 180.0;
    x = 128.0 + radius * std::sin(angle);
    y = 128.0 - radius * std::cos(angle);
}

void dialArc(cairo_t* cr, double from, double to, double radius) {
    // Cairo measures from +x towards +y (clockwise on screen); the dial's 0 is straight up.
    cairo_arc(cr, 128.0, 128.0, radius, (from - 90.0) * kPi / 180.0, (to - 90.0) * kPi / 180.0);
}

}  // namespace

Image HudArt::altimeter(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();

    // Bezel and face.
    cairo_pattern_t* bezel = cairo_pattern_create_linear(0, 0, 0, 256);
    cairo_pattern_add_color_stop_rgb(bezel, 0.0, 0.78, 0.80, 0.84);
    cairo_pattern_add_color_stop_rgb(bezel, 1.0, 0.25, 0.27, 0.31);
    cairo_arc(cr, 128, 128, 126, 0, 2 * kPi);
    cairo_set_source(cr, bezel);
    cairo_fill(cr);
    cairo_pattern_destroy(bezel);
    cairo_pattern_t* face = cairo_pattern_create_radial(128, 110, 10, 128, 128, 116);
    cairo_pattern_add_color_stop_rgba(face, 0.0, 0.12, 0.16, 0.24, 0.92);
    cairo_pattern_add_color_stop_rgba(face, 1.0, 0.03, 0.05, 0.09, 0.92);
    cairo_arc(cr, 128, 128, 116, 0, 2 * kPi);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);

    // Coloured band: sea level, the height of the land, then open sky.
    cairo_set_line_width(cr, 5);
    const struct {
        double from;
        double to;
        double r, g, b;
    } bands[] = {{0, 15, 0.25, 0.55, 1.0}, {15, 100, 0.35, 0.80, 0.35}, {100, 300, 0.85, 0.88, 0.92}};
    for (const auto& band : bands) {
        cairo_new_path(cr);
        dialArc(cr, band.from, band.to, 108);
        cairo_set_source_rgb(cr, band.r, band.g, band.b);
        cairo_stroke(cr);
    }

    // Marks every 10, long ones with a label every 20.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int value = 0; value <= 300; value += 10) {
        const bool major = value % 20 == 0;
        double x0, y0, x1, y1;
        dialPoint(value, 104, x0, y0);
        dialPoint(value, major ? 90 : 96, x1, y1);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_set_line_width(cr, major ? 3.2 : 1.8);
        cairo_set_source_rgb(cr, 0.95, 0.96, 0.98);
        cairo_stroke(cr);
        if (major) {
            double lx, ly;
            dialPoint(value, 73, lx, ly);
            canvas.text(font_, std::to_string(value), lx, ly, 12.5, 0.95, 0.96, 0.98);
        }
    }
    canvas.text(font_, "ALT", 128, 92, 14, 0.55, 0.80, 1.0);
    return canvas.image();
}

Image HudArt::arrow(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    // A slim blade from the hub to just inside the marks, a short counterweight behind the hub.
    cairo_move_to(cr, 128, 30);
    cairo_line_to(cr, 135, 58);
    cairo_line_to(cr, 133, 128);
    cairo_line_to(cr, 131, 156);
    cairo_line_to(cr, 125, 156);
    cairo_line_to(cr, 123, 128);
    cairo_line_to(cr, 121, 58);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.05, 0.05, 0.08, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* blade = cairo_pattern_create_linear(120, 0, 136, 0);
    cairo_pattern_add_color_stop_rgb(blade, 0.0, 1.0, 0.55, 0.10);
    cairo_pattern_add_color_stop_rgb(blade, 0.5, 1.0, 0.80, 0.35);
    cairo_pattern_add_color_stop_rgb(blade, 1.0, 0.90, 0.40, 0.05);
    cairo_set_source(cr, blade);
    cairo_fill(cr);
    cairo_pattern_destroy(blade);
    // Hub.
    cairo_arc(cr, 128, 128, 10, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.10, 0.10, 0.12);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.85, 0.86, 0.90);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    return canvas.image();
}

Image HudArt::score(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    // The plate behind the number (the game prints it from about x 68, y 118 to y 158).
    roundedRectangle(cr, 62, 104, 190, 68, 22);
    cairo_set_source_rgba(cr, 0.04, 0.07, 0.14, 0.78);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1.0, 0.74, 0.15);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    canvas.text(font_, "SCORE", 160, 88, 22, 1.0, 0.80, 0.30);

    // A gold checkpoint ring, seen a little from the side, at the plate's left end.
    cairo_save(cr);
    cairo_translate(cr, 54, 138);
    cairo_scale(cr, 0.82, 1.0);
    cairo_arc(cr, 0, 0, 38, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 0.35, 0.18, 0.02);
    cairo_set_line_width(cr, 20);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* gold = cairo_pattern_create_linear(20, 100, 90, 176);
    cairo_pattern_add_color_stop_rgb(gold, 0.0, 1.0, 0.92, 0.55);
    cairo_pattern_add_color_stop_rgb(gold, 0.5, 1.0, 0.70, 0.10);
    cairo_pattern_add_color_stop_rgb(gold, 1.0, 0.85, 0.42, 0.04);
    cairo_set_source(cr, gold);
    cairo_set_line_width(cr, 13);
    cairo_stroke(cr);
    cairo_pattern_destroy(gold);
    // A small star in the ring.
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
        const double angle = -kPi / 2 + i * kPi / 5;
        const double radius = i % 2 == 0 ? 15.0 : 6.5;
        cairo_line_to(cr, 54 + radius * std::cos(angle), 139 + radius * std::sin(angle));
    }
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1.0, 0.95, 0.70);
    cairo_fill(cr);
    return canvas.image();
}

Image HudArt::warning(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    // Rounded triangle: a thick round-joined stroke around the fill.
    cairo_move_to(cr, 128, 26);
    cairo_line_to(cr, 232, 196);
    cairo_line_to(cr, 24, 196);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 22);
    cairo_set_source_rgb(cr, 0.10, 0.08, 0.05);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* amber = cairo_pattern_create_linear(0, 26, 0, 196);
    cairo_pattern_add_color_stop_rgb(amber, 0.0, 1.0, 0.85, 0.25);
    cairo_pattern_add_color_stop_rgb(amber, 1.0, 1.0, 0.62, 0.05);
    cairo_set_source(cr, amber);
    cairo_set_line_width(cr, 10);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(amber);
    // The exclamation mark.
    cairo_move_to(cr, 118, 78);
    cairo_line_to(cr, 138, 78);
    cairo_line_to(cr, 133, 148);
    cairo_line_to(cr, 123, 148);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.10, 0.08, 0.05);
    cairo_fill(cr);
    cairo_arc(cr, 128, 170, 10, 0, 2 * kPi);
    cairo_fill(cr);
    // "PULL UP" on a red plate below.
    roundedRectangle(cr, 34, 208, 188, 42, 10);
    cairo_set_source_rgb(cr, 0.80, 0.08, 0.06);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.10, 0.08, 0.05);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    canvas.text(font_, "PULL UP", 128, 229, 30, 1.0, 1.0, 1.0);
    return canvas.image();
}

Image HudArt::menuPanel(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    // Stretched over panels wider than high: a small rim and radius keep their shape.
    roundedRectangle(cr, 3, 3, 250, 250, 14);
    cairo_pattern_t* glass = cairo_pattern_create_linear(0, 0, 0, 256);
    cairo_pattern_add_color_stop_rgba(glass, 0.0, 0.10, 0.16, 0.32, 0.92);
    cairo_pattern_add_color_stop_rgba(glass, 1.0, 0.03, 0.05, 0.13, 0.92);
    cairo_set_source(cr, glass);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glass);
    cairo_set_source_rgb(cr, 1.0, 0.74, 0.15);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // A faint inner line under the rim.
    roundedRectangle(cr, 8, 8, 240, 240, 10);
    cairo_set_source_rgba(cr, 1.0, 0.85, 0.45, 0.25);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    return canvas.image();
}

Image HudArt::menuHighlight(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    roundedRectangle(cr, 2, 16, 252, 224, 40);
    cairo_pattern_t* bar = cairo_pattern_create_linear(0, 16, 0, 240);
    cairo_pattern_add_color_stop_rgba(bar, 0.0, 1.0, 0.80, 0.30, 0.85);
    cairo_pattern_add_color_stop_rgba(bar, 1.0, 0.80, 0.45, 0.05, 0.85);
    cairo_set_source(cr, bar);
    cairo_fill(cr);
    cairo_pattern_destroy(bar);
    // A bright bead at the left end marks the row even where the bar is narrow.
    cairo_rectangle(cr, 2, 16, 10, 224);
    cairo_set_source_rgba(cr, 1.0, 0.97, 0.80, 1.0);
    cairo_fill(cr);
    return canvas.image();
}

Image HudArt::menuShade(int size) {
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    cairo_rectangle(cr, 0, 0, 256, 256);
    cairo_set_source_rgba(cr, 0.0, 0.02, 0.06, 0.45);
    cairo_fill(cr);
    return canvas.image();
}

Image HudArt::medal(int size, int kind) {
    static const double kColours[3][3] = {{0.80, 0.50, 0.20}, {0.78, 0.80, 0.85}, {1.0, 0.78, 0.15}};
    const double* c = kColours[kind];
    Canvas canvas(size);
    cairo_t* cr = canvas.cr();
    // The ribbon, two tails behind the disc.
    for (const double side : {-1.0, 1.0}) {
        cairo_move_to(cr, 128 + side * 20, 0);
        cairo_line_to(cr, 128 + side * 70, 0);
        cairo_line_to(cr, 128 + side * 30, 110);
        cairo_line_to(cr, 128 - side * 10, 110);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, side < 0 ? 0.15 : 0.75, 0.25, side < 0 ? 0.70 : 0.20);
        cairo_fill(cr);
    }
    cairo_arc(cr, 128, 160, 86, 0, 2 * kPi);
    cairo_pattern_t* metal = cairo_pattern_create_linear(60, 80, 200, 240);
    cairo_pattern_add_color_stop_rgb(metal, 0.0, std::min(1.0, c[0] + 0.25), std::min(1.0, c[1] + 0.25),
                                     std::min(1.0, c[2] + 0.25));
    cairo_pattern_add_color_stop_rgb(metal, 1.0, c[0] * 0.6, c[1] * 0.6, c[2] * 0.6);
    cairo_set_source(cr, metal);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(metal);
    cairo_set_source_rgb(cr, c[0] * 0.45, c[1] * 0.45, c[2] * 0.45);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
        const double angle = -kPi / 2 + i * kPi / 5;
        const double radius = i % 2 == 0 ? 50.0 : 21.0;
        cairo_line_to(cr, 128 + radius * std::cos(angle), 164 + radius * std::sin(angle));
    }
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 1.0, 1.0, 0.95, 0.9);
    cairo_fill(cr);
    return canvas.image();
}

}  // namespace common::assetgen
