// Bombs on a field of their own: the time between bombs, the limit of bombs falling at once,
// the fall, and what a bomb does to the paddle and its shields.
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

TEST(BombIntervalTest, FollowsTheDrawTheFlockTheLimitAndTheBazzle) {
    struct Interval {
        int draw;  // modulo 500
        int gulls, left, limit;
        bool bazzle;
        double seconds;
    };
    const Interval cases[] = {
        {0, 4, 3, 1, false, 0.6},    {99, 4, 3, 1, false, 0.6},  {100, 4, 3, 1, false, 1.6},
        {250, 4, 3, 2, false, 1.3},  {250, 4, 3, 2, true, 0.65}, {499, 4, 3, 1, false, 4.6},
        {499, 10, 0, 4, false, 2.5}, {0, 10, 9, 3, false, 0.2},  {399, 1, 1, 1, true, 1.65},
    };
    for (const Interval& c : cases) {
        TestField f;
        Flock(f, c.gulls, c.left);
        f.BombLimit = c.limit;
        f.BazzleSprite.Kind = c.bazzle ? BazzlePresent : BazzleAbsent;
        SeedForDraw(500, c.draw);
        EXPECT_NEAR(f.BombInterval(), c.seconds, 1e-12)
            << "draw " << c.draw << ", " << c.gulls << " gulls, " << c.left << " left, limit "
            << c.limit << (c.bazzle ? ", Bazzle" : "");
    }
}

TEST(BombTimingTest, TheTimerRunsOnlyWhileBombsMayFall) {
    struct Hold {
        const char* why;
        bool started;
        TGameState state;
        int limit, falling, bombs;
    };
    const Hold holds[] = {
        {"before the first click", false, gsPlaying, 5, 0, 0},
        {"while a life is lost", true, gsLosingLife, 5, 0, 0},
        {"with the limit of bombs falling", true, gsPlaying, 2, 0, 2},
        {"with a limit of 0", true, gsPlaying, 0, 0, 0},
        {"with every gull falling", true, gsPlaying, 5, 3, 0},
    };
    for (const Hold& h : holds) {
        TestField f;
        Flock(f, 3, 3);
        for (int i = 0; i < h.falling; ++i) {
            f.GullList[static_cast<std::size_t>(i)].Kind = GullFalling;
        }
        f.GullsFalling = h.falling;
        for (int i = 0; i < h.bombs; ++i) {
            f.AddBomb(0);
        }
        f.PlayStarted = h.started;
        f.GameState = h.state;
        f.BombLimit = h.limit;
        f.BombTimer = 0.5;
        f.BombDelay = 0;
        f.UpdateGulls();
        EXPECT_EQ(f.BombTimer, 0.5) << h.why;
        EXPECT_EQ(f.BombList.size(), static_cast<std::size_t>(h.bombs)) << h.why;
    }

    // Otherwise it counts the frame's time, and a bomb falls once it passes the delay.
    TestField f;
    Flock(f, 3, 3);
    f.PlayStarted = true;
    f.BombLimit = 1;
    f.BombDelay = 0.0015;
    f.UpdateGulls();
    EXPECT_DOUBLE_EQ(f.BombTimer, 0.001);
    EXPECT_TRUE(f.BombList.empty());
    f.UpdateGulls();
    EXPECT_EQ(f.BombTimer, 0);
    ASSERT_EQ(f.BombList.size(), 1u);
    EXPECT_GT(f.BombDelay, 0) << "the next delay is drawn";
    f.BombDelay = 0;
    f.UpdateGulls();
    EXPECT_EQ(f.BombList.size(), 1u) << "one bomb at a time with a limit of 1";
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
