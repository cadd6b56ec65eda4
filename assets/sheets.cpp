// The sheet table and the dispatch to each sheet's painter.
#include "sheets.h"

#include <stdexcept>

namespace bake {

const std::vector<SheetSpec>& SheetSpecs() {
    static const std::vector<SheetSpec> specs = {
        {"BmpGulls", 4, 9, 64, 64},       {"BmpAGulls", 4, 9, 64, 64},
        {"BmpBAGulls", 4, 9, 64, 64},     {"BmpBallSheet", 4, 6, 42, 42},
        {"BmpTennisBalls", 4, 6, 24, 24}, {"BmpBonusEggs", 8, 13, 32, 32},
        {"BmpExplosion", 1, 8, 64, 64},   {"BmpMisc", 1, 7, 64, 64},
        {"BmpPaddle", 1, 5, 64, 42},      {"BmpDigits", 1, 13, 24, 24},
        {"BmpZNText", 4, 1, 336, 40},
    };
    return specs;
}

Image DrawSheet(const SheetSpec& spec) {
    Image sheet(spec.columns * spec.frameWidth, spec.rows * spec.frameHeight, kKey);
    const std::string& n = spec.name;
    if (n == "BmpGulls") {
        PaintGullSheet(sheet, spec, GullKind::Plain);
    } else if (n == "BmpAGulls") {
        PaintGullSheet(sheet, spec, GullKind::Tough);
    } else if (n == "BmpBAGulls") {
        PaintGullSheet(sheet, spec, GullKind::Battered);
    } else if (n == "BmpBallSheet" || n == "BmpTennisBalls") {
        PaintBallSheet(sheet, spec, n == "BmpTennisBalls");
    } else if (n == "BmpBonusEggs") {
        PaintEggSheet(sheet, spec);
    } else if (n == "BmpExplosion") {
        PaintExplosionSheet(sheet, spec);
    } else if (n == "BmpMisc") {
        PaintMiscSheet(sheet, spec);
    } else if (n == "BmpPaddle") {
        PaintPaddleSheet(sheet, spec);
    } else if (n == "BmpDigits") {
        PaintDigitSheet(sheet, spec);
    } else if (n == "BmpZNText") {
        PaintWordSheet(sheet, spec);
    } else {
        throw std::runtime_error("no painter for sheet " + n);
    }
    return sheet;
}

}  // namespace bake
