// The level and life start-ups, and the slide-in of a new level's picture.
#include <cstdint>

#include "game/znform.h"
#include "platform/api/random.h"
#include "platform/api/timer.h"
#include "playfield/spritekinds.h"

namespace {

// A random draw reduced by a level's value; a value of 0 or less counts as 1, so an odd level
// past the last one never divides by zero.
std::int32_t DrawBelow(std::int64_t modulus) {
    return static_cast<std::int32_t>(platform::Random() % (modulus > 0 ? modulus : 1));
}

}  // namespace

void TKestovForm::StartLevel(std::int32_t levelNumber) {
    GullList.clear();
    // Past the last level the set repeats from the first, with random values.
    const std::int32_t count = Levels.Count;
    RandomLevel = levelNumber > count;
    const std::int32_t index = (levelNumber - 1) % count;
    TZNLevelWrapper& level = Levels.Items(index);
    if (PackLoaded) {
        LoadPackPicture(index);
    } else {
        LoadBackground(level.PictureName);
    }
    if (RandomLevel) {
        EggsLeft = DrawBelow(2 * static_cast<std::int64_t>(level.EggCount)) + 3;
        LevelBombLimit = DrawBelow(static_cast<std::int64_t>(level.MaxBombs * 1.5)) + 1;
        BazzlesLeft = platform::Random() % 5 + 1;
    } else {
        EggsLeft = level.EggCount;
        LevelBombLimit = level.MaxBombs;
        BazzlesLeft = level.BazzleVisits;
    }
    for (std::int32_t i = 0; i < level.GullRecords.Count; ++i) {
        AddGull(level.GullRecords.Items(i));
    }
    GullsLeft = static_cast<std::int32_t>(GullList.size());
    StartLife();
}

void TKestovForm::StartLife() {
    // Umbrellas carry over between lives and levels, at most three.
    if (Umbrellas > 3) {
        Umbrellas = 3;
    }
    Animations = 0;
    GullsFalling = 0;
    GluePower = false;
    TennisPower = false;
    ShotgunPower = false;
    SlowOnce = false;
    DoublerOnce = false;
    FastOnce = false;
    TennisOnce = false;
    MouseHeld = false;
    FireRequest = false;
    PlayStarted = false;

    PaddleSprite.Kind = PaddleAlive;
    PaddleSprite.X = (640 - PaddleSprite.Sheet->FrameWidth) / 2;
    PaddleSprite.Y = 438.0;
    PaddleMinX = 0;
    PaddleMaxX = 576;

    // One ball rides on the paddle until the player clicks.
    BallList.clear();
    AddBall(11, 410, 250.0, 1.0, -1.0, 0, BallGlued);

    BombLimit = LevelBombLimit;
    BombTimer = 0.0;
    BombDelay = BombInterval();
    BazzleDelay = platform::Random() % 6 + 15;
    BazzleTimer = 0.0;

    BazzleSprite.Kind = BazzleAbsent;
    for (TDXSprite& shot : ShotSprites) {
        shot.Kind = ShotIdle;
    }
    CannonSprite.X = -64.0;
    CannonSprite.Kind = CannonAbsent;
}

void TKestovForm::LevelIntro() {
    // The bottom rows of the new picture appear at the top of the screen and grow downward
    // over one second of active time; the rest of the screen keeps the last frame.
    double shown = 0.0;
    double seconds = 0.0;
    RECT source{0, 0, 640, 480};
    const auto copy = [&] {
        BackBuffer->BltFast(0, 0, Background->Surface, &source, DDBLTFAST_WAIT);
        FlipSurfaces(DDFLIP_WAIT);
    };
    do {
        if (AppActive) {
            source.top = 480 - static_cast<LONG>(shown);
            copy();
        }
        Application.ProcessMessages();
        UpdateTimer();
        if (AppActive) {
            seconds += Elapsed;
            shown = seconds * 480.0;
        } else {
            Sleep(10);
        }
    } while (shown <= 480.0);
    for (std::int32_t i = 0; i < BackBufferCount; ++i) {
        copy();
    }
}
