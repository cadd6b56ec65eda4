// The play field's soundness, checked after every pass by the soak and the play fuzz target:
// its counters against what its sprites say, every number finite, the lists bounded, score and
// lives never negative.
#pragma once

#include <cmath>
#include <string>
#include <tuple>

#include "game/znform.h"
#include "playfield/spritekinds.h"

namespace field_checks {

inline bool Finite(const TDXSprite& s) {
    for (const double v : {s.X, s.Y, s.DX, s.DY, s.Speed, s.AX, s.AY, s.FrameTimer}) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// What is wrong with the field, or nothing.
inline std::string FieldFault(const TKestovForm& f) {
    int left = 0;
    int falling = 0;
    int running = 0;
    for (const TDXSprite& gull : f.GullList) {
        left += gull.Kind != GullDead && gull.Kind != GullExploding ? 1 : 0;
        falling += gull.Kind == GullFalling ? 1 : 0;
        running += gull.Kind == GullExploding ? 1 : 0;
    }
    running += f.PaddleSprite.Kind == PaddleExploding ? 1 : 0;
    running += f.UmbrellaBurst.Kind == BurstPlaying ? 1 : 0;
    const std::string where = " on level " + std::to_string(f.LevelNumber);
    for (const auto& [name, kept, seen] : {std::tuple{"GullsLeft", f.GullsLeft, left},
                                           {"GullsFalling", f.GullsFalling, falling},
                                           {"Animations", f.Animations, running}}) {
        if (kept != seen) {
            return name + std::string(" is ") + std::to_string(kept) + ", the sprites say " +
                   std::to_string(seen) + where;
        }
    }
    if (f.Score < 0 || f.Lives < 0) {
        return "score " + std::to_string(f.Score) + ", lives " + std::to_string(f.Lives) + where;
    }
    for (const TDXSpriteList* list : {&f.GullList, &f.BallList, &f.BombList, &f.EggList}) {
        if (list->size() > 4096) {
            return "a list of " + std::to_string(list->size()) + " sprites" + where;
        }
        for (const TDXSprite& sprite : *list) {
            if (!Finite(sprite)) {
                return "a sprite of a list is not finite" + where;
            }
        }
    }
    for (const TDXSprite* single : {&f.PaddleSprite, &f.BazzleSprite, &f.ShotSprites[0],
                                    &f.ShotSprites[1], &f.CannonSprite, &f.UmbrellaBurst}) {
        if (!Finite(*single)) {
            return "a single sprite is not finite" + where;
        }
    }
    if (!std::isfinite(f.HitTimer) || !std::isfinite(f.BazzleDelay)) {
        return "a timer is not finite" + where;
    }
    return {};
}

}  // namespace field_checks
