// The three kinds of gull in flight, a wing beat of 18 frames each way, and the struck gull.
#include <cmath>

#include "paint.h"
#include "sheets.h"

namespace bake {
namespace {

struct GullLook {
    Rgb bodyLight, bodyDark, wingLight, wingDark, tip, beak;
    bool helmet;
    bool battered;
};

GullLook LookOf(GullKind kind) {
    switch (kind) {
        case GullKind::Plain:
            return {{252, 252, 250}, {196, 202, 214}, {186, 196, 212}, {132, 144, 166},
                    {44, 44, 56},    {250, 196, 40},  false,           false};
        case GullKind::Tough:
            return {{96, 98, 116}, {52, 54, 70},   {74, 78, 96}, {40, 42, 58},
                    {16, 16, 24},  {240, 110, 30}, true,         false};
        case GullKind::Battered:
            return {{150, 118, 142},
                    {92, 70, 94},
                    {128, 104, 126},
                    {78, 60, 82},
                    {40, 30, 44},
                    {226, 140, 60},
                    true,
                    true};
    }
    return {};
}

void Star(cairo_t* cr, double cx, double cy, double r) {
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5;
        const double rr = (k % 2 == 0) ? r : r * 0.45;
        cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    cairo_close_path(cr);
    FillInked(cr, Rgb{255, 226, 60}, 1.0);
}

// One long, pointed wing swept back from the shoulder; lift 1 is fully up, -1 fully down.
void WingPath(cairo_t* cr, double sx, double sy, double lift, double sweep, double reach) {
    const double tipX = sx + 16 + sweep;
    const double tipY = sy - reach * lift;
    cairo_move_to(cr, sx - 5, sy);
    cairo_curve_to(cr, sx - 6, sy - reach * 0.5 * lift, sx - 1, sy - reach * 0.8 * lift, tipX,
                   tipY);
    cairo_curve_to(cr, sx + 8, sy - reach * 0.6 * lift, sx + 12, sy - reach * 0.3 * lift, sx + 11,
                   sy + 1);
    cairo_close_path(cr);
}

void PaintWing(cairo_t* cr, const GullLook& look, double sx, double sy, double lift, double sweep,
               double reach, bool far, bool notched) {
    const double tipX = sx + 16 + sweep;
    const double tipY = sy - reach * lift;
    const Rgb light = far ? Mix(look.wingLight, look.wingDark, 0.6) : look.wingLight;
    const Rgb dark = far ? Mix(look.wingDark, kInk, 0.3) : look.wingDark;
    WingPath(cr, sx, sy, lift, sweep, reach);
    FillShaded(cr, light, dark, std::min(sy, tipY), std::max(sy, tipY) + 1);
    // The dark feather ends, clipped to the wing.
    cairo_save(cr);
    WingPath(cr, sx, sy, lift, sweep, reach);
    cairo_clip(cr);
    cairo_arc(cr, tipX, tipY, 0.28 * reach + 1, 0, 2 * M_PI);
    SetColour(cr, look.tip);
    cairo_fill(cr);
    cairo_restore(cr);
    WingPath(cr, sx, sy, lift, sweep, reach);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    if (notched && std::fabs(lift) > 0.3) {
        // Missing feathers: bites out of the trailing edge.
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        for (double t : {0.45, 0.7}) {
            const double x = sx + 8 + (tipX - sx) * t;
            const double y = sy - reach * lift * t;
            cairo_move_to(cr, x + 2.5, y);
            cairo_line_to(cr, x + 5.5, y + 1.5 * lift);
            cairo_line_to(cr, x + 2.5, y + 3.5 * lift);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }
}

// A gull facing left with its wings at `phase` (0 to 1, one beat).
void PaintGullLeft(cairo_t* cr, const GullLook& look, double phase, bool dazed, int frame) {
    const double a = 2 * M_PI * phase;
    const double lift = std::cos(a);
    const double sweep = 3 * std::sin(a);
    const double bodyY = 36 + 1.5 * lift;  // the body rises a little on the down stroke

    PaintWing(cr, look, 32, bodyY - 3, lift * 0.8, sweep + 2, 22, true, look.battered);

    // Tail: a short fan, pale with a dark edge.
    cairo_move_to(cr, 44, bodyY - 5);
    cairo_line_to(cr, 56, bodyY - 5);
    cairo_curve_to(cr, 58, bodyY - 2, 58, bodyY + 1, 56, bodyY + 3);
    cairo_line_to(cr, 44, bodyY + 5);
    cairo_close_path(cr);
    FillShaded(cr, look.bodyLight, look.bodyDark, bodyY - 5, bodyY + 4);
    cairo_rectangle(cr, 53, bodyY - 5, 3.5, 8);
    SetColour(cr, look.tip);
    cairo_fill(cr);

    // Body and head.
    cairo_save(cr);
    cairo_translate(cr, 33, bodyY);
    cairo_scale(cr, 17, 8);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    FillShaded(cr, look.bodyLight, look.bodyDark, bodyY - 8, bodyY + 8);
    cairo_arc(cr, 15, bodyY - 5, 7.5, 0, 2 * M_PI);
    FillShaded(cr, look.bodyLight, look.bodyDark, bodyY - 12, bodyY + 2);

    // Beak with its red spot.
    cairo_move_to(cr, 9, bodyY - 7);
    cairo_line_to(cr, 1, bodyY - 3);
    cairo_line_to(cr, 9, bodyY - 1.5);
    cairo_close_path(cr);
    FillInked(cr, look.beak, 1.2);
    cairo_arc(cr, 5.5, bodyY - 3, 1.0, 0, 2 * M_PI);
    SetColour(cr, Rgb{210, 40, 30});
    cairo_fill(cr);

    // Eye.
    const double ex = 13.5, ey = bodyY - 7;
    if (dazed) {
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.3);
        cairo_move_to(cr, ex - 2, ey - 2);
        cairo_line_to(cr, ex + 2, ey + 2);
        cairo_move_to(cr, ex + 2, ey - 2);
        cairo_line_to(cr, ex - 2, ey + 2);
        cairo_stroke(cr);
    } else if (look.helmet) {
        if (look.battered) {
            cairo_arc(cr, ex, ey, 3.0, 0, 2 * M_PI);  // a black eye
            SetColour(cr, Rgb{70, 40, 90});
            cairo_fill(cr);
        }
        cairo_arc(cr, ex, ey, 1.6, 0, 2 * M_PI);
        SetColour(cr, Rgb{255, 60, 30});
        cairo_fill(cr);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.6);
        cairo_move_to(cr, ex - 3.5, ey - 3.5);  // the scowl
        cairo_line_to(cr, ex + 3, ey - 1.5);
        cairo_stroke(cr);
    } else {
        cairo_arc(cr, ex, ey, 1.5, 0, 2 * M_PI);
        SetColour(cr, kInk);
        cairo_fill(cr);
    }

