// The test bot's steering and launching.
#include "support/playbot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "playfield/spritekinds.h"

namespace {

constexpr int kPaddleWidth = 64;
constexpr int kPaddleTop = 452;     // the first row of the paddle's pixels
constexpr int kHoldPasses = 12;     // longer than a frame's eight updater passes
constexpr double kDodgeTime = 0.5;  // a bomb closer to the paddle than this is dodged

// Folds a position into [low, high] the way a reflecting edge does.
double Reflect(double x, double low, double high) {
    const double span = high - low;
    double m = std::fmod(x - low, 2 * span);
    if (m < 0) {
        m += 2 * span;
    }
    return m <= span ? low + m : high - (m - span);
}

}  // namespace

PlayBot::PlayBot(platform::Harness& harness, unsigned seed) : harness_(harness), random_(seed) {}

void PlayBot::OnPass(TKestovForm& form) {
    form_ = &form;
    if (!IsInPlay(form_->GameState)) {
        if (down_) {
            Hold(false);
        }
        if (hands == Hands::Pad) {
            harness_.PadStick(pad, 0);
        }
        return;
    }
    if (form_->GameState != gsPlaying) {
        return;
    }
    if (steering) {
        Steer();
    }
    Launch();
}

void PlayBot::Steer() {
    const int target = std::clamp(TargetX(), 0, 639);
    const int away = target - harness_.Cursor().x;
    switch (hands) {
        case Hands::Mouse:
            if (away != 0) {
                harness_.MoveMouse(away, 0);
            }
            break;
        case Hands::Pad: {
            // The stick is pushed as far as the paddle has to go: fully from a quarter of the
            // screen away, gently when close, and let go (inside its dead zone) when there.
            const double push = std::clamp(away / 160.0, -1.0, 1.0);
            harness_.PadStick(
                pad, std::abs(away) < 2 ? 0.0 : std::copysign(0.25 + 0.75 * std::abs(push), push));
            break;
        }
    }
}

void PlayBot::Hold(bool down) {
    switch (hands) {
        case Hands::Mouse:
            down ? harness_.Press() : harness_.Release();
            break;
        case Hands::Pad:
            harness_.PadButton(pad, platform::Harness::PadControl::South, down);
            break;
    }
    down_ = down;
}

void PlayBot::Launch() {
    // The button is held for a whole frame at least, so that the ball updater sees it down;
    // with the shotgun it stays down, and the shotgun fires pair after pair.
    const bool glued = std::any_of(form_->BallList.begin(), form_->BallList.end(),
                                   [](const TDXSprite& ball) { return ball.Kind == BallGlued; });
    const bool shoot = shooting && form_->ShotgunPower;
    if (down_) {
        if (--holding_ > 0 || shoot) {
            return;
        }
        Hold(false);
    } else if (glued || shoot) {
        Hold(true);
        holding_ = kHoldPasses;
    }
}

int PlayBot::TargetX() {
    // The free ball that will come down to the paddle first.
    double soonest = std::numeric_limits<double>::infinity();
    double landing = 0;
    for (const TDXSprite& ball : form_->BallList) {
        if (ball.Kind == BallGlued || ball.DY <= 0) {
            continue;
        }
        const int w = ball.Sheet->FrameWidth;
        const int h = ball.Sheet->FrameHeight;
        if (ball.Y >= 480 - h) {
            continue;  // past the paddle: lost
        }
        const double vy = ball.DY * ball.Speed;
        const double t = std::max(0.0, (kPaddleTop - h - ball.Y) / vy);
        if (t >= soonest) {
            continue;
        }
        soonest = t;
        landing = Reflect(ball.X + ball.DX * ball.Speed * t, ball.MinX, ball.MaxX) + w / 2;
    }
    if (soonest < std::numeric_limits<double>::infinity()) {
        // Anywhere the ball still lands on the paddle will do, if the aim is not safe.
        const int centre = static_cast<int>(landing);
        return SafeNear(centre - kPaddleWidth / 2 + aim_, centre - kPaddleWidth + 6, centre - 6);
    }

    // No ball coming down: choose where the next one should land on the paddle, so that the
    // rallies vary; with the shotgun, go under the Bazzle; catch an egg, else keep under the
    // ball.
    aim_ = std::uniform_int_distribution<int>(-14, 14)(random_);
    int target = static_cast<int>(form_->PaddleSprite.X);
    const auto egg = std::find_if(form_->EggList.begin(), form_->EggList.end(),
                                  [](const TDXSprite& e) { return e.DY > 0; });
    const TDXSprite& bazzle = form_->BazzleSprite;
    if (shooting && form_->ShotgunPower && bazzle.Kind == BazzlePresent) {
        // A barrel under the Bazzle's middle, a little ahead of it.
        target = static_cast<int>(bazzle.X + bazzle.DX * 0.3) + 32 - 9;
    } else if (egg != form_->EggList.end()) {
        target = static_cast<int>(egg->X) + 16 - kPaddleWidth / 2;
    } else if (!form_->BallList.empty() && form_->BallList.front().Kind != BallGlued) {
        const TDXSprite& ball = form_->BallList.front();
        target = static_cast<int>(ball.X) + ball.Sheet->FrameWidth / 2 - kPaddleWidth / 2;
    }
    return SafeNear(target, 0, 576);
}

bool PlayBot::Threatened(int x) const {
    // Where the bombs and falling gulls will be over the next moments, against the paddle
    // at x; a few pixels of each frame's edge are empty.
    constexpr int kMargin = 10;
    const auto hits = [&](const TDXSprite& sprite, double dx, double dy, double ay) {
        for (double t = 0; t < kDodgeTime; t += 0.02) {
            const double sx = sprite.X + dx * t;
            const double sy = sprite.Y + dy * t + ay * t * t / 2;
            if (sx + sprite.Sheet->FrameWidth - kMargin > x && sx + kMargin < x + kPaddleWidth &&
                sy + sprite.Sheet->FrameHeight - kMargin > kPaddleTop && sy + kMargin < 480) {
                return true;
            }
        }
        return false;
    };
    return std::any_of(form_->BombList.begin(), form_->BombList.end(),
                       [&](const TDXSprite& bomb) { return hits(bomb, 0, bomb.DY, 0); }) ||
           std::any_of(form_->GullList.begin(), form_->GullList.end(), [&](const TDXSprite& g) {
               return g.Kind == GullFalling && hits(g, g.DX, g.DY, g.AY);
           });
}

int PlayBot::SafeNear(int wanted, int low, int high) const {
    // The nearest safe place to the one wanted: first within [low, high], then anywhere.
    for (const auto& [from, to] : {std::pair{low, high}, std::pair{0, 576}}) {
        for (int away = 0; away <= 576; away += 4) {
            for (const int x : {wanted - away, wanted + away}) {
                if (x >= std::max(from, 0) && x <= std::min(to, 576) &&
                    (!dodging || !Threatened(x))) {
                    return x;
                }
            }
        }
    }
    return wanted;
}
