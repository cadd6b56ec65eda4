// The Bazzle's visits and strikes, the shotgun's pairs of shots and the cannon that finishes a
// stalled level, on the field of a running game; and where the frame draws them.
#include "play_fixture.h"
#include "playfield/spritekinds.h"

namespace {

// Steps the Bazzle at 60 frames a second until it leaves; returns the seconds it flew.
double FlyBazzle(TKestovForm& f) {
    f.FrameTime = 1.0 / 60;
    double seconds = 0;
    while (f.BazzleSprite.Kind == BazzlePresent && seconds < 30) {
        f.UpdateBazzle();
        seconds += f.FrameTime;
    }
    return seconds;
}

// A Bazzle visit that begins at once.
void Arrive(TKestovForm& f) {
    f.PlayStarted = true;
    f.BazzlesLeft = 1;
    f.BazzleTimer = 0;
    f.BazzleDelay = 0;
    f.FrameTime = 0.001;
    f.UpdateBazzle();
    ASSERT_EQ(f.BazzleSprite.Kind, BazzlePresent);
}

// Both shots of a pair fired from the paddle at the given place.
void Fire(TKestovForm& f, double paddleX) {
    f.PaddleSprite.X = paddleX;
    f.FireRequest = true;
    f.UpdateShots();
    f.FireRequest = false;
}

TEST_F(PlayTest, TheBazzleVisitsDoublingTheBombsAndIsDrivenAway) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        // From the right it crosses in about seven seconds, between the heights 24 and 240.
        f.BombLimit = 3;
        Arrive(f);
        EXPECT_EQ(f.BombLimit, 6);
        EXPECT_EQ(f.BazzlesLeft, 0);
        f.BazzleSprite.X = 640;
        f.BazzleSprite.DX = -100;
        const double seconds = FlyBazzle(f);
        EXPECT_NEAR(seconds, 7.04, 0.05);
        EXPECT_EQ(f.BombLimit, 3) << "halved as it leaves";

        // Struck by one shot of a pair over it: 100 points, away, and the other shot flies on.
        Arrive(f);
        Fire(f, f.BazzleSprite.X + 23);
        f.ShotSprites[0].Y = f.ShotSprites[1].Y = f.BazzleSprite.Y;
        f.ShotSprites[1].X = f.ShotSprites[0].X;
        const int score = f.Score;
        f.UpdateBazzle();
        EXPECT_EQ(f.BazzleSprite.Kind, BazzleAbsent);
        EXPECT_EQ(f.Score, score + 100);
        EXPECT_EQ(f.ShotSprites[0].Kind, ShotIdle);
        EXPECT_EQ(f.ShotSprites[1].Kind, ShotFlying);
        EXPECT_EQ(f.BombLimit, 3) << "halved by the strike";
        EXPECT_EQ(f.HitTimer, 0);

        // From no bombs at all, a strike still leaves one.
        f.BombLimit = 0;
        Arrive(f);
        EXPECT_EQ(f.BombLimit, 0);
        f.StrikeBazzle();
        EXPECT_EQ(f.BombLimit, 1);
        // A ball that meets it strikes it too, and bounces off.
        Arrive(f);
        f.BallList.clear();
        f.AddBall(static_cast<int>(f.BazzleSprite.X) + 11, static_cast<int>(f.BazzleSprite.Y) + 30,
                  250, 0, -1, 0, BallFree);
        f.UpdateBalls();
        EXPECT_EQ(f.BazzleSprite.Kind, BazzleAbsent);
        EXPECT_GT(f.BallList[0].DY, 0);
        EXPECT_EQ(f.Score, score + 300);
    }));
}

TEST_F(PlayTest, NoBazzleBeforeTheClickBesideTheCannonOrPastTheLevelsVisits) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        const auto comes = [&] {
            f.BazzleTimer = 0;
            f.BazzleDelay = 0;
            f.FrameTime = 0.1;
            f.UpdateBazzle();
            return f.BazzleSprite.Kind == BazzlePresent;
        };
        f.BazzlesLeft = 2;
        f.PlayStarted = false;
        EXPECT_FALSE(comes());
        f.PlayStarted = true;
        f.CannonSprite.Kind = CannonPresent;
        EXPECT_FALSE(comes());
        f.CannonSprite.Kind = CannonAbsent;
        f.BazzlesLeft = 0;
        EXPECT_FALSE(comes());
        f.BazzlesLeft = 1;
        EXPECT_TRUE(comes());
        // Not moved in the frame it arrives in.
        EXPECT_TRUE(f.BazzleSprite.X == -63 || f.BazzleSprite.X == 640);
        EXPECT_GE(f.BazzleSprite.Y, 24);
        EXPECT_LT(f.BazzleSprite.Y, 240);
        EXPECT_LT(f.BazzleDelay, 10) << "each arrival pushes the next by 0 to 9 seconds";
    }));
}

