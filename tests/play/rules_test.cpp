// The play field's rules, set up on the field of a running game: the paddle's bounce and its
// limits, glue, the one-shot powers, the tennis ball and the doubler, lost balls, the gulls'
// strikes and latch, bombs and umbrellas, and the eggs.
#include <cmath>
#include <map>

#include "play_fixture.h"
#include "playfield/spritekinds.h"

namespace {

constexpr double kPi = 3.14159265;

// Replaces the balls with one free ball.
TDXSprite& OneBall(TKestovForm& f, int x, int y, double dx, double dy, double speed = 250.0,
                   std::int32_t kind = BallFree) {
    f.BallList.clear();
    f.AddBall(x, y, speed, dx, dy, 0, kind);
    return f.BallList.back();
}

// Replaces the gulls with one built from the record.
TDXSprite& OneGull(TKestovForm& f, const TZNGull& record) {
    f.GullList.clear();
    f.AddGull(record);
    f.GullsLeft = 1;
    f.GullsFalling = 0;
    return f.GullList.back();
}

double Degrees(const TDXSprite& ball) {
    return std::atan2(-ball.DY, ball.DX) * 180 / kPi;
}

// The paddle at rest in the middle, and a ball coming straight down on it, its centre `d`
// pixels left of the paddle's centre; returns the angle it leaves at.
double BounceAngle(TKestovForm& f, int d) {
    f.PaddleSprite.X = 288;
    TDXSprite& ball = OneBall(f, 299 - d, 415, 0, 1);
    f.UpdateBalls();
    EXPECT_LT(ball.DY, 0) << "d " << d;
    return Degrees(f.BallList.back());
}

TEST_F(PlayTest, ThePaddleSendsTheBallOffByWhereItLands) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        std::map<int, int> centre;
        for (int i = 0; i < 200; ++i) {
            const double a = BounceAngle(f, 0);
            EXPECT_NEAR(a, std::round(a), 1e-6);
            ++centre[static_cast<int>(std::round(a)) - 90];
        }
        EXPECT_EQ(centre.size(), 7u) << "a random 3 degrees either way";
        EXPECT_EQ(centre.begin()->first, -3);
        EXPECT_EQ(centre.rbegin()->first, 3);

        const double left = BounceAngle(f, 10) - (90 + 23.4375);
        EXPECT_NEAR(left, std::round(left), 1e-6);
        EXPECT_LE(std::abs(left), 3.0 + 1e-6);
        EXPECT_NEAR(BounceAngle(f, 34), 165, 1e-6);  // never flatter than 15 degrees
        EXPECT_NEAR(BounceAngle(f, -34), 15, 1e-6);
        EXPECT_EQ(f.BallList.back().Speed, 250.0);

        // Rising, or with its top at 438 or lower, it passes the paddle.
        TDXSprite& rising = OneBall(f, 299, 415, 0, -1);
        f.UpdateBalls();
        EXPECT_LT(rising.DY, 0);
        EXPECT_LT(rising.Y, 415);
        TDXSprite& low = OneBall(f, 299, 438, 0, 1);
        f.UpdateBalls();
        EXPECT_GT(low.DY, 0);
    }));
}

