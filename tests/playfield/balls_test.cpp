// The ball updater on a field of its own: the bounce off the paddle, head-on and glancing, and
// when a ball passes the paddle; glue; the speed powers' limits and the tennis ball. The bounce
// off a gull, the doubler and lost balls are the recorded games' to replay.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "playfield/trig.h"
#include "support/test_field.h"

namespace {

double Degrees(const TDXSprite& ball) {
    return std::atan2(-ball.DY, ball.DX) * 180 / 3.14159265358979;
}

// The paddle at rest in the middle (its centre at 320) and a ball coming straight down on it,
// its centre `d` pixels left of the paddle's centre.
TDXSprite& Landing(TestField& f, int d) {
    return f.OneBall(299 - d, 415, 0, 1);
}

struct PaddleBounce {
    int d;         // the paddle's centre minus the ball's
    double angle;  // degrees above the horizontal, before the random part and the limits
};

// Head-on, and further and further out on both sides, up to the flattest bounce.
constexpr PaddleBounce kPaddleBounces[] = {
    {0, 90},         {1, 92.34375},  {-1, 87.65625}, {10, 113.4375},
    {-10, 66.5625},  {30, 160.3125}, {-30, 19.6875}, {33, 167.34375},
    {-33, 12.65625}, {40, 183.75},   {-40, -3.75},
};

TEST(PaddleBounceTest, LeavesAtTheAngleOfWhereItLandsWithinThreeDegrees) {
    TestField f;
    for (const PaddleBounce& c : kPaddleBounces) {
        for (int r = -3; r <= 3; ++r) {
            SCOPED_TRACE(testing::Message() << "d " << c.d << ", random " << r);
            TDXSprite& ball = Landing(f, c.d);
            SeedForDraw(7, r + 3);
            f.UpdateBalls();
            const double expected = std::clamp(c.angle + r, 15.0, 165.0);
            EXPECT_NEAR(Degrees(ball), expected, 1e-6);
            EXPECT_NEAR(std::hypot(ball.DX, ball.DY), 1.0, 1e-12);
            EXPECT_EQ(ball.Speed, 250.0) << "the paddle keeps the speed";
            EXPECT_TRUE(ball.Latch);
            EXPECT_EQ(ball.AnimStep, 1) << "the spin turns";
            EXPECT_EQ(ball.Kind, BallFree);
        }
    }
}

// The bounce's sine and cosine stay within two units in the last place of the library's, and
// give these very bits in every build: the paddle's flattest and steepest bounces, and one
// between.
TEST(PaddleBounceTest, SineAndCosineAreTheFieldsOwn) {
    struct Bits {
        double degrees, cos, sin;
    };
    constexpr Bits kBits[] = {
        {15.0, 0x1.ee8dd4753634p-1, 0x1.0907dc1439916p-2},
        {92.34375, -0x1.4f027f377d2bcp-5, 0x1.ff925a6024507p-1},
        {165.0, -0x1.ee8dd46d3b135p-1, 0x1.0907dc4fcbae3p-2},
    };
    for (const Bits& b : kBits) {
        // Worked out as the game works it out, at run time: never folded by the compiler.
        const volatile double degrees = b.degrees;
        const double radians = degrees * 3.14159265 / 180;
        EXPECT_EQ(FieldCos(radians), b.cos) << b.degrees;
        EXPECT_EQ(FieldSin(radians), b.sin) << b.degrees;
    }
    const auto near = [](double value, double library) {
        const double ulp = std::nextafter(std::fabs(library), 2.0) - std::fabs(library);
        return std::fabs(value - library) <= 2 * ulp;
    };
    for (double x = -40; x < 40; x += 0.0137) {
        EXPECT_TRUE(near(FieldSin(x), std::sin(x))) << x;
        EXPECT_TRUE(near(FieldCos(x), std::cos(x))) << x;
    }
}

TEST(PaddleBounceTest, APassingBallIsNotTurned) {
    struct Pass {
        const char* why;
        double y;
        double dy;
        std::int32_t paddle;
    };
    const Pass passes[] = {
        {"rising", 415, -1, PaddleAlive},
        {"its top at 438", 438, 1, PaddleAlive},
        {"its top below 438", 440, 1, PaddleAlive},
        {"the paddle exploding", 415, 1, PaddleExploding},
        {"the paddle gone", 415, 1, PaddleGone},
    };
    for (const Pass& p : passes) {
        TestField f;
        f.PaddleSprite.Kind = p.paddle;
        TDXSprite& ball = f.OneBall(299, p.y, 0, p.dy);
        f.UpdateBalls();
        EXPECT_EQ(ball.DY, p.dy) << p.why;
        EXPECT_NE(ball.Y, p.y) << p.why << ": it moves on";
        EXPECT_FALSE(ball.Latch) << p.why;
    }
    // Beside the paddle's ends it falls past.
    TestField f;
    TDXSprite& beside = Landing(f, 52);
    f.UpdateBalls();
    EXPECT_GT(beside.DY, 0);
}

TEST(GlueTest, HoldsABouncingBallAndNarrowsThePaddlesRange) {
    TestField f;
    f.GluePower = true;
    // The button held down: the ball bounces as usual.
    f.MouseHeld = true;
    TDXSprite& held = f.OneBall(288 - 10, 415, 0, 1);
    f.UpdateBalls();
    EXPECT_EQ(held.Kind, BallFree);
    EXPECT_LT(held.DY, 0);
    // The button up: it sticks at its place on the paddle, 10 pixels out on the left.
    f.MouseHeld = false;
    TDXSprite& left = f.OneBall(288 - 10, 415, 0, 1);
    f.UpdateBalls();
    EXPECT_EQ(left.Kind, BallGlued);
    EXPECT_DOUBLE_EQ(left.X, -10);
    EXPECT_EQ(f.PaddleMinX, 10);
    EXPECT_EQ(f.PaddleMaxX, 576);
    const double y = left.Y;
    f.UpdateBalls();
    EXPECT_EQ(left.Y, y) << "it rides on the paddle";
    // The button down at a ball update frees it where the paddle is now.
    f.PaddleSprite.X = 100;
    f.MouseHeld = true;
    f.UpdateBalls();
    EXPECT_EQ(left.Kind, BallReleased);
    EXPECT_TRUE(left.Latch);
    EXPECT_NEAR(left.X, 90, 1);
    // Glued near the right end, the range narrows on that side.
    f.MouseHeld = false;
    f.PaddleSprite.X = 288;
    TDXSprite& right = f.OneBall(288 + 40, 415, 0, 1);
    f.UpdateBalls();
    EXPECT_EQ(right.Kind, BallGlued);
    EXPECT_EQ(f.PaddleMaxX, 560);
}

TEST(BallPowerTest, OneShotPowersActOnEveryBallOnce) {
    TestField f;
    // Slower: halved, but not below 175.
    f.AddBall(100, 200, 250, 1, -1, 0, BallFree);
    f.AddBall(300, 200, 400, -1, -1, 0, BallFree);
    f.SlowOnce = true;
    f.UpdateBalls();
    EXPECT_EQ(f.BallList[0].Speed, 175);
    EXPECT_EQ(f.BallList[1].Speed, 200);
    EXPECT_FALSE(f.SlowOnce);
    // Faster twice: doubled, but not above 750.
    TDXSprite& fast = f.OneBall(300, 200, 1, -1);
    f.FastOnce = true;
    f.UpdateBalls();
    EXPECT_EQ(fast.Speed, 500);
    f.FastOnce = true;
    f.UpdateBalls();
    EXPECT_EQ(fast.Speed, 750);

    // The tennis ball: smaller, and a glued ball drops onto the paddle once.
    TDXSprite& glued = f.OneBall(11, 410, 1, -1, 250, BallGlued);
    f.TennisOnce = true;
    f.UpdateBalls();
    EXPECT_EQ(glued.Sheet, f.TennisBalls.get());
    EXPECT_EQ(glued.MaxX, 617);
    EXPECT_EQ(glued.Y, 428);
    EXPECT_TRUE(f.TennisPower);
    f.TennisOnce = true;
    f.UpdateBalls();
    EXPECT_EQ(glued.Y, 428);
    f.AddBall(200, 200, 250, 1, -1, 0, BallFree);
    EXPECT_EQ(f.BallList.back().Sheet, f.TennisBalls.get()) << "new balls are tennis balls";
}

}  // namespace
