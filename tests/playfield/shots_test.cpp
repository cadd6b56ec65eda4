// The shotgun on a field of its own: a pair fired from the barrels, flying up and out. What a
// shot strikes is the recorded games' to replay.
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

}  // namespace
