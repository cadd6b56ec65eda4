// TDXSprite: initial values, moves and edge modes, animation timing, acceleration, collisions
// and drawing through the sheet.
#include <gtest/gtest.h>

#include <cmath>

#include "playfield/dxsprite.h"
#include "support/picture_fixture.h"

namespace {

using pictures::kMagenta;
using pictures::Rgb565;

TEST(SpriteTest, StartsWithTheDocumentedValues) {
    const TDXSprite s;
    EXPECT_EQ(s.Speed, 1.0);
    EXPECT_EQ(s.FrameDelay, 0.03);
    EXPECT_EQ(s.MaxX, 640);
    EXPECT_EQ(s.MaxY, 480);
    EXPECT_EQ(s.AnimStep, 1);
    EXPECT_EQ(s.EdgeModeX, emNone);
    EXPECT_EQ(s.EdgeModeY, emNone);
    EXPECT_EQ(s.Sheet, nullptr);
    EXPECT_FALSE(s.UnitDirection);
}

TEST(SpriteTest, MovesScaleByTimeAndSpeed) {
    TDXSprite s;
    s.DX = 100;
    s.DY = -50;
    s.Speed = 2;
    s.MoveX(0.5);
    EXPECT_DOUBLE_EQ(s.X, 100);
    EXPECT_DOUBLE_EQ(s.Y, 0);
    s.MoveY(0.5);
    EXPECT_DOUBLE_EQ(s.Y, -50);  // emNone: out of bounds, nothing happens, no bit
    EXPECT_EQ(s.EdgeHits, 0);
    s.Move(0.25);
    EXPECT_DOUBLE_EQ(s.X, 150);
    EXPECT_DOUBLE_EQ(s.Y, -75);
}

TEST(SpriteTest, EdgeModes) {
    TDXSprite reflect;
    reflect.MaxX = 599;
    reflect.EdgeModeX = emReflect;
    reflect.X = 595;
    reflect.DX = 10;
    reflect.MoveX(1.0);  // 605 after the move
    EXPECT_DOUBLE_EQ(reflect.X, 593);
    EXPECT_DOUBLE_EQ(reflect.DX, -10);
    EXPECT_EQ(reflect.EdgeHits, kEdgeRight);
    reflect.X = 2;
    reflect.MoveX(0.5);  // -3: mirrored to 3 about MinX 0
    EXPECT_DOUBLE_EQ(reflect.X, 3);
    EXPECT_EQ(reflect.EdgeHits, kEdgeLeft);

    TDXSprite wrap;
    wrap.MinX = -64;
    wrap.MaxX = 640;
    wrap.EdgeModeX = emWrap;
    wrap.X = 640;
    wrap.DX = 1;
    wrap.MoveX(1.0);  // 641, wrapped by the width of the bounds without adding one
    EXPECT_DOUBLE_EQ(wrap.X, -63);
    EXPECT_EQ(wrap.EdgeHits, kEdgeRight);
    wrap.X = -64;
    wrap.DX = 0;
    wrap.MoveX(1.0);  // exactly on the bound: inside
    EXPECT_DOUBLE_EQ(wrap.X, -64);
    EXPECT_EQ(wrap.EdgeHits, 0);
    // Far out on either side, it comes back by whole widths, at once.
    wrap.X = 100000;
    wrap.MoveX(1.0);
    EXPECT_DOUBLE_EQ(wrap.X, -64 + std::fmod(100000.0 - 704 + 64, 704));
    EXPECT_EQ(wrap.EdgeHits, kEdgeRight);
    wrap.X = -3000;
    wrap.DX = -1e9;
    wrap.MoveX(1.0);
    EXPECT_GE(wrap.X, -64);
    EXPECT_LE(wrap.X, 640);
    EXPECT_EQ(wrap.EdgeHits, kEdgeLeft);

    // emStop clamps and zeroes only its own axis; Y's bits are 4 and 8.
    TDXSprite stop;
    stop.EdgeModeX = emStop;
    stop.EdgeModeY = emStop;
    stop.X = 10;
    stop.Y = 470;
    stop.DX = -40;
    stop.DY = 20;
    stop.Move(1.0);
    EXPECT_DOUBLE_EQ(stop.X, 0);
    EXPECT_DOUBLE_EQ(stop.DX, 0);
    EXPECT_DOUBLE_EQ(stop.Y, 480);
    EXPECT_DOUBLE_EQ(stop.DY, 0);
    EXPECT_EQ(stop.EdgeHits, kEdgeLeft | kEdgeBottom);

    // A move longer than the bounds are wide is folded in as bounces to and fro would bring
    // it, and the sprite keeps bouncing within them.
    TDXSprite far;
    far.EdgeModeY = emReflect;
    far.MinY = 24;
    far.MaxY = 240;
    far.Y = 24;
    far.DY = -1000;
    far.MoveY(1.0);  // up 1000 from the top: down 216, up 216, down 216, up 216, down 136
    EXPECT_DOUBLE_EQ(far.Y, 160);
    EXPECT_DOUBLE_EQ(far.DY, 1000);
    EXPECT_EQ(far.EdgeHits, kEdgeTop);
    far.Y = 230;
    far.DY = 100;
    far.MoveY(0.5);  // 280: 40 past the bottom, mirrored to 200 and coming back
    EXPECT_DOUBLE_EQ(far.Y, 200);
    EXPECT_DOUBLE_EQ(far.DY, -100);
    // A fast gull in a band narrower than its move stays in the band, frame after frame.
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
    TDXSprite flat;
    flat.EdgeModeY = emReflect;
    flat.MinY = 50;
    flat.MaxY = 50;
    flat.Y = 50;
    flat.DY = 30;
    flat.MoveY(1.0);
    EXPECT_DOUBLE_EQ(flat.Y, 50);
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
