// The play field record's sheets and sounds, its single sprites' set-up, and the growth of its
// sprite lists.
#include "playfield/playfield.h"

#include <new>
#include <string>

#include "platform/api/forms.h"
#include "playfield/fieldlists.h"
#include "playfield/spritekinds.h"

TPlayField::TPlayField() {
    for (auto* sheet : {&Gulls, &AGulls, &BAGulls, &BallSheet, &TennisBalls, &PaddleSheet,
                        &ExplosionSheet, &MiscSheet, &BonusEggs}) {
        *sheet = TransparentGraphic();
    }
}

TPlayField::~TPlayField() = default;

void TPlayField::SetUpSingleSprites() {
    // The explosion's range, once the sheet becomes ExplosionSheet.
    PaddleSprite.UseFrames(PaddleSheet.get(), 0, 7);
    PaddleSprite.AnimStep = 1;

    BazzleSprite.Sheet = MiscSheet.get();
    BazzleSprite.Kind = BazzleAbsent;
    BazzleSprite.Value = 100;
    BazzleSprite.MinY = 24;
    BazzleSprite.MaxY = 240;
    BazzleSprite.EdgeModeY = emReflect;

    for (TDXSprite& shot : ShotSprites) {
        shot.UseFrames(PaddleSheet.get(), 4, 4);
        shot.Kind = ShotIdle;
    }

    UmbrellaBurst.UseFrames(ExplosionSheet.get(), 0, 7);
    UmbrellaBurst.Y = 408.0;
    UmbrellaBurst.Kind = BurstIdle;

    CannonSprite.UseFrames(MiscSheet.get(), 6, 6);
    CannonSprite.Y = 480 - MiscSheet->FrameHeight;
    CannonSprite.X = -64.0;
    CannonSprite.MinX = -64;
    CannonSprite.MaxX = 0;
    CannonSprite.EdgeModeX = emStop;
    CannonSprite.Kind = CannonAbsent;
}

void AppendSprite(TDXSpriteList& list, const TDXSprite& sprite, const char* what) {
    try {
        list.push_back(sprite);
    } catch (const std::bad_alloc&) {
        throw Exception(std::string("Out of memory adding ") + what);
    }
}
