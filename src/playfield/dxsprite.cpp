// TDXSprite's moves, edge modes, animation, acceleration, collision and drawing.
#include "playfield/dxsprite.h"

#include <cmath>

namespace {

// Applies one axis's edge mode to a moved position: the lower bound first, and the upper only
// when the position is not below it. A position on a bound is inside.
void ApplyEdge(TEdgeMode mode, double& position, double& motion, std::int32_t low,
               std::int32_t high, std::uint8_t lowBit, std::uint8_t highBit, std::uint8_t& hits) {
    if (mode == emNone) {
        return;
    }
    const bool below = position < low;
    if (!below && !(position > high)) {
        return;
    }
    hits |= below ? lowBit : highBit;
    switch (mode) {
        case emWrap: {
            // The wrap distance is the width of the bounds, without adding one. A position
            // more than that width out (a gull set far off by its level, or flying across more
            // than the screen in one frame) is brought back by whole widths, so that it does
            // not stay out for good.
            const double span = high - low;
            position += below ? span : -span;
            if (span > 0 && (position < low || position > high)) {
                position = low + std::fmod(position - low, span);
                if (position < low) {
                    position += span;
                }
            }
            break;
        }
        case emReflect: {
            const double unbounded = position;
            const double heading = motion;
            position = below ? low + (low - position) : high - (position - high);
            motion = -motion;
            // A mirrored position still out (a move longer than the bounds are wide, as of a
            // fast gull in a narrow band) is folded in as bounces to and fro would bring it;
            // mirrored alone it would land further out at every move and drift away for good.
            const double span = high - low;
            if (position < low || position > high) {
                double folded = span > 0 ? std::fmod(unbounded - low, 2 * span) : 0;
                if (folded < 0) {
                    folded += 2 * span;
                }
                const bool returning = folded > span;
                position = returning ? high - (folded - span) : low + folded;
                motion = returning ? -heading : heading;
            }
            break;
        }
        case emStop:
            position = below ? low : high;
            motion = 0;
            break;
        case emNone:
            break;
    }
}

}  // namespace

void TDXSprite::MoveX(double dt) {
    EdgeHits = 0;
    X += DX * Speed * dt;
    ApplyEdge(EdgeModeX, X, DX, MinX, MaxX, kEdgeLeft, kEdgeRight, EdgeHits);
}

void TDXSprite::MoveY(double dt) {
    EdgeHits = 0;
    Y += DY * Speed * dt;
    ApplyEdge(EdgeModeY, Y, DY, MinY, MaxY, kEdgeTop, kEdgeBottom, EdgeHits);
}

void TDXSprite::Move(double dt) {
    EdgeHits = 0;
    X += DX * Speed * dt;
    Y += DY * Speed * dt;
    ApplyEdge(EdgeModeX, X, DX, MinX, MaxX, kEdgeLeft, kEdgeRight, EdgeHits);
    ApplyEdge(EdgeModeY, Y, DY, MinY, MaxY, kEdgeTop, kEdgeBottom, EdgeHits);
    Animate(dt);
}

void TDXSprite::Accelerate(double dt) {
    if (UnitDirection) {
        DX = DX * Speed + AX * dt;
        DY = DY * Speed + AY * dt;
        Speed = Length();
        Normalize();
    } else {
        DX += AX * dt;
        DY += AY * dt;
    }
    Move(dt);
}

void TDXSprite::AccelerateY(double dt) {
    if (!UnitDirection) {
        DY += AY * dt;
        MoveY(dt);
    }
}

bool TDXSprite::Animate(double dt) {
    FrameTimer += dt;
    if (!(FrameTimer > FrameDelay)) {
        return false;
    }
    Frame += AnimStep;
    FrameTimer = 0;
    if (Frame > LastFrame) {
        Frame = FirstFrame;
    } else if (Frame < FirstFrame) {
        Frame = LastFrame;
    }
    return true;
}

double TDXSprite::Length() const {
    return std::sqrt(DX * DX + DY * DY);
}

void TDXSprite::Normalize() {
    const double length = Length();
    if (length != 0) {
        DX /= length;
        DY /= length;
    }
}

bool TDXSprite::Collides(const TDXSprite& other) const {
    const int wA = Sheet->FrameWidth;
    const int hA = Sheet->FrameHeight;
    const int wB = other.Sheet->FrameWidth;
    const int hB = other.Sheet->FrameHeight;
    if (!(X > other.X - wA + 1 && X < other.X + wB - 1 && Y > other.Y - hA + 1 &&
          Y < other.Y + hB - 1)) {
        return false;
    }
    const RECT a{static_cast<LONG>(X), static_cast<LONG>(Y), static_cast<LONG>(X + wA - 1),
                 static_cast<LONG>(Y + hA - 1)};
    const RECT b{static_cast<LONG>(other.X), static_cast<LONG>(other.Y),
                 static_cast<LONG>(other.X + wB - 1), static_cast<LONG>(other.Y + hB - 1)};
    const auto& masksA = Sheet->Masks;
    const auto& masksB = other.Sheet->Masks;
    // A frame without a mask (no masks on the sheet, or a frame past them) lets the boxes decide.
    if (static_cast<std::size_t>(Frame) >= masksA.size() ||
        static_cast<std::size_t>(other.Frame) >= masksB.size()) {
        return true;
    }
    return TDXGraphic::MasksCollide(masksA[Frame], masksB[other.Frame], a, b);
}

void TDXSprite::UseFrames(TDXGraphic* sheet, std::int32_t first, std::int32_t last) {
    Sheet = sheet;
    Frame = first;
    FirstFrame = first;
    LastFrame = last;
}

bool TDXSprite::OnScreen() const {
    return X > -Sheet->FrameWidth && X < 640 && Y > -Sheet->FrameHeight && Y < 480;
}

void TDXSprite::Draw(IDirectDrawSurface3* surface) const {
    if (OnScreen()) {
        Sheet->DrawFrame(surface, Frame, static_cast<int>(X), static_cast<int>(Y));
    }
}

void TDXSprite::QueueDraw(BltQueue& queue) const {
    if (OnScreen()) {
        Sheet->QueueFrame(queue, Frame, static_cast<int>(X), static_cast<int>(Y));
    }
}
