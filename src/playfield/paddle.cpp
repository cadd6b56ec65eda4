// The paddle: following the mouse, its explosion and the umbrella burst, and the strikes that
// reach it.
#include "platform/api/cursor.h"
#include "platform/api/forms.h"
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

void TPlayField::UpdatePaddle() {
    POINT cursor{};
    if (GetCursorPos(&cursor) == FALSE) {
        throw Exception("Mouse failed");
    }
    // The paddle's left edge follows the cursor, within the limits a glued ball may narrow.
    if (cursor.x > PaddleMaxX) {
        PaddleSprite.X = PaddleMaxX;
    } else if (cursor.x < PaddleMinX) {
        PaddleSprite.X = PaddleMinX;
    } else {
        PaddleSprite.X = cursor.x;
    }
    if (PaddleSprite.Kind == PaddleExploding) {
        if (PaddleSprite.Animate(FrameTime) && PaddleSprite.Frame == 0) {
            PaddleSprite.Kind = PaddleGone;
            PaddleSprite.Sheet = PaddleSheet.get();
            --Animations;
        }
    }
    if (UmbrellaBurst.Kind == BurstPlaying) {
        if (UmbrellaBurst.Animate(FrameTime) && UmbrellaBurst.Frame == 0) {
            UmbrellaBurst.Kind = BurstIdle;
            --Animations;
        }
    }
}

void TPlayField::StrikePaddle() {
    Explosion->Play();
    if (Umbrellas > 0) {
        // A burst already running restarts at the paddle's place without being counted again.
        if (UmbrellaBurst.Kind != BurstPlaying) {
            ++Animations;
        }
        --Umbrellas;
        UmbrellaBurst.Kind = BurstPlaying;
        UmbrellaBurst.Frame = 0;
        UmbrellaBurst.X = PaddleSprite.X;
        return;
    }
    DestroyPaddle();
}

void TPlayField::DestroyPaddle() {
    if (PaddleSprite.Kind != PaddleExploding) {
        ++Animations;
    }
    GameState = gsLosingLife;
    PaddleSprite.Kind = PaddleExploding;
    PaddleSprite.Sheet = ExplosionSheet.get();
}
