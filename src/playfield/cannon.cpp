// The cannon: it rolls in when a level has stalled on its last gull, or on gulls that are all
// out of sight, fires at the first of them as it passes a window near the right of the screen,
// and rolls out again once none is left.
#include <algorithm>

#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

constexpr double kStallBeforeRollIn = 20.0;
constexpr double kStallBeforeFiring = 25.0;
constexpr double kRollInSpeed = 15.0;
constexpr double kRollOutSpeed = -200.0;
constexpr double kNudgeSpeed = 150.0;  // sets a hovering last gull flying into the window
constexpr double kWindowLeft = 544.0;
constexpr double kWindowRight = 608.0;

bool InSight(const TDXSprite& gull) {
    return gull.Kind != GullDead && gull.Kind != GullExploding && gull.OnScreen();
}

}  // namespace

void TPlayField::UpdateCannon() {
    // A level stalls on its last gull, or on gulls that all fly out of sight, where a level set
    // them or their band takes them: no ball can reach those, and the level would never end.
    const bool stalled = GullsLeft <= 1 || std::none_of(GullList.begin(), GullList.end(), InSight);
    if (!(stalled && HitTimer >= kStallBeforeRollIn)) {
        return;
    }
    TDXSprite& cannon = CannonSprite;
    if (cannon.Kind == CannonAbsent) {
        Cannon->Play();
        CannonSoundTimer = 0;
        cannon.Kind = CannonPresent;
        cannon.DX = kRollInSpeed;
        cannon.Move(FrameTime);
        return;
    }
    if (cannon.DX > 0) {
        // Rolling in, rumbling every second, until its left edge stops at 0.
        if (CannonSoundTimer >= 1.0) {
            CannonSoundTimer = 0;
            Cannon->Play();
        } else {
            CannonSoundTimer += FrameTime;
        }
        cannon.Move(FrameTime);
        if (cannon.EdgeHits != 0) {
            cannon.DX = 0;
        }
        cannon.Move(FrameTime);
        return;
    }
    if (cannon.DX == 0 && HitTimer >= kStallBeforeFiring) {
        for (TDXSprite& gull : GullList) {
            if (gull.Kind == GullDead || gull.Kind == GullExploding) {
                continue;
            }
            if (gull.X >= kWindowLeft && gull.X <= kWindowRight) {
                // The cannon's shot scores nothing and releases no egg.
                Explosion->Play();
                Cannon->Play();
                ExplodeGull(gull);
                // With gulls still left it stays for the next.
                if (GullsLeft <= 0) {
                    cannon.DX = kRollOutSpeed;
                    cannon.Move(FrameTime);
                }
            } else if (gull.DX == 0) {
                gull.DX = kNudgeSpeed;
            }
            break;
        }
    }
    cannon.Move(FrameTime);
}
