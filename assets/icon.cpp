// The program's icon, drawn once as paths so every size and the scalable file look alike.
#include "icon.h"

#include <cairo-svg.h>

#include <cmath>
#include <stdexcept>

#include "paint.h"
#include "sheets.h"

namespace bake {

namespace fs = std::filesystem;

namespace {

constexpr double kUnits = 64;

void RoundedSquare(cairo_t* cr, double inset, double radius) {
    const double a = inset;
    const double b = kUnits - inset;
    cairo_new_sub_path(cr);
    cairo_arc(cr, b - radius, a + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, b - radius, b - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, a + radius, b - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, a + radius, a + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void PaintSkyAndSea(cairo_t* cr) {
    RoundedSquare(cr, 2, 12);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 2, 0, 62);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.36, 0.62, 0.92);
    cairo_pattern_add_color_stop_rgb(sky, 0.62, 0.78, 0.90, 0.98);
    cairo_pattern_add_color_stop_rgb(sky, 0.62, 0.16, 0.42, 0.70);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.08, 0.24, 0.46);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

void PaintBall(cairo_t* cr, double cx, double cy, double r) {
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* shine = cairo_pattern_create_radial(cx - r / 3, cy - r / 3, r / 6, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(shine, 0, 1.0, 0.92, 0.62);
    cairo_pattern_add_color_stop_rgb(shine, 1, 0.86, 0.28, 0.10);
    cairo_set_source(cr, shine);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shine);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

void PaintPaddleBar(cairo_t* cr) {
    constexpr double x0 = 13, x1 = 51, y0 = 50, y1 = 56, r = 3;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -M_PI / 2, M_PI / 2);
    cairo_arc(cr, x0 + r, y0 + r, r, M_PI / 2, 3 * M_PI / 2);
    cairo_close_path(cr);
    FillShaded(cr, Rgb{250, 240, 200}, Rgb{200, 120, 40}, y0, y1, 1.6);
}

}  // namespace

const std::vector<int>& IconSizes() {
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256, 512};
    return sizes;
}

void PaintIcon(cairo_t* cr) {
    PaintSkyAndSea(cr);
    cairo_save(cr);
    RoundedSquare(cr, 2, 12);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, 5, -5);
    cairo_scale(cr, 0.82, 0.82);
    PaintGull(cr, GullKind::Plain, 0);
    cairo_restore(cr);
    PaintBall(cr, 41, 42, 5);
    PaintPaddleBar(cr);
    cairo_restore(cr);
}

void WriteIcons(const fs::path& out, const std::string& name) {
    for (const int size : IconSizes()) {
        const fs::path folder = out / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        fs::create_directories(folder);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, size / kUnits, size / kUnits);
        PaintIcon(cr);
        cairo_destroy(cr);
        const cairo_status_t status =
            cairo_surface_write_to_png(surface, (folder / (name + ".png")).c_str());
        cairo_surface_destroy(surface);
        if (status != CAIRO_STATUS_SUCCESS) {
            throw std::runtime_error("cannot write the icon of " + std::to_string(size) +
                                     " pixels: " + cairo_status_to_string(status));
        }
    }
    const fs::path scalable = out / "scalable" / "apps";
    fs::create_directories(scalable);
    cairo_surface_t* svg =
        cairo_svg_surface_create((scalable / (name + ".svg")).c_str(), kUnits, kUnits);
    cairo_t* cr = cairo_create(svg);
    PaintIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(svg);
    const cairo_status_t status = cairo_surface_status(svg);
    cairo_surface_destroy(svg);
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error(std::string("cannot write the scalable icon: ") +
                                 cairo_status_to_string(status));
    }
}

}  // namespace bake
