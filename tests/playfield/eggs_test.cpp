// Bonus eggs on a field of their own: the table their power is drawn from, how they drift and
// fall, and the powers and points of a caught egg.
#include <gtest/gtest.h>

#include "support/test_field.h"

namespace {

TEST(EggTableTest, EachDrawGivesItsPower) {
    // The extra paddle and the shotgun once in fourteen, every other power twice.
    constexpr std::int32_t kTable[14] = {
        pwSlower, pwSlower, pwDoubler, pwDoubler,    pwExtraPaddle, pwGlue,     pwGlue,
        pwFaster, pwFaster, pwShotgun, pwTennisBall, pwTennisBall,  pwUmbrella, pwUmbrella};
    TestField f;
    f.OneGull(TZNGull{300, 100, 0, 0, 0, 0, 0});
    for (int draw = 0; draw < 14; ++draw) {
        f.EggList.clear();
        SeedForDraw(14, draw);
        f.AddEgg(0);
        const TDXSprite& egg = f.EggList.back();
        EXPECT_EQ(egg.Kind, kTable[draw]) << draw;
        EXPECT_EQ(egg.FirstFrame, egg.Kind * 13) << draw;
        EXPECT_EQ(egg.Frame, egg.Kind * 13) << draw;
        EXPECT_EQ(egg.LastFrame, egg.Kind * 13 + 12) << draw;
    }
}

TEST(EggFlightTest, EggsDriftAgainstTheGullAndFallOutAtTheBottom) {
    TestField f;
    // Against the gull's flight, off the left wall.
    f.OneGull(TZNGull{10, 100, 120, 0, 0, 0, 0});
    f.EggsLeft = 2;
    f.AddEgg(0);
    EXPECT_EQ(f.EggsLeft, 1);
    TDXSprite& egg = f.EggList.back();
    EXPECT_EQ(egg.DX, -60);
    EXPECT_EQ(egg.DY, -25);
    EXPECT_EQ(egg.Value, 50);
    f.FrameTime = 0.2;
    f.UpdateEggs();
    EXPECT_GT(f.EggList.back().DX, 0) << "bounced off the left wall";
    EXPECT_GE(f.EggList.back().X, 0);
    // A hovering gull's egg falls straight, and out of the bottom it is gone.
    f.EggList.clear();
    f.OneGull(TZNGull{100, 100, 0, 0, 0, 0, 0});
    f.AddEgg(0);
    EXPECT_EQ(f.EggList.back().DX, 0);
    f.FrameTime = 1.0 / 30;
    for (int i = 0; i < 200 && !f.EggList.empty(); ++i) {
        EXPECT_EQ(f.EggList.back().X, 100);
        f.UpdateEggs();
    }
    EXPECT_TRUE(f.EggList.empty());
    EXPECT_TRUE(f.Awards.empty());
}

TEST(EggCatchTest, ACaughtEggScoresAndGrantsItsPower) {
    TestField f;
    f.OneGull(TZNGull{300, 100, 0, 0, 0, 0, 0});
    const auto catchEgg = [&](std::int32_t power) {
        f.EggList.clear();
        f.AddEgg(0);
        TDXSprite& e = f.EggList.back();
        e.Kind = power;
        e.X = f.PaddleSprite.X + 16;
        e.Y = 440;
        f.UpdateEggs();
    };
    const int lives = f.Lives;
    catchEgg(pwExtraPaddle);
    EXPECT_TRUE(f.EggList.empty());
    EXPECT_EQ(f.Awards, std::vector<std::int32_t>{50});
    EXPECT_EQ(f.Lives, lives + 1);
    catchEgg(pwUmbrella);
    catchEgg(pwUmbrella);
    EXPECT_EQ(f.Umbrellas, 2);
    catchEgg(pwGlue);
    catchEgg(pwShotgun);
    catchEgg(pwSlower);
    catchEgg(pwFaster);
    catchEgg(pwDoubler);
    catchEgg(pwTennisBall);
    EXPECT_TRUE(f.GluePower && f.ShotgunPower && f.SlowOnce && f.FastOnce && f.DoublerOnce &&
                f.TennisOnce);
    EXPECT_EQ(f.Score(), 9 * 50);
    // While the paddle explodes, an egg falls through.
    f.PaddleSprite.Kind = PaddleExploding;
    catchEgg(pwUmbrella);
    EXPECT_EQ(f.EggList.size(), 1u);
    EXPECT_EQ(f.Umbrellas, 2);
}

}  // namespace
