// The play field on its own: sheets of the game's frame sizes without pictures or masks (so the
// boxes decide every collision), silent sounds, the single sprites as the game sets them up at
// load and at a life start, and a score that only records what the field awards.
#pragma once

#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "playfield/playfield.h"
#include "playfield/spritekinds.h"
#include "support/random_draws.h"

class TestField : public TPlayField {
  public:
    TestField() {
        struct Size {
            std::unique_ptr<TDXGraphic>* sheet;
            int width;
            int height;
        };
        for (const Size& s :
             {Size{&Gulls, 64, 64}, Size{&AGulls, 64, 64}, Size{&BAGulls, 64, 64},
              Size{&BallSheet, 42, 42}, Size{&TennisBalls, 24, 24}, Size{&PaddleSheet, 64, 42},
              Size{&ExplosionSheet, 64, 64}, Size{&MiscSheet, 64, 64}, Size{&BonusEggs, 32, 32}}) {
            (*s.sheet)->FrameWidth = s.width;
            (*s.sheet)->FrameHeight = s.height;
        }
        for (auto* sound :
             {&BallBounce, &GullBounce, &AGullBounce, &BAGullBounce, &Explosion, &BazzleBounce,
              &CreateEgg, &CatchEgg, &ShotgunFire, &ShotgunHit, &Cannon}) {
            *sound = std::make_unique<TDXSound>();
        }
        SetUpSingleSprites();
        PaddleSprite.X = 288;
        PaddleSprite.Y = 438;
        PaddleSprite.Kind = PaddleAlive;
        GameState = gsPlaying;
        FrameTime = 0.001;
    }

    void AddScore(std::int32_t points) override { Awards.push_back(points); }

    std::int32_t Score() const { return std::accumulate(Awards.begin(), Awards.end(), 0); }

    // Replaces the balls with one.
    TDXSprite& OneBall(double x, double y, double dx, double dy, double speed = 250.0,
                       std::int32_t kind = BallFree) {
        BallList.clear();
        AddBall(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), speed, dx, dy, 0, kind);
        return BallList.back();
    }

    // Replaces the gulls with one built from the record, the only one left in the level.
    TDXSprite& OneGull(const TZNGull& record) {
        GullList.clear();
        AddGull(record);
        GullsLeft = 1;
        GullsFalling = 0;
        return GullList.back();
    }

    // The points the field has awarded.
    std::vector<std::int32_t> Awards;
};
