// The game form's pictures: the sprite sheets and the six single sprites, the background
// picture, and the restore of every surface after a loss.
#include <string>

#include "game/znform.h"
#include "media/dxerrors.h"

namespace {

struct SheetRow {
    std::unique_ptr<TDXGraphic> TKestovForm::*field;
    const char* resource;
    int rows;
    int columns;
    int frameWidth;
    int frameHeight;
    bool masks;
};

// The sprite sheets in load order; every one is keyed by its top-left pixel.
constexpr SheetRow kSheets[] = {
    {&TKestovForm::Gulls, "BmpGulls", 4, 9, 64, 64, true},
    {&TKestovForm::AGulls, "BmpAGulls", 4, 9, 64, 64, true},
    {&TKestovForm::BAGulls, "BmpBAGulls", 4, 9, 64, 64, true},
    {&TKestovForm::BallSheet, "BmpBallSheet", 4, 6, 42, 42, true},
    {&TKestovForm::TennisBalls, "BmpTennisBalls", 4, 6, 24, 24, true},
    {&TKestovForm::BonusEggs, "BmpBonusEggs", 8, 13, 32, 32, true},
    {&TKestovForm::ExplosionSheet, "BmpExplosion", 1, 8, 64, 64, true},
    {&TKestovForm::MiscSheet, "BmpMisc", 1, 7, 64, 64, true},
    {&TKestovForm::PaddleSheet, "BmpPaddle", 1, 5, 64, 42, true},
    {&TKestovForm::Digits, "BmpDigits", 1, 13, 24, 24, false},
    {&TKestovForm::ZnText, "BmpZNText", 4, 1, 336, 40, false},
};

}  // namespace

void TKestovForm::LoadSprites() {
    for (const SheetRow& sheet : kSheets) {
        (this->*sheet.field)
            ->LoadFromResource(DirectDraw, sheet.resource, sheet.rows, sheet.columns,
                               sheet.frameWidth, sheet.frameHeight, true, sheet.masks);
    }

    SetUpSingleSprites();
}

void TKestovForm::LoadBackground(const std::string& fileName) {
    try {
        Background->LoadFromFile(DirectDraw, fileName, 1, 1, 640, 480, false, false);
    } catch (const XDXException& error) {
        throw Exception(error.Message());
    }
}

void TKestovForm::RestoreSurfaces() {
    if (!AppActive) {
        return;
    }
    TDirectXForm::RestoreSurfaces();
    for (TDXGraphic* sheet :
         {Background.get(), Gulls.get(), AGulls.get(), BAGulls.get(), BallSheet.get(),
          TennisBalls.get(), BonusEggs.get(), ExplosionSheet.get(), MiscSheet.get(),
          PaddleSheet.get(), Digits.get(), ZnText.get()}) {
        sheet->Restore(DirectDraw);
    }
}
