// The mouse button in play, through the headless game: a click gives the paddle its whole range
// back and the button held down frees a glued ball; with the shotgun, holding it fires pair
// after pair of shots until it is released.
#include "playfield/spritekinds.h"
#include "support/play_fixture.h"

namespace {

TEST_F(PlayTest, AClickRestoresThePaddlesRangeAndTheButtonDownReleasesTheGlue) {
    WriteLevels("glue.znl", {"1,0,3\nGull=20,40,0,0,0,0,0"});
    ASSERT_TRUE(Play({
        [&] {
            TKestovForm& f = Form();
            f.FrameTime = 0.001;
            f.GluePower = true;
            f.PaddleSprite.X = 288;
            // Glued 10 pixels out on the left end of the paddle.
            f.MouseHeld = false;
            f.BallList.clear();
            f.AddBall(288 - 10, 415, 250, 0, 1, 0, BallFree);
            f.UpdateBalls();
            ASSERT_EQ(f.BallList.back().Kind, BallGlued);
            ASSERT_EQ(f.PaddleMinX, 10);
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
            harness.Char(27);
        },
        [&] { harness.Char(27); },
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

}  // namespace
