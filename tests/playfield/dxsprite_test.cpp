// TDXSprite: moves and edge modes, animation timing, acceleration, collisions
// and drawing through the sheet.
#include <gtest/gtest.h>

#include <cmath>

#include "playfield/dxsprite.h"
#include "support/picture_fixture.h"

namespace {

using pictures::kMagenta;
using pictures::Rgb565;

// A move along one axis within bounds [low, high]: where it ends, its speed after, and the edges
// it met (X's bits 1 and 2, Y's 4 and 8).
struct EdgeMove {
    const char* what;
    bool y;
    TEdgeMode mode;
    double low, high, at, speed, seconds;
    double after, speedAfter;
    std::uint8_t hits;
};

const EdgeMove kEdgeMoves[] = {
    {"mirrored at the right", false, emReflect, 0, 599, 595, 10, 1, 593, -10, kEdgeRight},
    {"mirrored at the left", false, emReflect, 0, 599, 2, -10, 0.5, 3, 10, kEdgeLeft},
    // Wrapped by the width of the bounds without adding one.
    {"wrapped at the right", false, emWrap, -64, 640, 640, 1, 1, -63, 1, kEdgeRight},
    {"exactly on the bound", false, emWrap, -64, 640, -64, 0, 1, -64, 0, 0},
    {"far out, back by whole widths", false, emWrap, -64, 640, 100000, 0, 1,
     -64 + std::fmod(100000.0 - 704 + 64, 704), 0, kEdgeRight},
    {"stopped at the left", false, emStop, 0, 640, 10, -40, 1, 0, 0, kEdgeLeft},
    {"stopped at the bottom", true, emStop, 0, 480, 470, 20, 1, 480, 0, kEdgeBottom},
    // A move longer than the bounds are wide is folded in as bounces to and fro would bring
    // it: up 1000 from the top is down 216, up 216, down 216, up 216, down 136.
    {"folded", true, emReflect, 24, 240, 24, -1000, 1, 160, 1000, kEdgeTop},
    {"mirrored at the bottom", true, emReflect, 24, 240, 230, 100, 0.5, 200, -100, kEdgeBottom},
};

TEST(SpriteTest, EdgeModesMirrorWrapOrStopAMoveAndSayWhichEdgeItMet) {
    for (const EdgeMove& m : kEdgeMoves) {
        TDXSprite s;
        (m.y ? s.EdgeModeY : s.EdgeModeX) = m.mode;
        (m.y ? s.MinY : s.MinX) = m.low;
        (m.y ? s.MaxY : s.MaxX) = m.high;
        (m.y ? s.Y : s.X) = m.at;
        (m.y ? s.DY : s.DX) = m.speed;
        if (m.y) {
            s.MoveY(m.seconds);
        } else {
            s.MoveX(m.seconds);
        }
        EXPECT_DOUBLE_EQ(m.y ? s.Y : s.X, m.after) << m.what;
        EXPECT_DOUBLE_EQ(m.y ? s.DY : s.DX, m.speedAfter) << m.what;
        EXPECT_EQ(s.EdgeHits, m.hits) << m.what;
    }
    // However far out on the left, a wrapped sprite comes back at once.
    TDXSprite wrap;
    wrap.MinX = -64;
    wrap.EdgeModeX = emWrap;
    wrap.X = -3000;
    wrap.DX = -1e9;
    wrap.MoveX(1.0);
    EXPECT_GE(wrap.X, -64);
    EXPECT_LE(wrap.X, 640);
    EXPECT_EQ(wrap.EdgeHits, kEdgeLeft);
    // A fast gull in a band narrower than its move stays in the band, frame after frame; a band
    // of no height holds it.
    TDXSprite gull;
    gull.EdgeModeY = emReflect;
    gull.MinY = 43;
    gull.MaxY = 86;
    gull.Y = 60;
    gull.DY = -4687;
    for (int frame = 0; frame < 10000; ++frame) {
        gull.MoveY(1.0 / 60);
        ASSERT_GE(gull.Y, 43) << "frame " << frame;
        ASSERT_LE(gull.Y, 86) << "frame " << frame;
    }
    gull.MinY = gull.MaxY = gull.Y = 50;
    gull.MoveY(1.0);
    EXPECT_DOUBLE_EQ(gull.Y, 50);
}

TEST(SpriteTest, AnimationStepsOnceTheDelayIsExceeded) {
    TDXSprite s;
    s.FirstFrame = 2;
    s.LastFrame = 4;
    s.Frame = 2;
    EXPECT_FALSE(s.Animate(0.03));  // not greater than the delay
    EXPECT_EQ(s.Frame, 2);
    s.FrameTimer = 0;
    EXPECT_TRUE(s.Animate(0.031));
    EXPECT_EQ(s.Frame, 3);
    EXPECT_EQ(s.FrameTimer, 0);
    EXPECT_TRUE(s.Animate(0.5));  // one step however long the frame
    EXPECT_EQ(s.Frame, 4);
    EXPECT_TRUE(s.Animate(0.5));
    EXPECT_EQ(s.Frame, 2);  // past the last: back to the first
    s.AnimStep = -1;
    EXPECT_TRUE(s.Animate(0.5));
    EXPECT_EQ(s.Frame, 4);  // before the first: on to the last

    // Move animates too; MoveX and MoveY do not.
    s.MoveX(1.0);
    s.MoveY(1.0);
    EXPECT_EQ(s.Frame, 4);
    s.Move(1.0);
    EXPECT_EQ(s.Frame, 3);
}

TEST(SpriteTest, AccelerationKeepsAUnitDirectionAndMovesTheSpeed) {
    TDXSprite unit;
    unit.UnitDirection = true;
    unit.DX = 1;
    unit.Speed = 300;
    unit.AY = 400;
    unit.Accelerate(1.0);  // velocity (300, 400)
    EXPECT_NEAR(unit.Length(), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(unit.Speed, 500);
    EXPECT_NEAR(unit.DX, 0.6, 1e-12);
    EXPECT_NEAR(unit.X, 300, 1e-9);
    EXPECT_NEAR(unit.Y, 400, 1e-9);

    const TDXSprite before = unit;
    unit.AccelerateY(1.0);  // neither accelerates nor moves a unit-direction sprite
    EXPECT_EQ(unit.DY, before.DY);
    EXPECT_EQ(unit.Y, before.Y);

    TDXSprite falling;
    falling.AY = 100;
    falling.AX = 10;
    falling.AccelerateY(0.5);
    EXPECT_DOUBLE_EQ(falling.DY, 50);
    EXPECT_DOUBLE_EQ(falling.Y, 25);
    EXPECT_DOUBLE_EQ(falling.DX, 0);
    falling.Accelerate(0.5);
    EXPECT_DOUBLE_EQ(falling.DX, 5);
    EXPECT_DOUBLE_EQ(falling.DY, 100);

    TDXSprite still;
    still.Normalize();  // a zero vector stays zero
    EXPECT_EQ(still.DX, 0);
    EXPECT_FALSE(std::isnan(still.DY));
}

// Sprites over real sheets: two 64 by 64 frames, opaque but for their last two columns (and the
// key pixel at the top left), loaded with masks and without.
class SpriteSheetTest : public pictures::PictureTest {
  protected:
    void SetUp() override {
        PictureTest::SetUp();
        AddResource("BmpBlock", pictures::MakeBmp(128, 64, [](int x, int y) {
                        const int fx = x % 64;
                        return (x == 0 && y == 0) || fx >= 62 ? kMagenta : RGB(0, 255, 0);
                    }));
        masked = TransparentGraphic();
        masked->LoadFromResource(dd, "BmpBlock", 1, 2, 64, 64, true, true);
        plain = TransparentGraphic();
        plain->LoadFromResource(dd, "BmpBlock", 1, 2, 64, 64, true, false);
        a.Sheet = masked.get();
        b.Sheet = masked.get();
    }

    std::unique_ptr<TDXGraphic> masked;
    std::unique_ptr<TDXGraphic> plain;
    TDXSprite a;
    TDXSprite b;
};

TEST_F(SpriteSheetTest, CollisionsTestTheBoxesThenTheMasks) {
    b.X = 63;  // pixel ranges share one column: the boxes do not collide
    EXPECT_FALSE(a.Collides(b));
    b.X = 62;  // the boxes overlap, but only A's transparent columns lie on B
    EXPECT_FALSE(a.Collides(b));
    EXPECT_FALSE(b.Collides(a));
    b.X = 61.9;  // truncated to 61: A's last opaque column meets B's first
    EXPECT_TRUE(a.Collides(b));
    EXPECT_TRUE(b.Collides(a));

    b.X = 0;
    b.Y = 63;
    EXPECT_FALSE(a.Collides(b));
    b.Y = 62;
    EXPECT_TRUE(a.Collides(b));

    // A side without masks: overlapping boxes collide.
    b.Y = 0;
    b.X = 62;
    b.Sheet = plain.get();
    EXPECT_TRUE(a.Collides(b));
    EXPECT_TRUE(b.Collides(a));
}

TEST_F(SpriteSheetTest, DrawAndQueueDrawUseTheTruncatedPositionAndFrame) {
    a.Frame = 1;
    a.X = -10.9;  // truncated toward zero: -10
    a.Y = 100.7;
    Fill(screen, 0);
    a.Draw(screen);
    const std::uint16_t green = Rgb565(RGB(0, 255, 0));
    EXPECT_EQ(Count(screen, {0, 100, 52, 164}, green), 52 * 64);
    EXPECT_EQ(Count(screen, {0, 0, 640, 480}, green), 52 * 64);  // the keyed columns stay black

    BltQueue queue;
    queue.Reset();
    a.QueueDraw(queue);
    a.X = 640;
    a.QueueDraw(queue);
    ASSERT_EQ(queue.Count, 1);
    EXPECT_EQ(queue.Entries[0].Source, (RECT{74, 0, 128, 64}));
    EXPECT_EQ(queue.Entries[0].Dest, (RECT{0, 100, 54, 164}));
}

}  // namespace
