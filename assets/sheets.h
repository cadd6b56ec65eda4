// The sprite sheets: their layouts and the painters of every frame.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "image.h"

namespace bake {

struct SheetSpec {
    std::string name;  // the resource name, "BmpGulls", ...
    int rows;
    int columns;
    int frameWidth;
    int frameHeight;
};

// The eleven sheets in load order.
const std::vector<SheetSpec>& SheetSpecs();

// Paints a whole sheet on the key colour.
Image DrawSheet(const SheetSpec& spec);

enum class GullKind { Plain, Tough, Battered };

// Paints one 64 by 64 gull frame at the origin of `cr`: frames 0 to 17 fly left, 18 to 35 the
// same wing beat flying right. Also used for the title picture.
void PaintGull(cairo_t* cr, GullKind kind, int frame);

// The painters of the individual sheets, each filling `sheet` frame by frame.
void PaintGullSheet(Image& sheet, const SheetSpec& spec, GullKind kind);
void PaintBallSheet(Image& sheet, const SheetSpec& spec, bool tennis);
void PaintEggSheet(Image& sheet, const SheetSpec& spec);
void PaintExplosionSheet(Image& sheet, const SheetSpec& spec);
void PaintMiscSheet(Image& sheet, const SheetSpec& spec);
void PaintPaddleSheet(Image& sheet, const SheetSpec& spec);
void PaintDigitSheet(Image& sheet, const SheetSpec& spec);
void PaintWordSheet(Image& sheet, const SheetSpec& spec);

// The struck gull tumbling down, 64 by 64 at the origin.
void PaintFallingGull(cairo_t* cr);

// The frame's top-left corner on its sheet.
inline int FrameX(const SheetSpec& s, int frame) {
    return (frame % s.columns) * s.frameWidth;
}
inline int FrameY(const SheetSpec& s, int frame) {
    return (frame / s.columns) * s.frameHeight;
}

}  // namespace bake
