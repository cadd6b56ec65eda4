// The play field's part of a frame's digest, as recorded games keep it.
#include "platform/recording.h"
#include "playfield/playfield.h"

namespace {

void AddSprite(platform::DigestHash& hash, const TDXSprite& s) {
    for (const double value :
         {s.X, s.Y, s.DX, s.DY, s.Speed, s.AX, s.AY, s.FrameDelay, s.FrameTimer}) {
        hash.Add(value);
    }
    for (const std::int64_t value :
         {std::int64_t{s.MinX}, std::int64_t{s.MaxX}, std::int64_t{s.MinY}, std::int64_t{s.MaxY},
          std::int64_t{s.Frame}, std::int64_t{s.FirstFrame}, std::int64_t{s.LastFrame},
          std::int64_t{s.AnimStep}, std::int64_t{s.Kind}, std::int64_t{s.Value},
          std::int64_t{s.Latch}, std::int64_t{s.UnitDirection}, std::int64_t{s.EdgeHits},
          std::int64_t{s.EdgeModeX}, std::int64_t{s.EdgeModeY}}) {
        hash.Add(value);
    }
}

std::string SpritesHash(std::initializer_list<const TDXSprite*> sprites) {
    platform::DigestHash hash;
    for (const TDXSprite* sprite : sprites) {
        AddSprite(hash, *sprite);
    }
    return hash.Text();
}

std::string ListHash(const TDXSpriteList& list) {
    platform::DigestHash hash;
    hash.Add(static_cast<std::int64_t>(list.size()));
    for (const TDXSprite& sprite : list) {
        AddSprite(hash, sprite);
    }
    return hash.Text();
}

}  // namespace

platform::FrameDigest TPlayField::Digest() const {
    platform::DigestHash counters;
    for (const std::int32_t value :
         {BombLimit, BazzlesLeft, EggsLeft, Animations, Umbrellas, PaddleMinX, PaddleMaxX}) {
        counters.Add(std::int64_t{value});
    }
    platform::DigestHash powers;
    for (const bool flag :
         {CheatMode, PlayStarted, RandomLevel, GluePower, TennisPower, ShotgunPower, SlowOnce,
          DoublerOnce, FastOnce, TennisOnce, MouseHeld, FireRequest}) {
        powers.Add(std::int64_t{flag});
    }
    platform::DigestHash timers;
    for (const double value :
         {BazzleDelay, BombDelay, BazzleTimer, BombTimer, HitTimer, FrameTime, CannonSoundTimer}) {
        timers.Add(value);
    }
    return {
        {"state", std::to_string(GameState)},
        {"lives", std::to_string(Lives)},
        {"gullsleft", std::to_string(GullsLeft)},
        {"falling", std::to_string(GullsFalling)},
        {"gulls", ListHash(GullList)},
        {"balls", ListHash(BallList)},
        {"bombs", ListHash(BombList)},
        {"eggs", ListHash(EggList)},
        {"paddle", SpritesHash({&PaddleSprite})},
        {"bazzle", SpritesHash({&BazzleSprite})},
        {"shots", SpritesHash({&ShotSprites[0], &ShotSprites[1]})},
        {"burst", SpritesHash({&UmbrellaBurst})},
        {"cannon", SpritesHash({&CannonSprite})},
        {"counters", counters.Text()},
        {"powers", powers.Text()},
        {"timers", timers.Text()},
    };
}
