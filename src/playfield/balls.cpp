// Balls: adding them, the ball updater with its paddle bounce, glue and one-shot powers, and
// the bounce off a struck gull or Bazzle.
#include <cstddef>
#include <cstdint>

#include "platform/api/random.h"
#include "playfield/fieldlists.h"
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"
#include "playfield/trig.h"

namespace {

constexpr double kMinBallSpeed = 175.0;
constexpr double kMaxBallSpeed = 750.0;
constexpr double kStrikeSpeedGain = 15.0;
constexpr double kSlowFactor = 0.5;
constexpr double kFastFactor = 2.0;
constexpr double kTennisDrop = 18.0;  // the tennis ball is 18 pixels shorter than the ball

double LimitedSpeed(double speed) {
    if (speed > kMaxBallSpeed) {
        return kMaxBallSpeed;
    }
    if (speed < kMinBallSpeed) {
        return kMinBallSpeed;
    }
    return speed;
}

// The centre of a sprite's frame on one axis, in whole pixels.
int Centre(double position, std::int32_t size) {
    return static_cast<int>(position + size / 2);
}

}  // namespace

void TPlayField::AddBall(std::int32_t x, std::int32_t y, double speed, double dx, double dy,
                         std::int32_t frame, std::int32_t kind) {
    TDXSprite ball;
    ball.Sheet = TennisPower ? TennisBalls.get() : BallSheet.get();
    ball.Frame = frame;
    ball.FirstFrame = 0;
    ball.LastFrame = 23;
    ball.AnimStep = -1;
    ball.X = x;
    ball.Y = y;
    ball.Speed = speed;
    ball.DX = dx;
    ball.DY = dy;
    ball.Kind = kind;
    ball.UnitDirection = true;
    ball.Normalize();
    // Bouncing off the left, right and top with the whole frame on the screen; at the bottom
    // only once its top has passed the screen's edge, which loses it.
    ball.MinX = -1;
    ball.MaxX = 641 - ball.Sheet->FrameWidth;
    ball.MinY = -1;
    ball.MaxY = 480;
    ball.EdgeModeX = emReflect;
    ball.EdgeModeY = emReflect;
    AppendSprite(BallList, ball, "balls");
}

void TPlayField::MoveBall(TDXSprite& ball) {
    if (ball.Kind == BallGlued) {
        ball.Animate(FrameTime);
        return;
    }
    ball.Move(FrameTime);
    if (ball.EdgeHits != 0) {
        ball.AnimStep = -ball.AnimStep;
    }
}

void TPlayField::BounceOff(const TDXSprite& obstacle, TDXSprite& ball) {
    const int width = obstacle.Sheet->FrameWidth;
    const int height = obstacle.Sheet->FrameHeight;
    const int bx = Centre(ball.X, ball.Sheet->FrameWidth);
    const int by = Centre(ball.Y, ball.Sheet->FrameHeight);
    const int ox = Centre(obstacle.X, width);
    const int oy = Centre(obstacle.Y, height);
    ball.AnimStep = -ball.AnimStep;

    if (by > oy && ball.DY < 0) {
        ball.DY = -ball.DY;
    } else if (by < oy && obstacle.X < bx && bx < obstacle.X + width && ball.DY > 0) {
        ball.DY = -ball.DY;
        ball.Speed += kStrikeSpeedGain;
    }

    const bool besideIt = obstacle.Y < by && by < obstacle.Y + height;
    if (bx < ox && besideIt && ball.DX > 0) {
        ball.DX = -ball.DX;
        if (obstacle.DX < 0) {
            ball.Speed += kStrikeSpeedGain;  // head-on
        }
    } else if (bx > ox && besideIt && ball.DX < 0) {
        ball.DX = -ball.DX;
        if (obstacle.DX > 0) {
            ball.Speed += kStrikeSpeedGain;
        }
    }
    ball.Normalize();
}

