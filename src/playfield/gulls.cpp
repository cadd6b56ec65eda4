// Gulls: building them from a level's records, the ball's contact and strike, the chance of an
// egg, and the gull updater with the bomb timing and the shots' strikes.
#include "platform/api/random.h"
#include "playfield/fieldlists.h"
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

constexpr std::int32_t kGullPoints = 25;
constexpr double kGullGravity = 200.0;

bool IsGone(const TDXSprite& gull) {
    return gull.Kind == GullDead || gull.Kind == GullExploding;
}

}  // namespace

void TPlayField::AddGull(const TZNGull& record) {
    TDXSprite gull;
    gull.X = record.X;
    gull.Y = record.Y;
    gull.DX = record.DX;
    gull.DY = record.DY;
    if (RandomLevel) {
        gull.Kind = platform::Random() % 100 > 50 ? AGullFlying : GullFlying;
    } else {
        gull.Kind = record.AGull != 0 ? AGullFlying : GullFlying;
    }
    gull.Value = kGullPoints;
    gull.MinX = -64;
    gull.MaxX = 640;
    gull.EdgeModeX = emWrap;
    gull.FrameDelay = 0.03;
    if (record.MaxY > record.MinY) {
        // The band is widened to take in the starting height.
        gull.MinY = record.MinY;
        gull.MaxY = record.MaxY;
        if (gull.MinY > gull.Y) {
            gull.MinY = static_cast<std::int32_t>(gull.Y);
        }
        if (gull.MaxY < gull.Y) {
            gull.MaxY = static_cast<std::int32_t>(gull.Y);
        }
        gull.EdgeModeY = gull.DY != 0 ? emReflect : emNone;
    } else {
        gull.EdgeModeY = emNone;
        gull.DY = 0;
    }
    // Frames 0 to 17 fly left, 18 to 35 fly right; a hovering gull faces right.
    const std::int32_t base = gull.DX >= 0 ? 18 : 0;
    gull.Frame = base;
    gull.FirstFrame = base;
    gull.LastFrame = base + 17;
    gull.Sheet = gull.Kind == AGullFlying ? AGulls.get() : Gulls.get();
    AppendSprite(GullList, gull, "gulls");
}

bool TPlayField::BallMeetsGull(std::size_t gullIndex, std::size_t ballIndex) {
    TDXSprite& gull = GullList[gullIndex];
    TDXSprite& ball = BallList[ballIndex];
    // The latch is the gull's: while a ball touches it, no ball strikes it again.
    if (gull.Latch) {
        if (!ball.Collides(gull)) {
            gull.Latch = false;
        }
        return false;
    }
    if (!ball.Collides(gull)) {
        return false;
    }
    gull.Latch = true;
    AddScore(gull.Value);
    BounceOff(gull, ball);
    return true;
}

void TPlayField::StrikeGullByBall(std::size_t gullIndex, TDXSprite& ball) {
    TDXSprite& gull = GullList[gullIndex];
    switch (gull.Kind) {
        case GullFlying:
            GullBounce->Play();
            gull.Kind = GullFalling;
            gull.AY = kGullGravity;
            gull.MinY = 0;
            gull.MaxY = 480;
            gull.EdgeModeY = emReflect;
            gull.UseFrames(MiscSheet.get(), 3, 3);
            ReleaseEggChance(gullIndex);
            ++GullsFalling;
            break;
        default:
            WeakenGull(gull);
            break;
    }
    ball.Latch = true;
    HitTimer = 0;
}

void TPlayField::WeakenGull(TDXSprite& gull) {
    // An AGull struck becomes a BAGull, a BAGull a plain gull; the wing beat goes on.
    if (gull.Kind == AGullFlying) {
        AGullBounce->Play();
        gull.Kind = BAGullFlying;
        gull.Sheet = BAGulls.get();
    } else if (gull.Kind == BAGullFlying) {
        BAGullBounce->Play();
        gull.Kind = GullFlying;
        gull.Sheet = Gulls.get();
    }
}

void TPlayField::ReleaseEggChance(std::size_t gullIndex) {
    if (EggsLeft == 0) {
        return;
    }
    // The struck gull is still counted among the flying ones, so there is at least one.
    const std::int32_t flying = GullsLeft - GullsFalling;
    if (flying <= 0) {
        return;
    }
    if (platform::Random() % flying < EggsLeft + 1) {
        CreateEgg->Play();
        AddEgg(gullIndex);
    }
}

void TPlayField::ExplodeGull(TDXSprite& gull) {
    if (gull.Kind == GullFalling) {
        --GullsFalling;
    }
    gull.Kind = GullExploding;
    gull.UseFrames(ExplosionSheet.get(), 0, 7);
    --GullsLeft;
    ++Animations;
}

void TPlayField::StrikeGullByShot(TDXSprite& shot, TDXSprite& gull, std::size_t gullIndex) {
    ShotgunHit->Play();
    shot.Kind = ShotIdle;
    AddScore(gull.Value);
    HitTimer = 0;
    switch (gull.Kind) {
        case GullFlying:
            ReleaseEggChance(gullIndex);
            ExplodeGull(gull);
            break;
        case GullFalling:
            ExplodeGull(gull);
            break;
        default:
            WeakenGull(gull);
            break;
    }
}

void TPlayField::UpdateGulls() {
    // Which flying gull, counted in list order, drops a bomb in this frame; -1: none.
    int bombCounter = -1;
    if (PlayStarted && static_cast<std::int32_t>(BombList.size()) < BombLimit &&
        GullsLeft > GullsFalling && GameState != gsLosingLife) {
        BombTimer += FrameTime;
        if (BombTimer > BombDelay) {
            bombCounter = platform::Random() % (GullsLeft - GullsFalling);
            BombTimer = 0;
            BombDelay = BombInterval();
        }
    }

    // A shot strikes the first gull in list order that it overlaps, and nothing more.
    for (TDXSprite& shot : ShotSprites) {
        for (std::size_t g = 0; g < GullList.size() && shot.Kind == ShotFlying; ++g) {
            TDXSprite& gull = GullList[g];
            if (!IsGone(gull) && shot.Collides(gull)) {
                StrikeGullByShot(shot, gull, g);
            }
        }
    }

    for (std::size_t g = 0; g < GullList.size(); ++g) {
        TDXSprite& gull = GullList[g];
        switch (gull.Kind) {
            case GullExploding:
                // The explosion drifts with the gull's motion.
                gull.MoveX(FrameTime);
                gull.AccelerateY(FrameTime);
                if (gull.Animate(FrameTime) && gull.Frame == 0) {
                    gull.Kind = GullDead;
                    --Animations;
                }
                break;
            case GullFalling:
                if (!CheatMode && GameState != gsLosingLife && gull.Collides(PaddleSprite)) {
                    gull.Kind = GullDead;
                    --GullsFalling;
                    --GullsLeft;
                    StrikePaddle();
                    break;
                }
                gull.Accelerate(FrameTime);
                // Out at the bottom or a side it is gone; at the top it is sent down again.
                if (gull.EdgeHits != 0 && (gull.EdgeHits & kEdgeTop) == 0) {
                    gull.Kind = GullDead;
                    --GullsFalling;
                    --GullsLeft;
                }
                break;
            case GullFlying:
            case AGullFlying:
            case BAGullFlying:
                if (bombCounter == 0) {
                    AddBomb(g);
                }
                --bombCounter;
                gull.Move(FrameTime);
                break;
            default:
                break;
        }
    }
}
