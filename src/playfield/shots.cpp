// The shotgun: a pair of shots fired from the paddle's barrels, flying straight up.
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

constexpr double kShotSpeed = 800.0;
constexpr double kBarrelInset = 9.0;  // from each end of the paddle's frame to its barrel

}  // namespace

void TPlayField::UpdateShots() {
    TDXSprite& left = ShotSprites[0];
    TDXSprite& right = ShotSprites[1];
    if (FireRequest && left.Kind == ShotIdle && right.Kind == ShotIdle) {
        ShotgunFire->Play();
        const int half = PaddleSprite.Sheet->FrameWidth / 2;
        for (TDXSprite& shot : ShotSprites) {
            shot.Kind = ShotFlying;
            shot.DX = 0.0;
            shot.DY = -kShotSpeed;
            shot.Y = PaddleSprite.Y;
        }
        left.X = PaddleSprite.X - half + kBarrelInset;
        right.X = PaddleSprite.X + half - kBarrelInset;
        return;
    }
    for (TDXSprite& shot : ShotSprites) {
        if (shot.Kind == ShotFlying) {
            shot.Move(FrameTime);
            if (shot.Y < 0.0) {
                shot.Kind = ShotIdle;
            }
        }
    }
}
