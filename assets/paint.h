// Shared drawing helpers that give every sprite the same look: dark ink outlines, soft shading.
#pragma once

#include <cairo.h>

#include "image.h"

namespace bake {

// The ink of every outline; sprite edges are mixed with it, never with the key.
inline constexpr Rgb kInk{28, 22, 40};

inline void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

inline Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](int x, int y) { return std::uint8_t(x + (y - x) * t + 0.5); };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// Fills the current path with `fill` and strokes it in ink.
inline void FillInked(cairo_t* cr, Rgb fill, double width = 1.6) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// Fills the current path with a top-lit vertical gradient from `light` to `dark`, then inks it.
inline void FillShaded(cairo_t* cr, Rgb light, Rgb dark, double y0, double y1, double width = 1.6) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, light.r / 255.0, light.g / 255.0, light.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

}  // namespace bake
