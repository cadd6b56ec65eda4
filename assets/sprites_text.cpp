// The status-line digits and symbols, and the big words of the pause, game-over and title screens.
#include <cmath>
#include <string>

#include "paint.h"
#include "sheets.h"

namespace bake {
namespace {

// Lays `text` as a path centred in a w by h box, squeezed to fit its width.
void CentredText(cairo_t* cr, const std::string& text, double w, double h, double size,
                 double margin) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    const double squeeze = std::min(1.0, (w - 2 * margin) / ext.x_advance);
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, squeeze, 1);
    cairo_move_to(cr, -ext.x_advance / 2, -ext.y_bearing - ext.height / 2);
    cairo_text_path(cr, text.c_str());
    cairo_restore(cr);
}

// Gold lettering with a heavy ink outline and a drop shadow, readable over any picture.
void InkedLettering(cairo_t* cr, const std::string& text, double w, double h, double size,
                    double outline, Rgb top, Rgb bottom) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_save(cr);
    cairo_translate(cr, outline * 0.5, outline * 0.5);
    CentredText(cr, text, w, h, size, outline);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, outline * 2);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_restore(cr);
    CentredText(cr, text, w, h, size, outline);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, outline);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, h * 0.2, 0, h * 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void PaintLives(cairo_t* cr) {
    // A small paddle with a ball resting on it.
    cairo_new_sub_path(cr);
    cairo_arc(cr, 5, 17, 3.5, M_PI / 2, 3 * M_PI / 2);
    cairo_arc(cr, 19, 17, 3.5, -M_PI / 2, M_PI / 2);
    cairo_close_path(cr);
    FillShaded(cr, Rgb{240, 240, 250}, Rgb{120, 120, 150}, 13, 21, 1.5);
    cairo_arc(cr, 12, 8.5, 5, 0, 2 * M_PI);
    FillShaded(cr, Rgb{255, 120, 110}, Rgb{190, 20, 30}, 3, 14, 1.5);
}

void PaintUmbrellaSymbol(cairo_t* cr) {
    cairo_move_to(cr, 12, 11);
    cairo_line_to(cr, 12, 19);
    cairo_arc_negative(cr, 9.5, 19, 2.5, 0, M_PI);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 3.5);
    cairo_stroke_preserve(cr);
    SetColour(cr, Rgb{230, 200, 140});
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 2, 12);
    cairo_curve_to(cr, 3, 2, 21, 2, 22, 12);
    cairo_curve_to(cr, 19, 10, 15, 10, 12, 12);
    cairo_curve_to(cr, 9, 10, 5, 10, 2, 12);
    cairo_close_path(cr);
    FillShaded(cr, Rgb{255, 110, 110}, Rgb{190, 20, 40}, 3, 12, 1.5);
}

void PaintTrophy(cairo_t* cr) {
    cairo_move_to(cr, 5, 3);
    cairo_line_to(cr, 19, 3);
    cairo_curve_to(cr, 19, 11, 16, 14, 12, 14);
    cairo_curve_to(cr, 8, 14, 5, 11, 5, 3);
    cairo_close_path(cr);
    cairo_rectangle(cr, 10.5, 13, 3, 4);
    cairo_rectangle(cr, 7, 17, 10, 4);
    FillShaded(cr, Rgb{255, 244, 150}, Rgb{214, 150, 20}, 3, 21, 1.5);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_arc(cr, 5, 6.5, 3, M_PI / 2, 3 * M_PI / 2);
    cairo_stroke(cr);
    cairo_arc_negative(cr, 19, 6.5, 3, M_PI / 2, -M_PI / 2);
    cairo_stroke(cr);
}

}  // namespace

void PaintDigitSheet(Image& sheet, const SheetSpec& spec) {
    for (int f = 0; f < spec.columns; ++f) {
        Canvas tile(spec.frameWidth, spec.frameHeight);
        if (f < 10) {
            InkedLettering(tile.cr, std::string(1, char('0' + f)), spec.frameWidth,
                           spec.frameHeight, 22, 2.2, Rgb{255, 250, 190}, Rgb{250, 170, 20});
        } else if (f == 10) {
            PaintLives(tile.cr);
        } else if (f == 11) {
            PaintUmbrellaSymbol(tile.cr);
        } else {
            PaintTrophy(tile.cr);
        }
        StampKeyed(sheet, FrameX(spec, f), FrameY(spec, f), tile.surface, kInk);
    }
}

void PaintWordSheet(Image& sheet, const SheetSpec& spec) {
    static const char* const words[] = {"SCORING", "PAUSED", "GAME OVER", "HALL OF FAME"};
    for (int f = 0; f < spec.rows; ++f) {
        Canvas tile(spec.frameWidth, spec.frameHeight);
        InkedLettering(tile.cr, words[f], spec.frameWidth, spec.frameHeight, 42, 3.0,
                       Rgb{255, 252, 200}, Rgb{246, 120, 20});
        StampKeyed(sheet, FrameX(spec, f), FrameY(spec, f), tile.surface, kInk);
    }
}

}  // namespace bake
