// TPlayField: the play field's share of the game record (the sheets it draws with, the sprite
// lists and single sprites, the counters, power flags and timers, the sounds its events make)
// and the eight updaters that move it, one frame at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "levelformat/records.h"
#include "media/bltqueue.h"
#include "media/dxgraphic.h"
#include "media/dxsfx.h"
#include "platform/session/recording.h"
#include "playfield/dxsprite.h"
#include "playfield/gamestate.h"

// The longest time step the play field takes in one frame. After a stall of the system a longer
// step would let a ball, bomb or egg jump through the paddle or carry a gull out of its wrap
// range for good; below 30 frames a second the game slows down instead.
inline constexpr double kMaxFrameTime = 1.0 / 30.0;

class TPlayField {
  public:
    TPlayField();
    virtual ~TPlayField();
    TPlayField(const TPlayField&) = delete;
    TPlayField& operator=(const TPlayField&) = delete;

    // ---- What the play field needs from the game above it.
    // Adds the points of a strike or a caught egg to the game's score.
    virtual void AddScore(std::int32_t points) = 0;

    // Gives the single sprites (the paddle, the Bazzle, the shots, the umbrella's burst and the
    // cannon) their sheets, frames and bounds, as they stand before the first game; the sheets
    // must have their frame sizes.
    void SetUpSingleSprites();

    // ---- The eight updaters, in the order a frame runs them.
    void UpdateBombs();
    void UpdateEggs();
    void UpdateBalls();
    void UpdateGulls();
    void UpdateBazzle();
    void UpdateShots();
    void UpdatePaddle();
    void UpdateCannon();

    // ---- The paddle.
    void StrikePaddle();
    void DestroyPaddle();

    // ---- Balls.
    void AddBall(std::int32_t x, std::int32_t y, double speed, double dx, double dy,
                 std::int32_t frame, std::int32_t kind);
    void MoveBall(TDXSprite& ball);
    void BounceOff(const TDXSprite& obstacle, TDXSprite& ball);

    // ---- Gulls and bombs.
    void AddGull(const TZNGull& gull);
    bool BallMeetsGull(std::size_t gullIndex, std::size_t ballIndex);
    void StrikeGullByBall(std::size_t gullIndex, TDXSprite& ball);
    void ReleaseEggChance(std::size_t gullIndex);
    void AddBomb(std::size_t gullIndex);
    // Takes away the bombs off the screen; for the end of a life or a level.
    void DropUnseenBombs();
    double BombInterval();

    // ---- Eggs and powers.
    void AddEgg(std::size_t gullIndex);
    void GrantPower(std::int32_t kind);

    // ---- The Bazzle.
    void StrikeBazzle();

    // Queues the moving field in its drawing order: balls, bombs, gulls, eggs, shots, the
    // paddle group, the cannon and the Bazzle.
    void QueueField(BltQueue& queue) const;

    // The play field's state after a frame, for recorded games: every sprite of every list and
    // every single sprite, the counters, power flags and timers, each value by name. The digest
    // shows the state, lives and gulls as numbers and each other group as a hash.
    void Describe(platform::FrameRecord& record) const;

    // ---- The sheets the play field draws with.
    std::unique_ptr<TDXGraphic> Gulls;
    std::unique_ptr<TDXGraphic> AGulls;
    std::unique_ptr<TDXGraphic> BAGulls;
    std::unique_ptr<TDXGraphic> BallSheet;
    std::unique_ptr<TDXGraphic> TennisBalls;
    std::unique_ptr<TDXGraphic> PaddleSheet;
    std::unique_ptr<TDXGraphic> ExplosionSheet;
    std::unique_ptr<TDXGraphic> MiscSheet;
    std::unique_ptr<TDXGraphic> BonusEggs;

    // ---- The sprites.
    TDXSpriteList GullList;
    TDXSpriteList BombList;
    TDXSpriteList EggList;
    TDXSpriteList BallList;
    TDXSprite PaddleSprite;
    TDXSprite BazzleSprite;
    TDXSprite ShotSprites[2];
    TDXSprite UmbrellaBurst;
    TDXSprite CannonSprite;

    // ---- The sounds the play field's events make.
    std::unique_ptr<TDXSound> BallBounce;
    std::unique_ptr<TDXSound> GullBounce;
    std::unique_ptr<TDXSound> AGullBounce;
    std::unique_ptr<TDXSound> BAGullBounce;
    std::unique_ptr<TDXSound> Explosion;
    std::unique_ptr<TDXSound> BazzleBounce;
    std::unique_ptr<TDXSound> CreateEgg;
    std::unique_ptr<TDXSound> CatchEgg;
    std::unique_ptr<TDXSound> ShotgunFire;
    std::unique_ptr<TDXSound> ShotgunHit;
    std::unique_ptr<TDXSound> Cannon;

    // ---- Counters, flags and timers.
    TGameState GameState = gsTitle;
    std::int32_t BombLimit = 0;
    std::int32_t BazzlesLeft = 0;
    std::int32_t EggsLeft = 0;
    std::int32_t Lives = 3;
    std::int32_t GullsLeft = 0;
    std::int32_t GullsFalling = 0;
    std::int32_t Animations = 0;
    std::int32_t Umbrellas = 0;
    std::int32_t PaddleMinX = 0;
    std::int32_t PaddleMaxX = 576;
    bool CheatMode = false;
    bool PlayStarted = false;
    bool RandomLevel = false;
    bool GluePower = false;
    bool TennisPower = false;
    bool ShotgunPower = false;
    bool SlowOnce = false;
    bool DoublerOnce = false;
    bool FastOnce = false;
    bool TennisOnce = false;
    bool MouseHeld = false;
    bool FireRequest = false;
    double BazzleDelay = 0.0;
    double BombDelay = 0.0;
    double BazzleTimer = 0.0;
    double BombTimer = 0.0;
    double HitTimer = 0.0;
    // The time step of the frame under way: its Elapsed, limited to kMaxFrameTime, at the game
    // speed.
    double FrameTime = 0.0;
    // The options that change play, as the game took them when it began: the speed the whole
    // field runs at (1: its own), and whether a press of the button holds it down until the
    // next press.
    double GameSpeed = 1.0;
    bool LaunchByPress = false;
    // Spaces the rumble of the rolling cannon; it runs for the whole program.
    double CannonSoundTimer = 0.0;

  private:
    void StrikeGullByShot(TDXSprite& shot, TDXSprite& gull, std::size_t gullIndex);
    void ExplodeGull(TDXSprite& gull);
    void WeakenGull(TDXSprite& gull);
};