TEST_F(PlayTest, GlueHoldsTheBallAndNarrowsThePaddlesRange) {
    WriteLevels("glue.znl", {"1,0,3\nGull=20,40,0,0,0,0,0"});
    ASSERT_TRUE(Play({
        [&] {
            TKestovForm& f = Form();
            f.FrameTime = 0.001;
            f.GluePower = true;
            f.PaddleSprite.X = 288;
            // The button held down: the ball bounces as usual.
            f.MouseHeld = true;
            TDXSprite& held = OneBall(f, 288 - 10, 415, 0, 1);
            f.UpdateBalls();
            EXPECT_EQ(held.Kind, BallFree);
            EXPECT_LT(held.DY, 0);
            // The button up: it sticks at its place on the paddle, 10 pixels out on the left.
            f.MouseHeld = false;
            TDXSprite& ball = OneBall(f, 288 - 10, 415, 0, 1);
            f.UpdateBalls();
            EXPECT_EQ(ball.Kind, BallGlued);
            EXPECT_DOUBLE_EQ(ball.X, -10);
            EXPECT_EQ(f.PaddleMinX, 10);
            EXPECT_EQ(f.PaddleMaxX, 576);
            harness.MoveMouse(-1000, 0);
        },
        WaitFrames(2),
        [&] {
            EXPECT_EQ(Form().PaddleSprite.X, 10) << "the ball stays on the screen";
            harness.Click();  // down and up before a ball update: the limits go, the ball stays
        },
        WaitFrames(2),
        [&] {
            EXPECT_EQ(Form().PaddleMinX, 0);
            EXPECT_EQ(Form().PaddleMaxX, 576);
            EXPECT_EQ(Form().BallList.back().Kind, BallGlued);
            harness.Press();
        },
        WaitFrames(2),
        [&] {
            EXPECT_EQ(Form().BallList.back().Kind, BallReleased);
            EXPECT_GT(Form().BallList.back().X, -10) << "placed on the screen again";
            harness.Release();
        },
        [&] {
            // Glued near the right end, the range narrows on that side.
            TKestovForm& f = Form();
            f.FrameTime = 0.001;
            f.PaddleSprite.X = 288;
            TDXSprite& right = OneBall(f, 288 + 40, 415, 0, 1);
            f.UpdateBalls();
            EXPECT_EQ(right.Kind, BallGlued);
            EXPECT_EQ(f.PaddleMaxX, 560);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(PlayTest, OneShotPowersActOnEveryBallOnce) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        // Slower: halved, but not below 175.
        f.BallList.clear();
        f.AddBall(100, 200, 250, 1, -1, 0, BallFree);
        f.AddBall(300, 200, 400, -1, -1, 0, BallFree);
        f.SlowOnce = true;
        f.UpdateBalls();
        EXPECT_EQ(f.BallList[0].Speed, 175);
        EXPECT_EQ(f.BallList[1].Speed, 200);
        EXPECT_FALSE(f.SlowOnce);
        // Faster twice: doubled, but not above 750.
        TDXSprite& fast = OneBall(f, 300, 200, 1, -1);
        f.FastOnce = true;
        f.UpdateBalls();
        EXPECT_EQ(fast.Speed, 500);
        f.FastOnce = true;
        f.UpdateBalls();
        EXPECT_EQ(fast.Speed, 750);

        // The doubler with three balls: six, each twin mirrored.
        f.BallList.clear();
        f.AddBall(100, 150, 250, 1, -1, 3, BallFree);
        f.AddBall(250, 200, 300, -1, 2, 5, BallFree);
        f.AddBall(400, 250, 800, 2, -1, 7, BallFree);
        f.DoublerOnce = true;
        f.UpdateBalls();
        ASSERT_EQ(f.BallList.size(), 6u);
        for (int i = 0; i < 3; ++i) {
            const TDXSprite& ball = f.BallList[static_cast<std::size_t>(i)];
            const TDXSprite& twin = f.BallList[static_cast<std::size_t>(5 - i)];
            EXPECT_NEAR(twin.DX, -ball.DX, 1e-9) << i;
            EXPECT_NEAR(twin.DY, ball.DY, 1e-9) << i;
            EXPECT_EQ(twin.Speed, ball.Speed) << i;
            EXPECT_LE(twin.Speed, 750);
        }
        f.UpdateBalls();
        EXPECT_EQ(f.BallList.size(), 6u) << "the doubler acts once";

        // The tennis ball: smaller, and a glued ball drops onto the paddle once.
        TDXSprite& glued = OneBall(f, 11, 410, 1, -1, 250, BallGlued);
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
    }));
}

TEST_F(PlayTest, ABallOutAtTheBottomIsLostAndTheLastOneTakesThePaddle) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        f.Umbrellas = 2;
        f.BallList.clear();
        f.AddBall(100, 300, 250, 1, -1, 0, BallFree);
        f.AddBall(200, 300, 250, 1, -1, 0, BallFree);
        f.BallList[1].EdgeHits = kEdgeBottom;
        f.UpdateBalls();
        ASSERT_EQ(f.BallList.size(), 1u);
        EXPECT_EQ(f.GameState, gsPlaying);
        EXPECT_NEAR(f.BallList[0].X, 100 + 0.001 * 250 / std::sqrt(2.0), 1e-9);

        f.BallList[0].EdgeHits = kEdgeBottom;
        f.UpdateBalls();
        EXPECT_EQ(f.BallList.size(), 1u) << "the last ball stays";
        EXPECT_EQ(f.GameState, gsLosingLife);
        EXPECT_EQ(f.PaddleSprite.Kind, PaddleExploding);
        EXPECT_EQ(f.PaddleSprite.Sheet, f.ExplosionSheet.get());
        EXPECT_EQ(f.Umbrellas, 0) << "the shields go with the last ball";
        EXPECT_EQ(f.Animations, 1);

        const double x = f.BallList[0].X;
        f.UpdateBalls();
        EXPECT_EQ(f.BallList[0].X, x) << "nothing moves while a life is lost";
        // The explosion runs its eight frames, then the paddle is gone.
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(f.PaddleSprite.Kind, PaddleExploding) << i;
            f.FrameTime = 0.031;
            f.UpdatePaddle();
        }
        EXPECT_EQ(f.PaddleSprite.Kind, PaddleGone);
        EXPECT_EQ(f.PaddleSprite.Sheet, f.PaddleSheet.get());
        EXPECT_EQ(f.Animations, 0);
    }));
}

