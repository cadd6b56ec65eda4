// The play field's drawing order: what lies behind comes first.
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

constexpr int kUmbrellaFrame = 2;
constexpr int kGlueFrame = 1;
constexpr int kBarrelsFrame = 3;
constexpr int kUmbrellaRise = 30;  // the umbrella floats this far above the paddle

}  // namespace

void TPlayField::QueueField(BltQueue& queue) const {
    const bool paddleShown = PaddleSprite.Kind != PaddleGone;
    const bool paddleAlive = PaddleSprite.Kind == PaddleAlive;
    const int paddleX = static_cast<int>(PaddleSprite.X);
    const int paddleY = static_cast<int>(PaddleSprite.Y);

    // Once the paddle's explosion is over no ball is drawn; a glued ball rides on the paddle.
    if (paddleShown) {
        for (const TDXSprite& ball : BallList) {
            if (ball.Kind == BallGlued) {
                ball.Sheet->QueueFrame(queue, ball.Frame, static_cast<int>(ball.X) + paddleX,
                                       static_cast<int>(ball.Y));
            } else {
                ball.QueueDraw(queue);
            }
        }
    }
    for (const TDXSprite& bomb : BombList) {
        bomb.QueueDraw(queue);
    }
    for (const TDXSprite& gull : GullList) {
        if (gull.Kind != GullDead) {
            gull.QueueDraw(queue);
        }
    }
    for (const TDXSprite& egg : EggList) {
        egg.QueueDraw(queue);
    }
    for (const TDXSprite& shot : ShotSprites) {
        if (shot.Kind == ShotFlying) {
            shot.QueueDraw(queue);
        }
    }

    if (paddleShown) {
        if (paddleAlive && ShotgunPower) {
            PaddleSheet->QueueFrame(queue, kBarrelsFrame, paddleX, paddleY);
        }
        if (paddleAlive && Umbrellas > 0) {
            PaddleSheet->QueueFrame(queue, kUmbrellaFrame, paddleX, paddleY - kUmbrellaRise);
        }
        if (UmbrellaBurst.Kind == BurstPlaying) {
            UmbrellaBurst.QueueDraw(queue);
        }
        PaddleSprite.QueueDraw(queue);
        if (paddleAlive && GluePower) {
            PaddleSheet->QueueFrame(queue, kGlueFrame, paddleX, paddleY);
        }
    }

    if (CannonSprite.Kind == CannonPresent) {
        CannonSprite.QueueDraw(queue);
    }
    if (BazzleSprite.Kind == BazzlePresent) {
        BazzleSprite.QueueDraw(queue);
    }
}
