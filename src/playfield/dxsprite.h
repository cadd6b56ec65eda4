// TDXSprite: a positioned, moving, animated frame of a sprite sheet, with bounds, edge modes
// and a box-then-mask collision test; and the growable sprite lists.
#pragma once

#include <cstdint>
#include <vector>

#include "media/bltqueue.h"
#include "media/dxgraphic.h"

// What crossing a bound does.
enum TEdgeMode : std::uint8_t { emNone = 0, emWrap = 1, emReflect = 2, emStop = 3 };

// The bounds crossed by the last move.
inline constexpr std::uint8_t kEdgeLeft = 1;
inline constexpr std::uint8_t kEdgeRight = 2;
inline constexpr std::uint8_t kEdgeTop = 4;
inline constexpr std::uint8_t kEdgeBottom = 8;

struct TDXSprite {
    void Move(double dt);
    void MoveX(double dt);
    void MoveY(double dt);
    void Accelerate(double dt);
    void AccelerateY(double dt);
    // True when the frame changed in this call; at most one step per call.
    bool Animate(double dt);
    double Length() const;
    void Normalize();
    bool Collides(const TDXSprite& other) const;
    // Whether any of its frame lies on the 640 by 480 screen. Only such a sprite is drawn: its
    // position, in whole pixels, then fits the drawing's arithmetic wherever a level set it.
    bool OnScreen() const;
    void Draw(IDirectDrawSurface3* surface) const;
    // Shows the frames first to last of the sheet, from the first on.
    void UseFrames(TDXGraphic* sheet, std::int32_t first, std::int32_t last);
    void QueueDraw(BltQueue& queue) const;

    double X = 0;
    double Y = 0;
    double DX = 0;
    double DY = 0;
    double Speed = 1.0;
    double AX = 0;
    double AY = 0;
    double FrameDelay = 0.03;
    double FrameTimer = 0;
    std::int32_t MinX = 0;
    std::int32_t MaxX = 640;
    std::int32_t MinY = 0;
    std::int32_t MaxY = 480;
    std::int32_t Frame = 0;
    std::int32_t FirstFrame = 0;
    std::int32_t LastFrame = 0;
    std::int32_t AnimStep = 1;
    std::int32_t Kind = 0;
    std::int32_t Value = 0;
    bool Latch = false;
    bool UnitDirection = false;
    std::uint8_t EdgeHits = 0;
    TEdgeMode EdgeModeX = emNone;
    TEdgeMode EdgeModeY = emNone;
    TDXGraphic* Sheet = nullptr;  // borrowed
};

// An ordered, contiguous list of sprites: appended at the end; a removal moves every later
// sprite down one place.
using TDXSpriteList = std::vector<TDXSprite>;
