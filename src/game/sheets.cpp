// The game form's pictures: the sprite sheets and the six single sprites, the background
// picture, and the restore of every surface after a loss.
#include <string>

#include "game/znform.h"
#include "media/dxerrors.h"
#include "playfield/spritekinds.h"

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

    PaddleSprite.Sheet = PaddleSheet.get();
    PaddleSprite.Frame = 0;
    PaddleSprite.FirstFrame = 0;
    PaddleSprite.LastFrame = 7;  // the explosion's range, once the sheet becomes ExplosionSheet
    PaddleSprite.AnimStep = 1;

    BazzleSprite.Sheet = MiscSheet.get();
    BazzleSprite.Kind = BazzleAbsent;
    BazzleSprite.Value = 100;
    BazzleSprite.MinY = 24;
    BazzleSprite.MaxY = 240;
    BazzleSprite.EdgeModeY = emReflect;

    for (TDXSprite& shot : ShotSprites) {
        shot.Sheet = PaddleSheet.get();
        shot.Frame = 4;
        shot.FirstFrame = 4;
        shot.LastFrame = 4;
    }
    for (TDXSprite& shot : ShotSprites) {
        shot.Kind = ShotIdle;
    }

    UmbrellaBurst.Sheet = ExplosionSheet.get();
    UmbrellaBurst.Frame = 0;
    UmbrellaBurst.FirstFrame = 0;
    UmbrellaBurst.LastFrame = 7;
    UmbrellaBurst.Y = 408.0;
    UmbrellaBurst.Kind = BurstIdle;

    CannonSprite.Sheet = MiscSheet.get();
    CannonSprite.Frame = 6;
    CannonSprite.FirstFrame = 6;
    CannonSprite.LastFrame = 6;
    CannonSprite.Y = 480 - MiscSheet->FrameHeight;
    CannonSprite.X = -64.0;
    CannonSprite.MinX = -64;
    CannonSprite.MaxX = 0;
    CannonSprite.EdgeModeX = emStop;
    CannonSprite.Kind = CannonAbsent;
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