TEST_F(PlayTest, AnAGullTakesThreeStrikesAndEachContactCountsOnce) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        TDXSprite& gull = OneGull(f, TZNGull{300, 200, 0, 0, 1, 0, 0});
        EXPECT_EQ(gull.Kind, AGullFlying);
        const auto strike = [&] {
            OneBall(f, 311, 230, 0, -1);
            f.UpdateBalls();
        };
        const std::int32_t kinds[] = {BAGullFlying, GullFlying, GullFalling};
        for (const std::int32_t kind : kinds) {
            f.HitTimer = 10;
            strike();
            EXPECT_EQ(gull.Kind, kind);
            EXPECT_TRUE(gull.Latch);
            EXPECT_EQ(f.HitTimer, 0);
            EXPECT_GT(f.BallList.back().DY, 0) << "struck from below, the ball turns down";
            if (kind == GullFalling) {
                break;
            }
            // Still touching: the latch holds, no second strike.
            strike();
            EXPECT_EQ(gull.Kind, kind);
            // Apart for one update: the latch opens.
            OneBall(f, 311, 420, 0, -1);
            f.UpdateBalls();
            EXPECT_FALSE(gull.Latch);
        }
        EXPECT_EQ(f.Score, 75);
        EXPECT_EQ(gull.Sheet, f.MiscSheet.get());
        EXPECT_EQ(f.GullsFalling, 1);
        EXPECT_EQ(f.GullsLeft, 1);
        EXPECT_EQ(gull.AY, 200);
    }));
}

TEST_F(PlayTest, GullsFlyAsTheirRecordsSay) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        const TDXSprite& left = OneGull(f, TZNGull{100, 100, -90, 0, 0, 0, 0});
        EXPECT_EQ(left.FirstFrame, 0);
        EXPECT_EQ(left.LastFrame, 17);
        const TDXSprite& hover = OneGull(f, TZNGull{100, 100, 0, 0, 0, 0, 0});
        EXPECT_EQ(hover.FirstFrame, 18);
        EXPECT_EQ(hover.LastFrame, 35);
        // The band is widened to the starting height; without a band it flies level.
        const TDXSprite& band = OneGull(f, TZNGull{100, 60, 0, 40, 0, 80, 200});
        EXPECT_EQ(band.MinY, 60);
        EXPECT_EQ(band.MaxY, 200);
        EXPECT_EQ(band.EdgeModeY, emReflect);
        const TDXSprite& level = OneGull(f, TZNGull{100, 60, 0, 40, 0, 80, 80});
        EXPECT_EQ(level.DY, 0);
        EXPECT_EQ(level.EdgeModeY, emNone);
        // Out on the right, in again on the left.
        TDXSprite& wrap = OneGull(f, TZNGull{640, 100, 1000, 0, 0, 0, 0});
        f.FrameTime = 0.001;
        f.UpdateGulls();
        EXPECT_DOUBLE_EQ(wrap.X, -63);
    }));
}

TEST_F(PlayTest, BombsFallWithinTheLimitAndShieldsTakeTheirHits) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        OneGull(f, TZNGull{300, 100, 0, 0, 0, 0, 0});
        f.PlayStarted = true;
        f.BombLimit = 1;
        f.BombDelay = 0;
        f.UpdateGulls();
        ASSERT_EQ(f.BombList.size(), 1u);
        EXPECT_EQ(f.BombList[0].X, 300);
        EXPECT_EQ(f.BombList[0].DY, 400);
        f.BombDelay = 0;
        f.UpdateGulls();
        EXPECT_EQ(f.BombList.size(), 1u) << "one bomb at a time";
        f.BombList.clear();
        f.BombLimit = 0;
        f.UpdateGulls();
        EXPECT_TRUE(f.BombList.empty());
        // A gull above the top of the screen: its bomb falls in and out at the bottom.
        f.GullList[0].X = 20;  // away from the paddle
        f.GullList[0].Y = -60;
        f.AddBomb(0);
        f.FrameTime = 1.0 / 30;
        for (int i = 0; i < 60 && !f.BombList.empty(); ++i) {
            f.UpdateBombs();
        }
        EXPECT_TRUE(f.BombList.empty()) << "stuck at the top";
        f.GullList[0].Y = 100;
        f.FrameTime = 0.001;
        f.PlayStarted = false;
        f.BombLimit = 5;
        f.UpdateGulls();
        EXPECT_TRUE(f.BombList.empty()) << "no bombs before the first click";

        // A bomb on the paddle with two shields: one shield and a burst, the paddle lives on.
        f.PaddleSprite.X = 288;
        f.Umbrellas = 2;
        const auto bombOnPaddle = [&] {
            f.BombList.clear();
            f.GullList[0].X = f.PaddleSprite.X;
            f.GullList[0].Y = 420;
            f.AddBomb(0);
            f.UpdateBombs();
        };
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
        // Without a shield the paddle explodes.
        bombOnPaddle();
        EXPECT_EQ(f.GameState, gsLosingLife);
        EXPECT_EQ(f.PaddleSprite.Kind, PaddleExploding);
        EXPECT_EQ(f.Animations, 2);
    }));
}

