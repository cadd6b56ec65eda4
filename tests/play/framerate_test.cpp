// Play at the refresh rates of today's displays, 240, 144, 60 and 30 frames a second: the
// fastest ball caught by the paddle at every one, even across a stall of the system.
#include "playfield/spritekinds.h"
#include "support/play_fixture.h"

namespace {

class FrameRateTest : public PlayTest, public ::testing::WithParamInterface<double> {};

TEST_P(FrameRateTest, TheFastestBallNeverPassesThroughThePaddle) {
    harness.SetFrameInterval(GetParam());
    WriteLevels("rate.znl", {"0,0,0\nGull=0,60,90,0,0,0,0"});
    bool ready = false;    // play has begun
    bool falling = false;  // the ball is on its way down
    bool stalled = false;
    double lowest = 0;
    int previous = -1;
    onPass = [&] {
        if (!form || Form().GameState != gsPlaying) {
            return;
        }
        TKestovForm& f = Form();
        const int step = f.FrameStep;
        if (!falling && ready && step == 0) {
            // Set between two frames, straight down at the top speed.
            falling = true;
            f.BallList.clear();
            f.AddBall(static_cast<int>(f.PaddleSprite.X) + 11, 200, 750.0, 0.0, 1.0, 0, BallFree);
        } else if (falling && previous == 6 && step == 0) {
            lowest = std::max(lowest, f.BallList[0].Y);
            // On its way down the system stalls for a fifth of a second.
            if (!stalled && f.BallList[0].Y > 300) {
                harness.AdvanceClock(200);
                stalled = true;
            }
        }
        previous = step;
    };
    ASSERT_TRUE(Play({
        [&] { ready = true; },
        WaitUntil([&] {
            return falling && (Form().BallList[0].DY < 0 || Form().GameState != gsPlaying);
        }),
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying) << "the ball went through";
            EXPECT_TRUE(stalled);
            EXPECT_LT(lowest, 438);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

INSTANTIATE_TEST_SUITE_P(Displays, FrameRateTest, ::testing::Values(4.17, 6.94, 16.7, 33.3),
                         [](const ::testing::TestParamInfo<double>& info) {
                             return std::to_string(static_cast<int>(1000 / info.param + 0.5)) +
                                    "Hz";
                         });

}  // namespace
