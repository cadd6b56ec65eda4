// Bonus eggs on a field of their own: the powers and points of a caught egg. The table their
// power is drawn from and their drift are the recorded games' to replay.
#include <gtest/gtest.h>

#include "support/test_field.h"

namespace {

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
