// Bombs: dropping one from a gull, the bomb updater, and the time between bombs.
#include <algorithm>

#include "platform/api/random.h"
#include "playfield/fieldlists.h"
#include "playfield/playfield.h"
#include "playfield/spritekinds.h"

namespace {

constexpr double kBombSpeed = 400.0;
constexpr std::int32_t kBombFrame = 4;

}  // namespace

void TPlayField::AddBomb(std::size_t gullIndex) {
    const TDXSprite& gull = GullList[gullIndex];
    TDXSprite bomb;
    bomb.UseFrames(MiscSheet.get(), kBombFrame, kBombFrame);
    bomb.X = gull.X;
    bomb.Y = gull.Y;
    bomb.DX = 0;
    bomb.DY = kBombSpeed;
    bomb.EdgeModeX = emNone;
    // A gull may fly above the screen's top: its bomb falls in from there rather than stop
    // against the top edge, where it would hold the level open for good.
    bomb.MinY = std::min(0, static_cast<std::int32_t>(gull.Y));
    bomb.MaxY = 480;
    bomb.EdgeModeY = emStop;
    AppendSprite(BombList, bomb, "bombs");
}

void TPlayField::UpdateBombs() {
    for (std::size_t i = BombList.size(); i-- > 0;) {
        TDXSprite& bomb = BombList[i];
        if (!CheatMode && GameState != gsLosingLife && bomb.Collides(PaddleSprite)) {
            StrikePaddle();
            BombList.erase(BombList.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        bomb.MoveY(FrameTime);
        if ((bomb.EdgeHits & kEdgeBottom) != 0) {
            BombList.erase(BombList.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void TPlayField::DropUnseenBombs() {
    // A bomb off the screen (still above it, or beside it) has not been seen. Once it can no
    // longer strike the paddle, or no gull is left, it is taken away rather than waited for:
    // dropped by a gull far above, it would hold the end of the life or the level until it had
    // fallen in, for minutes or for ever.
    std::erase_if(BombList, [](const TDXSprite& bomb) { return !bomb.OnScreen(); });
}

double TPlayField::BombInterval() {
    // Faster when more bombs may fall at once and while a Bazzle is in the sky; slower as the
    // gulls thin out.
    const int a = (platform::Random() % static_cast<int>(100.0 * 5.0)) / 100;
    double t = (a + static_cast<double>(GullList.size()) * 0.6 / (GullsLeft + 1)) / BombLimit;
    if (BazzleSprite.Kind == BazzlePresent) {
        t *= 0.5;
    }
    return t;
}
