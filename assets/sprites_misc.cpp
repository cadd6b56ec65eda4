// The explosion, the misc sheet (Bazzle, struck gull, bomb, sun, cannon) and the paddle sheet.
#include <cmath>

#include "paint.h"
#include "sheets.h"

namespace bake {
namespace {

void Circle(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

void RadialFill(cairo_t* cr, double x, double y, double r, Rgb inner, Rgb outer) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, r * 0.1, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0, inner.r / 255.0, inner.g / 255.0, inner.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, outer.r / 255.0, outer.g / 255.0, outer.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void Burst(cairo_t* cr, double cx, double cy, int points, double outer, double inner,
           double twist) {
    for (int k = 0; k < points * 2; ++k) {
        const double a = twist + k * M_PI / points;
        const double r = (k % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

// One explosion frame, 0 the first flash to 7 the last wisps of smoke.
void PaintExplosion(cairo_t* cr, int f) {
    const double cx = 32, cy = 32;
    if (f < 2) {
        Burst(cr, cx, cy, 8, 16 + 10 * f, 7 + 5 * f, f * 0.2);
        RadialFill(cr, cx, cy, 16 + 10 * f, Rgb{255, 255, 250}, Rgb{255, 214, 60});
        SetColour(cr, Rgb{150, 50, 10});
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        return;
    }
    // Puffs: fire turning to smoke, spreading and thinning.
    Random rnd(77);
    const double spread = 6 + 3.2 * f;
    const double t = (f - 2) / 5.0;  // 0 fire .. 1 smoke
    const Rgb fireIn{255, 240, 120}, fireOut{236, 90, 20};
    const Rgb smokeIn{190, 186, 180}, smokeOut{92, 88, 92};
    const int puffs = 9;
    const double size = f < 6 ? 13 - 0.6 * f : 9 - 2.2 * (f - 6);
    for (int k = 0; k < puffs; ++k) {
        const double a = 2 * M_PI * k / puffs + rnd.Uniform(-0.3, 0.3);
        const double d = spread * rnd.Uniform(0.55, 1.0);
        const double r = size * rnd.Uniform(0.75, 1.15);
        const double px = cx + d * std::cos(a), py = cy + d * std::sin(a) - 2.0 * (f - 2);
        Circle(cr, px, py, r);
        RadialFill(cr, px, py, r, Mix(fireIn, smokeIn, t), Mix(fireOut, smokeOut, t));
        SetColour(cr, Mix(Rgb{130, 40, 10}, Rgb{60, 58, 64}, t));
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
    if (f < 5) {
        const double r = 14 - 3 * (f - 2);
        Circle(cr, cx, cy - (f - 2), r);
        RadialFill(cr, cx, cy, r, Rgb{255, 255, 230}, Rgb{255, 170, 40});
        cairo_new_path(cr);
    }
}

// The Bazzle: a little balloon carrying a basket of fish to feed the gulls, in three liveries.
void PaintBazzle(cairo_t* cr, int look) {
    const Rgb liveries[3][2] = {{{232, 52, 48}, {252, 214, 64}},
                                {{40, 96, 216}, {246, 246, 240}},
                                {{40, 168, 80}, {250, 150, 40}}};
    const Rgb a = liveries[look][0], b = liveries[look][1];
    // Ropes.
    SetColour(cr, Rgb{90, 64, 40});
    cairo_set_line_width(cr, 1.3);
    for (double x : {23.0, 41.0}) {
        cairo_move_to(cr, x < 32 ? 17 : 47, 36);
        cairo_line_to(cr, x, 49);
    }
    cairo_stroke(cr);
    // Envelope: gores of the two colours.
    auto envelope = [cr]() {
        cairo_move_to(cr, 32, 44);
        cairo_curve_to(cr, 20, 38, 6, 30, 6, 19);
        cairo_curve_to(cr, 6, 6, 18, 1, 32, 1);
        cairo_curve_to(cr, 46, 1, 58, 6, 58, 19);
        cairo_curve_to(cr, 58, 30, 44, 38, 32, 44);
        cairo_close_path(cr);
    };
    envelope();
    FillShaded(cr, a, Mix(a, kInk, 0.35), 1, 44);
    cairo_save(cr);
    envelope();
    cairo_clip(cr);
    for (int g = -1; g <= 1; g += 2) {
        cairo_move_to(cr, 32 + g * 6, 0);
        cairo_curve_to(cr, 32 + g * 15, 14, 32 + g * 11, 30, 32, 46);
        cairo_curve_to(cr, 32 + g * 4, 30, 32 + g * 3, 14, 32 + g * 1, 0);
        cairo_close_path(cr);
    }
    cairo_move_to(cr, 29, 0);
    cairo_line_to(cr, 35, 0);
    cairo_line_to(cr, 33, 46);
    cairo_line_to(cr, 31, 46);
    cairo_close_path(cr);
    SetColour(cr, b);
    cairo_fill(cr);
    // Gloss.
    Circle(cr, 20, 12, 4);
    SetColour(cr, Rgb{255, 255, 255}, 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
    envelope();
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Fish tails over the basket rim, then the basket.
    for (int k = 0; k < 3; ++k) {
        const double x = 26 + 6 * k;
        cairo_move_to(cr, x, 50);
        cairo_line_to(cr, x - 3, 44.5);
        cairo_line_to(cr, x + 3, 44.5);
        cairo_close_path(cr);
        FillInked(cr, Rgb{170, 196, 214}, 1.1);
    }
    cairo_rectangle(cr, 21, 49, 22, 12);
    FillShaded(cr, Rgb{214, 160, 96}, Rgb{136, 88, 44}, 49, 61);
    SetColour(cr, Rgb{110, 70, 36});
    cairo_set_line_width(cr, 1);
    for (double y : {53.0, 57.0}) {
        cairo_move_to(cr, 22, y);
        cairo_line_to(cr, 42, y);
    }
    cairo_stroke(cr);
}

void PaintBomb(cairo_t* cr) {
    // Fuse and spark.
    SetColour(cr, Rgb{120, 90, 50});
    cairo_set_line_width(cr, 2.2);
    cairo_move_to(cr, 36, 22);
    cairo_curve_to(cr, 38, 16, 43, 16, 44, 12);
    cairo_stroke(cr);
    Burst(cr, 45, 10, 6, 6.5, 2.6, 0.3);
    FillInked(cr, Rgb{255, 214, 60}, 1.0);
    Circle(cr, 45, 10, 1.8);
    SetColour(cr, Rgb{255, 255, 240});
    cairo_fill(cr);
    // Neck and body.
    cairo_rectangle(cr, 30, 21, 9, 6);
    FillShaded(cr, Rgb{150, 150, 160}, Rgb{70, 70, 80}, 21, 27);
    Circle(cr, 32, 38, 13);
    RadialFill(cr, 32, 38, 13, Rgb{120, 124, 140}, Rgb{24, 24, 34});
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    Circle(cr, 27, 33, 3);
    SetColour(cr, Rgb{255, 255, 255}, 0.7);
    cairo_fill(cr);
}

void PaintSun(cairo_t* cr) {
    Burst(cr, 32, 32, 12, 31, 20, 0.13);
    FillShaded(cr, Rgb{255, 200, 40}, Rgb{246, 120, 20}, 2, 62, 1.4);
    Circle(cr, 32, 32, 19);
    RadialFill(cr, 32, 32, 19, Rgb{255, 250, 170}, Rgb{255, 200, 30});
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Cheeks, eyes, smile.
    for (double x : {22.0, 42.0}) {
        Circle(cr, x, 36, 3.5);
        SetColour(cr, Rgb{250, 130, 90}, 0.8);
        cairo_fill(cr);
    }
    for (double x : {25.5, 38.5}) {
        cairo_save(cr);
        cairo_translate(cr, x, 27);
        cairo_scale(cr, 2.2, 3.2);
        Circle(cr, 0, 0, 1);
        cairo_restore(cr);
        SetColour(cr, kInk);
        cairo_fill(cr);
        Circle(cr, x + 0.8, 26, 0.9);
        SetColour(cr, Rgb{255, 255, 255});
        cairo_fill(cr);
    }
    cairo_arc(cr, 32, 33, 10, 0.2 * M_PI, 0.8 * M_PI);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void Wheel(cairo_t* cr, double x, double y, double r) {
    Circle(cr, x, y, r);
    FillInked(cr, Rgb{150, 96, 48}, 1.6);
    Circle(cr, x, y, r - 3);
    SetColour(cr, Rgb{196, 136, 72});
    cairo_fill(cr);
    SetColour(cr, Rgb{90, 56, 28});
    cairo_set_line_width(cr, 1.6);
    for (int k = 0; k < 4; ++k) {
        const double a = k * M_PI / 4 + 0.2;
        cairo_move_to(cr, x - (r - 2) * std::cos(a), y - (r - 2) * std::sin(a));
        cairo_line_to(cr, x + (r - 2) * std::cos(a), y + (r - 2) * std::sin(a));
    }
    cairo_stroke(cr);
    Circle(cr, x, y, 2.5);
    FillInked(cr, Rgb{60, 60, 70}, 1.0);
}

// A cannon on a wheeled carriage, its barrel raised up and to the right.
void PaintCannon(cairo_t* cr) {
    // Carriage.
    cairo_move_to(cr, 8, 52);
    cairo_line_to(cr, 14, 38);
    cairo_line_to(cr, 34, 36);
    cairo_line_to(cr, 40, 52);
    cairo_close_path(cr);
    FillShaded(cr, Rgb{186, 120, 60}, Rgb{112, 68, 32}, 36, 52);
    // Barrel.
    cairo_save(cr);
    cairo_translate(cr, 24, 40);
    cairo_rotate(cr, -0.72);
    cairo_move_to(cr, -8, -8);
    cairo_line_to(cr, 34, -6);
    cairo_line_to(cr, 34, 6);
    cairo_line_to(cr, -8, 8);
    cairo_arc_negative(cr, -8, 0, 8, M_PI / 2, -M_PI / 2);
    cairo_close_path(cr);
    FillShaded(cr, Rgb{120, 128, 146}, Rgb{30, 32, 44}, -8, 8);
    cairo_rectangle(cr, 31, -8, 6, 16);
    FillShaded(cr, Rgb{150, 158, 176}, Rgb{44, 46, 60}, -8, 8);
    cairo_rectangle(cr, 8, -7.5, 3, 15);
    FillInked(cr, Rgb{96, 102, 120}, 1.0);
    cairo_restore(cr);
    Wheel(cr, 16, 52, 11);
    Wheel(cr, 36, 54, 9);
}

// Paddle geometry: the top edge (outline included) at row 14, so that a 42-pixel ball at Y 410
// rests on a paddle at Y 438; the shotgun barrels sit 23 pixels either side of the shot's column.
constexpr double kPaddleTop = 14.8, kPaddleBottom = 30;
constexpr double kBarrelLeft = 8.5, kBarrelRight = 55.5, kShotColumn = 32;

void PaddlePath(cairo_t* cr) {
    const double r = (kPaddleBottom - kPaddleTop) / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 1 + r, kPaddleTop + r, r, M_PI / 2, 3 * M_PI / 2);
    cairo_arc(cr, 63 - r, kPaddleTop + r, r, -M_PI / 2, M_PI / 2);
    cairo_close_path(cr);
}

void PaintPaddle(cairo_t* cr) {
    PaddlePath(cr);
    FillShaded(cr, Rgb{236, 240, 250}, Rgb{96, 104, 128}, kPaddleTop, kPaddleBottom);
    cairo_save(cr);
    PaddlePath(cr);
    cairo_clip(cr);
    for (double x : {0.0, 52.0}) {
        cairo_rectangle(cr, x, kPaddleTop, 12, kPaddleBottom - kPaddleTop);
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(0, kPaddleTop, 0, kPaddleBottom);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.55, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.08, 0.10);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, 12, 21, 40, 3);
    SetColour(cr, Rgb{40, 110, 220});
    cairo_fill(cr);
    cairo_rectangle(cr, 6, kPaddleTop + 1.5, 52, 2);
    SetColour(cr, Rgb{255, 255, 255}, 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
    PaddlePath(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (double x : {12.0, 52.0}) {
        cairo_move_to(cr, x, kPaddleTop);
        cairo_line_to(cr, x, kPaddleBottom);
    }
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// Glue lying along the top of the paddle, dripping over its face.
void PaintGlue(cairo_t* cr) {
    cairo_move_to(cr, 4, kPaddleTop + 3);
    cairo_curve_to(cr, 10, kPaddleTop - 4, 20, kPaddleTop - 2, 26, kPaddleTop - 3);
    cairo_curve_to(cr, 34, kPaddleTop - 5, 44, kPaddleTop - 2, 52, kPaddleTop - 3);
    cairo_curve_to(cr, 58, kPaddleTop - 3, 61, kPaddleTop, 60, kPaddleTop + 3);
    // Drips down the face.
    for (double x : {50.0, 36.0, 20.0, 10.0}) {
        const double len = (int(x) % 3 == 0) ? 10 : 7;
        cairo_line_to(cr, x + 3, kPaddleTop + 3);
        cairo_curve_to(cr, x + 3, kPaddleTop + len, x - 3, kPaddleTop + len, x - 3, kPaddleTop + 3);
    }
    cairo_close_path(cr);
    FillShaded(cr, Rgb{200, 250, 110}, Rgb{70, 170, 30}, kPaddleTop - 5, kPaddleTop + 10);
    for (double x : {14.0, 40.0}) {
        Circle(cr, x, kPaddleTop - 1, 1.4);
        SetColour(cr, Rgb{255, 255, 255}, 0.85);
        cairo_fill(cr);
    }
}

// A striped umbrella canopy on two poles that stand on the paddle's ends, clear of the ball.
void PaintUmbrella(cairo_t* cr) {
    for (double x : {4.0, 60.0}) {
        cairo_rectangle(cr, x - 1.2, 10, 2.4, 32);
        FillInked(cr, Rgb{210, 180, 120}, 1.0);
    }
    auto canopy = [cr]() {
        cairo_move_to(cr, 1, 13);
        cairo_curve_to(cr, 6, 1, 58, 1, 63, 13);
        for (int k = 5; k >= 0; --k) {
            const double x0 = 1 + 62.0 * (k + 1) / 6, x1 = 1 + 62.0 * k / 6;
            cairo_curve_to(cr, x0 - 3, 9, x1 + 3, 9, x1, 13);
        }
        cairo_close_path(cr);
    };
    canopy();
    SetColour(cr, Rgb{250, 250, 244});
    cairo_fill(cr);
    cairo_save(cr);
    canopy();
    cairo_clip(cr);
    for (int k = 0; k < 6; k += 2) {
        const double x0 = 1 + 62.0 * k / 6, x1 = 1 + 62.0 * (k + 1) / 6;
        cairo_move_to(cr, 32 + (x0 - 32) * 0.2, 2);
        cairo_line_to(cr, x0, 14);
        cairo_line_to(cr, x1, 14);
        cairo_line_to(cr, 32 + (x1 - 32) * 0.2, 2);
        cairo_close_path(cr);
    }
    SetColour(cr, Rgb{226, 44, 52});
    cairo_fill(cr);
    cairo_restore(cr);
    canopy();
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Circle(cr, 32, 2.5, 2);
    FillInked(cr, Rgb{250, 210, 60}, 1.0);
}

void PaintBarrels(cairo_t* cr) {
    for (double x : {kBarrelLeft, kBarrelRight}) {
        cairo_rectangle(cr, x - 3, 2, 6, 14);
        cairo_pattern_t* p = cairo_pattern_create_linear(x - 3, 0, x + 3, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.25, 0.26, 0.32);
        cairo_pattern_add_color_stop_rgb(p, 0.35, 0.78, 0.80, 0.86);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.18, 0.18, 0.24);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        cairo_rectangle(cr, x - 4, 9, 8, 3);
        FillInked(cr, Rgb{160, 110, 60}, 1.0);
        cairo_rectangle(cr, x - 1.5, 1, 3, 2);
        SetColour(cr, kInk);
        cairo_fill(cr);
    }
}

void PaintShot(cairo_t* cr) {
    cairo_move_to(cr, kShotColumn, 16);
    cairo_curve_to(cr, kShotColumn - 4, 10, kShotColumn - 3.5, 4, kShotColumn, 2);
    cairo_curve_to(cr, kShotColumn + 3.5, 4, kShotColumn + 4, 10, kShotColumn, 16);
    cairo_close_path(cr);
    FillShaded(cr, Rgb{255, 255, 220}, Rgb{250, 120, 20}, 2, 16, 1.2);
    Circle(cr, kShotColumn, 5, 2.2);
    SetColour(cr, Rgb{255, 255, 255});
    cairo_fill(cr);
}

template <typename Paint>
void StampFrame(Image& sheet, const SheetSpec& spec, int frame, Paint paint) {
    Canvas tile(spec.frameWidth, spec.frameHeight);
    paint(tile.cr);
    StampKeyed(sheet, FrameX(spec, frame), FrameY(spec, frame), tile.surface, kInk);
}

}  // namespace

void PaintExplosionSheet(Image& sheet, const SheetSpec& spec) {
    for (int f = 0; f < spec.columns; ++f) {
        StampFrame(sheet, spec, f, [f](cairo_t* cr) { PaintExplosion(cr, f); });
    }
}

void PaintMiscSheet(Image& sheet, const SheetSpec& spec) {
    for (int look = 0; look < 3; ++look) {
        StampFrame(sheet, spec, look, [look](cairo_t* cr) { PaintBazzle(cr, look); });
    }
    StampFrame(sheet, spec, 3, PaintFallingGull);
    StampFrame(sheet, spec, 4, PaintBomb);
    StampFrame(sheet, spec, 5, PaintSun);
    StampFrame(sheet, spec, 6, PaintCannon);
}

void PaintPaddleSheet(Image& sheet, const SheetSpec& spec) {
    StampFrame(sheet, spec, 0, PaintPaddle);
    StampFrame(sheet, spec, 1, PaintGlue);
    StampFrame(sheet, spec, 2, PaintUmbrella);
    StampFrame(sheet, spec, 3, PaintBarrels);
    StampFrame(sheet, spec, 4, PaintShot);
}

}  // namespace bake