TEST_F(PlayTest, AFallingGullStrikesThePaddleOrLeavesTheScreen) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        f.PaddleSprite.X = 288;
        TDXSprite& gull = OneGull(f, TZNGull{288, 420, 0, 0, 0, 0, 0});
        gull.Kind = GullFalling;
        f.GullsFalling = 1;
        f.CheatMode = true;
        f.UpdateGulls();
        EXPECT_EQ(gull.Kind, GullFalling) << "the hidden mode lets it pass";
        f.CheatMode = false;
        gull.Y = 420;
        f.UpdateGulls();
        EXPECT_EQ(gull.Kind, GullDead);
        EXPECT_EQ(f.GullsLeft, 0);
        EXPECT_EQ(f.GullsFalling, 0);
        EXPECT_EQ(f.GameState, gsLosingLife);

        // Out through a side: dead, without an explosion and without a strike.
        f.GameState = gsPlaying;
        f.PaddleSprite.Kind = PaddleAlive;
        f.Animations = 0;
        TDXSprite& side = OneGull(f, TZNGull{639, 200, 500, 0, 0, 0, 0});
        side.Kind = GullFalling;
        f.GullsFalling = 1;
        f.FrameTime = 0.01;
        f.UpdateGulls();
        EXPECT_EQ(side.Kind, GullDead);
        EXPECT_EQ(f.Animations, 0);
        EXPECT_EQ(f.GameState, gsPlaying);
    }));
}

TEST_F(PlayTest, EggsDriftFallAndGrantTheirPowers) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        // Against the gull's flight, off the left wall.
        OneGull(f, TZNGull{10, 100, 120, 0, 0, 0, 0});
        f.EggsLeft = 2;
        f.AddEgg(0);
        EXPECT_EQ(f.EggsLeft, 1);
        TDXSprite& egg = f.EggList.back();
        EXPECT_EQ(egg.DX, -60);
        EXPECT_EQ(egg.DY, -25);
        EXPECT_EQ(egg.FirstFrame, egg.Kind * 13);
        f.FrameTime = 0.2;
        f.UpdateEggs();
        EXPECT_GT(f.EggList.back().DX, 0) << "bounced off the left wall";
        EXPECT_GE(f.EggList.back().X, 0);
        OneGull(f, TZNGull{300, 100, 0, 0, 0, 0, 0});
        f.AddEgg(0);
        EXPECT_EQ(f.EggList.back().DX, 0) << "a hovering gull's egg falls straight";

        // The table: the extra paddle and the shotgun half as often as the rest.
        std::map<std::int32_t, int> drawn;
        for (int i = 0; i < 14000; ++i) {
            f.EggList.clear();
            f.AddEgg(0);
            ++drawn[f.EggList.back().Kind];
        }
        ASSERT_EQ(drawn.size(), 8u);
        for (const auto& [power, count] : drawn) {
            const int expected = power == pwExtraPaddle || power == pwShotgun ? 1000 : 2000;
            EXPECT_NEAR(count, expected, expected / 10) << "power " << power;
        }

        // Caught on the paddle: 50 points and the power; while it explodes: missed.
        const auto catchEgg = [&](std::int32_t power) {
            f.EggList.clear();
            f.AddEgg(0);
            TDXSprite& e = f.EggList.back();
            e.Kind = power;
            e.X = f.PaddleSprite.X + 16;
            e.Y = 440;
            f.FrameTime = 0.001;
            f.UpdateEggs();
        };
        f.PaddleSprite.X = 288;
        const int score = f.Score;
        const int lives = f.Lives;
        catchEgg(pwExtraPaddle);
        EXPECT_TRUE(f.EggList.empty());
        EXPECT_EQ(f.Score, score + 50);
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
        EXPECT_EQ(f.Score, score + 9 * 50);
        f.PaddleSprite.Kind = PaddleExploding;
        catchEgg(pwUmbrella);
        EXPECT_EQ(f.EggList.size(), 1u);
        EXPECT_EQ(f.Umbrellas, 2);
    }));
}

}  // namespace