    if (look.helmet) {
        // A steel helmet with a rim.
        cairo_arc(cr, 16, bodyY - 9, 8, M_PI, 2 * M_PI);
        cairo_close_path(cr);
        FillShaded(cr, Rgb{214, 222, 230}, Rgb{110, 120, 132}, bodyY - 17, bodyY - 9);
        cairo_rectangle(cr, 6.5, bodyY - 10, 19, 2.5);
        FillInked(cr, Rgb{150, 160, 172}, 1.0);
        if (look.battered) {
            SetColour(cr, kInk);
            cairo_set_line_width(cr, 1.2);
            cairo_move_to(cr, 15, bodyY - 17);
            cairo_line_to(cr, 17, bodyY - 14);
            cairo_line_to(cr, 14.5, bodyY - 12.5);
            cairo_line_to(cr, 17, bodyY - 10);
            cairo_stroke(cr);
        }
    }

    PaintWing(cr, look, 27, bodyY - 2, lift, sweep, 28, false, look.battered);

    if (look.battered) {
        // A sticking plaster across the body and stars circling the head.
        cairo_save(cr);
        cairo_translate(cr, 38, bodyY + 2);
        cairo_rotate(cr, -0.5);
        cairo_rectangle(cr, -6, -2.2, 12, 4.4);
        FillInked(cr, Rgb{246, 236, 214}, 1.0);
        SetColour(cr, Rgb{200, 40, 40});
        cairo_rectangle(cr, -1, -1.6, 2, 3.2);
        cairo_fill(cr);
        cairo_restore(cr);
        for (int s = 0; s < 2; ++s) {
            const double t = 2 * M_PI * (frame / 18.0 + s * 0.5);
            Star(cr, 16 + 9 * std::cos(t), bodyY - 22 + 3 * std::sin(t), 3.6);
        }
    }
}

}  // namespace

void PaintGull(cairo_t* cr, GullKind kind, int frame) {
    cairo_save(cr);
    if (frame >= 18) {
        cairo_translate(cr, 64, 0);
        cairo_scale(cr, -1, 1);
    }
    const int beat = frame % 18;
    PaintGullLeft(cr, LookOf(kind), beat / 18.0, false, beat);
    cairo_restore(cr);
}

void PaintGullSheet(Image& sheet, const SheetSpec& spec, GullKind kind) {
    for (int f = 0; f < spec.rows * spec.columns; ++f) {
        Canvas tile(spec.frameWidth, spec.frameHeight);
        PaintGull(tile.cr, kind, f);
        StampKeyed(sheet, FrameX(spec, f), FrameY(spec, f), tile.surface, kInk);
    }
}

// The struck gull of the misc sheet: a plain gull tumbling over, wings flung up, eyes crossed.
void PaintFallingGull(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 32, 32);
    cairo_rotate(cr, 2.6);
    cairo_scale(cr, 0.92, 0.92);
    cairo_translate(cr, -32, -34);
    PaintGullLeft(cr, LookOf(GullKind::Plain), 0.0, true, 0);
    cairo_restore(cr);
}

}  // namespace bake
