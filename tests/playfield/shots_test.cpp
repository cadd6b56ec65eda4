// The shotgun on a field of its own: a pair fired from the barrels, flying up and out, and a
// shot striking the first gull it meets and nothing more.
#include <gtest/gtest.h>

#include "support/test_field.h"

namespace {

// Both shots of a pair fired from the paddle at the given place.
void Fire(TestField& f, double paddleX) {
    f.PaddleSprite.X = paddleX;
    f.FireRequest = true;
    f.UpdateShots();
    f.FireRequest = false;
}

TEST(ShotTest, APairLeavesTheBarrelsAndFliesOutAtTheTop) {
    TestField f;
    Fire(f, 300);
    const TDXSprite& left = f.ShotSprites[0];
    const TDXSprite& right = f.ShotSprites[1];
    EXPECT_EQ(left.Kind, ShotFlying);
    EXPECT_EQ(right.Kind, ShotFlying);
    EXPECT_EQ(left.X, 277);
    EXPECT_EQ(right.X, 323);
    EXPECT_EQ(left.Y, 438) << "not moved in the frame it is fired";
    EXPECT_EQ(left.DY, -800);
    // A request while the pair flies fires nothing; the pair flies on at 800 a second.
    f.FrameTime = 0.5;
    f.FireRequest = true;
    f.UpdateShots();
    EXPECT_EQ(left.Y, 38);
    EXPECT_EQ(left.X, 277);
    f.UpdateShots();
    EXPECT_EQ(left.Kind, ShotIdle);
    EXPECT_EQ(right.Kind, ShotIdle);
    // Both idle again: the held request fires the next pair.
    f.UpdateShots();
    EXPECT_EQ(left.Kind, ShotFlying);
    EXPECT_EQ(left.Y, 438);
}

TEST(ShotTest, AShotStrikesOneGullAndPassesBombsAndEggs) {
    TestField f;
    f.AddGull(TZNGull{300, 200, 0, 0, 0, 0, 0});
    f.AddGull(TZNGull{300, 200, 0, 0, 0, 0, 0});
    f.AddGull(TZNGull{100, 200, 0, 0, 1, 0, 0});
    f.GullsLeft = 3;
    Fire(f, 300 + 23);
    f.ShotSprites[0].Y = 200;
    f.ShotSprites[1].X = 100;
    f.ShotSprites[1].Y = 200;
    f.HitTimer = 10;
    f.UpdateGulls();
    EXPECT_EQ(f.GullList[0].Kind, GullExploding);
    EXPECT_EQ(f.GullList[1].Kind, GullFlying) << "one gull for one shot";
    EXPECT_EQ(f.GullList[2].Kind, BAGullFlying) << "an AGull shot is only turned";
    EXPECT_EQ(f.Awards, (std::vector<std::int32_t>{25, 25}));
    EXPECT_EQ(f.GullsLeft, 2);
    EXPECT_EQ(f.Animations, 1);
    EXPECT_EQ(f.HitTimer, 0);
    EXPECT_EQ(f.ShotSprites[0].Kind, ShotIdle);
    EXPECT_EQ(f.ShotSprites[1].Kind, ShotIdle);

    // A falling gull shot explodes and leaves the falling ones.
    f.GullList[1].Kind = GullFalling;
    f.GullsFalling = 1;
    Fire(f, 300 + 23);
    f.ShotSprites[0].Y = 200;
    f.UpdateGulls();
    EXPECT_EQ(f.GullList[1].Kind, GullExploding);
    EXPECT_EQ(f.GullsFalling, 0);
    EXPECT_EQ(f.GullsLeft, 1);

    // Through a bomb and an egg it flies on.
    f.AddBomb(1);
    f.EggsLeft = 1;
    f.AddEgg(1);
    f.GullList[1].Kind = GullDead;
    f.ShotSprites[0].Kind = f.ShotSprites[1].Kind = ShotIdle;
    Fire(f, 300 + 23);
    f.ShotSprites[0].Y = 200;
    f.UpdateGulls();
    f.UpdateBombs();
    f.UpdateEggs();
    EXPECT_EQ(f.ShotSprites[0].Kind, ShotFlying);
    EXPECT_EQ(f.BombList.size(), 1u);
    EXPECT_EQ(f.EggList.size(), 1u);
}

}  // namespace
