// Bonus eggs: releasing one at a struck gull, the egg updater, and the powers they grant.
#include <array>

#include "platform/api/random.h"
#include "playfield/fieldlists.h"
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

// The power of a new egg, drawn from this table: the extra paddle and the shotgun come half
// as often as the others.
constexpr std::array<std::int32_t, 14> kEggPowers = {
    pwSlower, pwSlower, pwDoubler, pwDoubler,    pwExtraPaddle, pwGlue,     pwGlue,
    pwFaster, pwFaster, pwShotgun, pwTennisBall, pwTennisBall,  pwUmbrella, pwUmbrella};

constexpr std::int32_t kEggFramesPerPower = 13;
constexpr std::int32_t kEggPoints = 50;

}  // namespace

void TPlayField::AddEgg(std::size_t gullIndex) {
    const TDXSprite& gull = GullList[gullIndex];
    TDXSprite egg;
    egg.Kind = kEggPowers[static_cast<std::size_t>(platform::Random() % 14)];
    const std::int32_t first = egg.Kind * kEggFramesPerPower;
    egg.UseFrames(BonusEggs.get(), first, first + kEggFramesPerPower - 1);
    egg.AnimStep = -1;
    egg.FrameDelay = 0.04;
    egg.Value = kEggPoints;
    // Tossed up a little, drifting against the gull's flight.
    egg.X = gull.X;
    egg.Y = gull.Y;
    egg.DX = -gull.DX * 0.5;
    egg.DY = -25.0;
    egg.AY = 65.0;
    egg.MinX = 0;
    egg.MaxX = 641 - 32;
    egg.EdgeModeX = emReflect;
    egg.MinY = 0;
    egg.MaxY = 480;
    egg.EdgeModeY = emStop;
    AppendSprite(EggList, egg, "eggs");
    --EggsLeft;
}

void TPlayField::UpdateEggs() {
    for (std::size_t i = EggList.size(); i-- > 0;) {
        TDXSprite& egg = EggList[i];
        if (PaddleSprite.Kind == PaddleAlive && PaddleSprite.Collides(egg)) {
            const std::int32_t power = egg.Kind;
            const std::int32_t points = egg.Value;
            EggList.erase(EggList.begin() + static_cast<std::ptrdiff_t>(i));
            CatchEgg->Play();
            GrantPower(power);
            AddScore(points);
            continue;
        }
        egg.Accelerate(FrameTime);
        if ((egg.EdgeHits & kEdgeBottom) != 0) {
            EggList.erase(EggList.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void TPlayField::GrantPower(std::int32_t kind) {
    switch (kind) {
        case pwSlower:
            SlowOnce = true;
            break;
        case pwDoubler:
            DoublerOnce = true;
            break;
        case pwExtraPaddle:
            ++Lives;
            break;
        case pwGlue:
            GluePower = true;
            break;
        case pwFaster:
            FastOnce = true;
            break;
        case pwShotgun:
            ShotgunPower = true;
            break;
        case pwTennisBall:
            TennisOnce = true;
            break;
        case pwUmbrella:
            ++Umbrellas;
            break;
        default:
            break;
    }
}
