#include "tools/IconArt.h"

#include <stdexcept>

#include <cairo-svg.h>
#include <cairo.h>

namespace common::assetgen {
namespace {

constexpr double kPi = 3.141592653589793;

// Everything is laid out on a 256 x 256 tile; the caller has scaled the context to the output size.
void draw(cairo_t* cr) {
    // Tile: rounded square, sky blue at the top fading to a warm horizon.
    const double r = 40.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 256 - r - 8, r + 8, r, -kPi / 2, 0);
    cairo_arc(cr, 256 - r - 8, 256 - r - 8, r, 0, kPi / 2);
    cairo_arc(cr, r + 8, 256 - r - 8, r, kPi / 2, kPi);
    cairo_arc(cr, r + 8, r + 8, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 8, 0, 248);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.16, 0.42, 0.78);
    cairo_pattern_add_color_stop_rgb(sky, 0.7, 0.55, 0.76, 0.93);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.98, 0.80, 0.55);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_save(cr);
    cairo_clip(cr);

    // Mountains along the bottom.
    cairo_move_to(cr, 0, 256);
    cairo_line_to(cr, 0, 200);
    cairo_line_to(cr, 60, 150);
    cairo_line_to(cr, 100, 185);
    cairo_line_to(cr, 160, 130);
    cairo_line_to(cr, 220, 190);
    cairo_line_to(cr, 256, 170);
    cairo_line_to(cr, 256, 256);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.22, 0.36, 0.30);
    cairo_fill(cr);
    cairo_restore(cr);

    // The ring, seen a little from the side: a thick golden ellipse with a darker inner edge.
    cairo_save(cr);
    cairo_translate(cr, 128, 118);
    cairo_scale(cr, 0.62, 1.0);
    cairo_arc(cr, 0, 0, 78, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_line_width(cr, 22);
    cairo_set_source_rgb(cr, 0.96, 0.74, 0.16);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 128, 118);
    cairo_scale(cr, 0.62, 1.0);
    cairo_arc(cr, 0, 0, 66, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_line_width(cr, 4);
    cairo_set_source_rgb(cr, 0.70, 0.46, 0.06);
    cairo_stroke(cr);

    // The craft: a white delta wing heading up through the ring.
    cairo_move_to(cr, 128, 70);
    cairo_line_to(cr, 172, 168);
    cairo_line_to(cr, 128, 150);
    cairo_line_to(cr, 84, 168);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.99);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 4);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgb(cr, 0.15, 0.18, 0.25);
    cairo_stroke(cr);
}

void check(cairo_status_t status, const std::string& path) {
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + path + ": " + cairo_status_to_string(status));
    }
}

}  // namespace

void IconArt::savePng(const std::string& path, int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 256.0, size / 256.0);
    draw(cr);
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    check(status, path);
}

void IconArt::saveSvg(const std::string& path) {
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), 256, 256);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    const cairo_status_t drawn = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t written = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    check(drawn != CAIRO_STATUS_SUCCESS ? drawn : written, path);
}

}  // namespace common::assetgen
