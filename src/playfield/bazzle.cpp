// The Bazzle: its visits across the sky, which double the bombs, and its strike.
#include "platform/api/random.h"
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

constexpr double kBazzleSpeed = 100.0;
constexpr double kBazzleClimb = 75.0;

}  // namespace

void TPlayField::StrikeBazzle() {
    AddScore(BazzleSprite.Value);
    HitTimer = 0;
    BazzleSprite.Kind = BazzleAbsent;
    BombLimit = BombLimit / 2 < 1 ? 1 : BombLimit / 2;
    BazzleTimer = 0;
    BazzleDelay += platform::Random() % 10;
}

void TPlayField::UpdateBazzle() {
    if (BazzleSprite.Kind == BazzleAbsent) {
        // The clock toward a visit runs once the life is under way, while no cannon is out.
        if (!PlayStarted || CannonSprite.Kind == CannonPresent || BazzlesLeft == 0) {
            return;
        }
        BazzleTimer += FrameTime;
        if (!(BazzleTimer > BazzleDelay)) {
            return;
        }
        BazzleTimer = 0;
        BazzleDelay += platform::Random() % 10;
        BazzleSprite.Kind = BazzlePresent;
        BombLimit *= 2;
        --BazzlesLeft;
        const std::int32_t look = platform::Random() % 3;
        BazzleSprite.Frame = look;
        BazzleSprite.FirstFrame = look;
        BazzleSprite.LastFrame = look;
        if (platform::Random() % 100 > 50) {
            BazzleSprite.DX = kBazzleSpeed;
            BazzleSprite.X = -63.0;
        } else {
            BazzleSprite.DX = -kBazzleSpeed;
            BazzleSprite.X = 640.0;
        }
        BazzleSprite.DY = platform::Random() % 100 > 50 ? kBazzleClimb : -kBazzleClimb;
        BazzleSprite.Y = platform::Random() % 216 + 24;
        return;  // it is not moved in the frame of its arrival
    }

    for (TDXSprite& shot : ShotSprites) {
        if (BazzleSprite.Kind == BazzlePresent && shot.Kind == ShotFlying &&
            shot.Collides(BazzleSprite)) {
            ShotgunHit->Play();
            BazzleBounce->Play();
            shot.Kind = ShotIdle;
            StrikeBazzle();
        }
    }
    if (BazzleSprite.Kind != BazzlePresent) {
        return;
    }
    BazzleSprite.Move(FrameTime);
    if ((BazzleSprite.DX > 0 && BazzleSprite.X >= 640) ||
        (BazzleSprite.DX < 0 && BazzleSprite.X <= -64)) {
        BazzleSprite.Kind = BazzleAbsent;
        BombLimit /= 2;
    }
}