namespace {

// The paddle's bounce: the further from the paddle's centre the ball lands, the flatter it
// leaves, never flatter than 15 degrees; a random -3 to 3 degrees keeps rallies from repeating.
void BounceOffPaddle(const TDXSprite& paddle, TDXSprite& ball) {
    const int d = static_cast<int>(paddle.X + paddle.Sheet->FrameWidth / 2) -
                  static_cast<int>(ball.X + ball.Sheet->FrameWidth / 2);
    const double angle = d * 0.03125 * 75.0 + (platform::Random() % 7 - 3);
    double a = angle + 90.0;
    if (a > 165.0) {
        a = 165.0;
    } else if (a < 15.0) {
        a = 15.0;
    }
    ball.DX = FieldCos(a * 3.14159265 / 180);
    ball.DY = -FieldSin(a * 3.14159265 / 180);
}

}  // namespace

void TPlayField::UpdateBalls() {
    if (GameState == gsLosingLife) {
        return;  // the balls stand still until the next life
    }
    if (PlayStarted) {
        HitTimer += FrameTime;
    }
    const int paddleWidth = PaddleSprite.Sheet->FrameWidth;
    for (std::size_t i = BallList.size(); i-- > 0;) {
        TDXSprite* ball = &BallList[i];
        ball->Latch = false;

        if (BazzleSprite.Kind == BazzlePresent && BazzleSprite.Collides(*ball)) {
            GullBounce->Play();
            BazzleBounce->Play();
            ball->Latch = true;
            HitTimer = 0;
            StrikeBazzle();
            BounceOff(BazzleSprite, *ball);
        }

        const int ballWidth = ball->Sheet->FrameWidth;
        if (!ball->Latch && PaddleSprite.Kind == PaddleAlive && ball->DY > 0 &&
            ball->Y < 480 - ball->Sheet->FrameHeight && ball->Collides(PaddleSprite)) {
            BallBounce->Play();
            ball->Latch = true;
            ball->AnimStep = -ball->AnimStep;
            BounceOffPaddle(PaddleSprite, *ball);
            if (GluePower && !MouseHeld) {
                // The ball sticks, and the paddle's range narrows to keep it on the screen.
                ball->X -= PaddleSprite.X;
                ball->Kind = BallGlued;
                if (-PaddleMinX > ball->X) {
                    PaddleMinX = static_cast<std::int32_t>(-ball->X);
                }
                const double v = 578.0 - ((ballWidth + ball->X) - paddleWidth);
                if (PaddleMaxX > v) {
                    PaddleMaxX = static_cast<std::int32_t>(v);
                }
            }
        }

        if (MouseHeld && ball->Kind == BallGlued) {
            ball->X += PaddleSprite.X;
            ball->Kind = BallReleased;
            ball->Latch = true;
        }

        for (std::size_t g = 0; g < GullList.size() && !ball->Latch; ++g) {
            const std::int32_t kind = GullList[g].Kind;
            if ((kind == GullFlying || kind == AGullFlying || kind == BAGullFlying) &&
                BallMeetsGull(g, i)) {
                StrikeGullByBall(g, *ball);
            }
        }

        if (PaddleSprite.Kind == PaddleAlive && (ball->EdgeHits & kEdgeBottom) != 0) {
            Explosion->Play();
            if (BallList.size() > 1) {
                BallList.erase(BallList.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                // The last ball: the paddle explodes and the shields go with it.
                DestroyPaddle();
                PaddleSprite.Frame = 0;
                PaddleSprite.FirstFrame = 0;
                PaddleSprite.LastFrame = 7;
                Umbrellas = 0;
            }
            continue;
        }

        if (SlowOnce) {
            ball->Speed *= kSlowFactor;
        }
        if (FastOnce) {
            ball->Speed *= kFastFactor;
        }
        if (TennisOnce) {
            ball->Sheet = TennisBalls.get();
            ball->MaxX = 641 - TennisBalls->FrameWidth;
            if (!TennisPower && ball->Kind == BallGlued) {
                ball->Y += kTennisDrop;  // the smaller ball still rests on the paddle
            }
        }
        if (DoublerOnce) {
            AddBall(static_cast<std::int32_t>(ball->X), static_cast<std::int32_t>(ball->Y),
                    LimitedSpeed(ball->Speed), -ball->DX, ball->DY, ball->Frame, ball->Kind);
            MoveBall(BallList.back());
            ball = &BallList[i];  // the list may have moved
        }
        ball->Speed = LimitedSpeed(ball->Speed);
        MoveBall(*ball);
    }
    SlowOnce = false;
    DoublerOnce = false;
    FastOnce = false;
    if (TennisOnce) {
        TennisPower = true;
        TennisOnce = false;
    }
}
