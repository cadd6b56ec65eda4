// Bombs on a field of their own: the fall, and what a bomb does to the paddle and its shields.
// The time between bombs and their limit are the recorded games' to replay.
#include <gtest/gtest.h>

#include "support/test_field.h"

namespace {

// Fills the gull list with `count` gulls flying level, of which `left` are not dead.
void Flock(TestField& f, int count, int left) {
    f.GullList.clear();
    for (int i = 0; i < count; ++i) {
        f.AddGull(TZNGull{20 + 60 * i, 100, 0, 0, 0, 0, 0});
        if (i >= left) {
            f.GullList.back().Kind = GullDead;
        }
    }
    f.GullsLeft = left;
    f.GullsFalling = 0;
}

TEST(BombFallTest, BombsFallInFromAboveAndOutAtTheBottom) {
    TestField f;
    Flock(f, 1, 1);
    f.GullList[0].Y = -60;  // above the top of the screen, away from the paddle
    f.AddBomb(0);
    f.FrameTime = 1.0 / 30;
    f.UpdateBombs();
    EXPECT_NEAR(f.BombList[0].Y, -60 + 400.0 / 30, 1e-9);
    for (int i = 0; i < 60 && !f.BombList.empty(); ++i) {
        f.UpdateBombs();
    }
    EXPECT_TRUE(f.BombList.empty()) << "stuck at the top";
    EXPECT_EQ(f.GameState, gsPlaying);
}

TEST(BombFallTest, ShieldsTakeTheHitsOfBombsOnThePaddle) {
    TestField f;
    Flock(f, 1, 1);
    f.Umbrellas = 2;
    const auto bombOnPaddle = [&] {
        f.BombList.clear();
        f.GullList[0].X = f.PaddleSprite.X;
        f.GullList[0].Y = 420;
        f.AddBomb(0);
        f.UpdateBombs();
    };
    // Two shields: one shield and a burst, the paddle lives on.
    bombOnPaddle();
    EXPECT_TRUE(f.BombList.empty());
    EXPECT_EQ(f.Umbrellas, 1);
    EXPECT_EQ(f.UmbrellaBurst.Kind, BurstPlaying);
    EXPECT_EQ(f.Animations, 1);
    EXPECT_EQ(f.GameState, gsPlaying);
    EXPECT_EQ(f.PaddleSprite.Kind, PaddleAlive);
    // A second while the burst runs: it restarts where the paddle is now.
    f.PaddleSprite.X = 200;
    bombOnPaddle();
    EXPECT_EQ(f.Umbrellas, 0);
    EXPECT_EQ(f.Animations, 1);
    EXPECT_EQ(f.UmbrellaBurst.X, 200);
    EXPECT_EQ(f.UmbrellaBurst.Frame, 0);
    // In the hidden mode bombs pass through.
    f.CheatMode = true;
    bombOnPaddle();
    EXPECT_EQ(f.BombList.size(), 1u);
    EXPECT_EQ(f.GameState, gsPlaying);
    f.CheatMode = false;
    // Without a shield the paddle explodes; the burst runs on beside it.
    bombOnPaddle();
    EXPECT_EQ(f.GameState, gsLosingLife);
    EXPECT_EQ(f.PaddleSprite.Kind, PaddleExploding);
    EXPECT_EQ(f.Animations, 2);
    // Once the life is lost, bombs fall on through the paddle.
    bombOnPaddle();
    EXPECT_EQ(f.BombList.size(), 1u);
}

}  // namespace