TEST_F(PlayTest, HoldingTheButtonFiresPairAfterPair) {
    WriteLevels("shots.znl", {"0,0,3\nGull=20,40,0,0,0,0,0"});
    int pairs = 0;
    int idleBefore = 0;
    onPass = [&] {
        if (!form) {
            return;
        }
        const bool idle = Form().ShotSprites[0].Kind == ShotIdle;
        if (idleBefore == 1 && !idle) {
            ++pairs;
        }
        idleBefore = idle ? 1 : 0;
    };
    ASSERT_TRUE(Play({
        [&] {
            Form().ShotgunPower = true;
            harness.Press();
        },
        WaitUntil([&] { return pairs >= 3; }),
        [&] {
            // Each pair flies from the barrels at 800 pixels a second.
            const TDXSprite& left = Form().ShotSprites[0];
            const TDXSprite& right = Form().ShotSprites[1];
            EXPECT_EQ(left.DY, -800);
            EXPECT_EQ(right.X - left.X, 46);
            harness.Release();
        },
        WaitUntil([&] { return Form().ShotSprites[0].Kind == ShotIdle; }),
        WaitFrames(60),
        [&] {
            EXPECT_EQ(pairs, 3) << "released, it stops";
            EXPECT_EQ(Form().ShotSprites[0].Kind, ShotIdle);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(PlayTest, AShotStrikesOneGullAndPassesBombsAndEggs) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        f.GullList.clear();
        f.AddGull(TZNGull{300, 200, 0, 0, 0, 0, 0});
        f.AddGull(TZNGull{300, 200, 0, 0, 0, 0, 0});
        f.AddGull(TZNGull{100, 200, 0, 0, 1, 0, 0});
        f.GullsLeft = 3;
        f.EggsLeft = 0;
        Fire(f, 300 + 23);
        f.ShotSprites[0].Y = 200;
        f.ShotSprites[1].X = 100;
        f.ShotSprites[1].Y = 200;
        f.HitTimer = 10;
        f.UpdateGulls();
        EXPECT_EQ(f.GullList[0].Kind, GullExploding);
        EXPECT_EQ(f.GullList[1].Kind, GullFlying) << "one gull for one shot";
        EXPECT_EQ(f.GullList[2].Kind, BAGullFlying) << "an AGull shot is only turned";
        EXPECT_EQ(f.Score, 50);
        EXPECT_EQ(f.GullsLeft, 2);
        EXPECT_EQ(f.Animations, 1);
        EXPECT_EQ(f.HitTimer, 0);
        EXPECT_EQ(f.ShotSprites[0].Kind, ShotIdle);
        EXPECT_EQ(f.ShotSprites[1].Kind, ShotIdle);

        // Through a bomb and an egg it flies on.
        f.BombList.clear();
        f.AddBomb(1);
        f.EggsLeft = 1;
        f.AddEgg(1);
        f.GullList[1].Kind = GullDead;
        Fire(f, 300 + 23);
        f.ShotSprites[0].Y = 200;
        f.UpdateGulls();
        f.UpdateBombs();
        f.UpdateEggs();
        EXPECT_EQ(f.ShotSprites[0].Kind, ShotFlying);
        EXPECT_EQ(f.BombList.size(), 1u);
        EXPECT_EQ(f.EggList.size(), 1u);
    }));
}

// The last gull of a level where nothing has struck anything for a while.
void Stall(TKestovForm& f, const TZNGull& last) {
    f.GullList.clear();
    f.AddGull(last);
    f.GullsLeft = 1;
    f.HitTimer = 20;
    f.FrameTime = 1.0 / 60;
}

// Runs the gull and cannon updaters for the given seconds, as a frame runs them.
void RunFor(TKestovForm& f, double seconds) {
    for (double t = 0; t < seconds; t += f.FrameTime) {
        f.HitTimer += f.FrameTime;
        f.UpdateGulls();
        f.UpdateCannon();
    }
}

TEST_F(PlayTest, TheCannonFinishesALevelStalledOnItsLastGull) {
    ASSERT_TRUE(OnField([](TKestovForm& f) {
        Stall(f, TZNGull{100, 200, 90, 0, 0, 0, 0});
        f.UpdateCannon();
        EXPECT_EQ(f.CannonSprite.Kind, CannonPresent);
        RunFor(f, 2.5);
        EXPECT_EQ(f.CannonSprite.X, 0) << "rolled in at 30 pixels a second";
        EXPECT_EQ(f.CannonSprite.DX, 0);
        // At 25 seconds it waits for the gull to fly into its window, then fires.
        const int score = f.Score;
        while (f.GullList[0].Kind == GullFlying && f.HitTimer < 40) {
            RunFor(f, f.FrameTime);
        }
        EXPECT_EQ(f.GullList[0].Kind, GullExploding);
        EXPECT_GE(f.GullList[0].X, 544);
        EXPECT_LE(f.GullList[0].X, 608 + 2);
        EXPECT_GE(f.HitTimer, 25);
        EXPECT_EQ(f.Score, score) << "the cannon's shot scores nothing";
        EXPECT_TRUE(f.EggList.empty());
        EXPECT_EQ(f.GullsLeft, 0);
        EXPECT_LT(f.CannonSprite.DX, 0);
        RunFor(f, 1);
        EXPECT_EQ(f.CannonSprite.X, -64) << "rolled out, off the screen";
        EXPECT_EQ(f.CannonSprite.Kind, CannonPresent) << "until the next life";

        // A hovering last gull is set flying into the window.
        f.CannonSprite.Kind = CannonAbsent;
        f.CannonSprite.X = -64;
        Stall(f, TZNGull{100, 200, 0, 0, 0, 0, 0});
        RunFor(f, 5.1);
        EXPECT_EQ(f.GullList[0].DX, 150);

        // A last gull still falling is counted out of the falling ones when it is shot.
        f.CannonSprite.DX = 0;
        f.HitTimer = 25;
        f.GullList[0].Kind = GullFalling;
        f.GullList[0].X = 560;
        f.GullList[0].AY = 0;
        f.GullList[0].DY = 0;
        f.GullsFalling = 1;
        f.UpdateCannon();
        EXPECT_EQ(f.GullList[0].Kind, GullExploding);
        EXPECT_EQ(f.GullsFalling, 0);

        // A strike resets the timer; a cannon already out stays.
        f.HitTimer = 10;
        f.UpdateCannon();
        EXPECT_EQ(f.CannonSprite.Kind, CannonPresent);
    }));
}

TEST_F(PlayTest, TheSkyIsDrawnUnderTheStatusLine) {
    WriteLevels("sky.znl", {"0,0,3\nGull=20,300,0,0,0,0,0"});
    ASSERT_TRUE(Play({
        [&] { harness.Char('p'); },
        [&] {
            TKestovForm& f = Form();
            f.BazzleSprite.Kind = BazzlePresent;
            f.BazzleSprite.Frame = 1;
            f.BazzleSprite.X = 0;
            f.BazzleSprite.Y = 0;
            f.ShotgunPower = true;
            f.ShotSprites[0].Kind = f.ShotSprites[1].Kind = ShotFlying;
            f.ShotSprites[0].X = 100;
            f.ShotSprites[1].X = 146;
            f.ShotSprites[0].Y = f.ShotSprites[1].Y = 100;
            f.CannonSprite.Kind = CannonPresent;
            f.CannonSprite.X = 0;
            f.PaddleSprite.X = 300;
        },
        WaitFrames(2),
        [&] {
            TKestovForm& f = Form();
            EXPECT_GT(Shows(Shown(), *f.Digits, 0, 4, 4), 0.99) << "the score over the Bazzle";
            EXPECT_GT(Shows(Shown(), *f.MiscSheet, 1, 0, 0), 0.5) << "the Bazzle under it";
            EXPECT_GT(Shows(Shown(), *f.PaddleSheet, 4, 100, 100), 0.99);
            EXPECT_GT(Shows(Shown(), *f.PaddleSheet, 4, 146, 100), 0.99);
            EXPECT_GT(Shows(Shown(), *f.MiscSheet, 6, 0, 416), 0.99) << "the cannon";
            EXPECT_GT(Shows(Shown(), *f.PaddleSheet, 3, 300, 438), 0.8)
                << "the barrels, partly behind";
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

}  // namespace
