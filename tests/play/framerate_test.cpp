// Play at the refresh rates of today's displays: the same motion per second of game time at
// 240, 144, 60 and 30 frames a second, at game speed 100 % and 50 %, and the fastest ball caught
// by the paddle at every one, even across a stall of the system.
#include "playfield/spritekinds.h"
#include "support/play_fixture.h"

namespace {

class FrameRateTest : public PlayTest, public ::testing::WithParamInterface<double> {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        harness.SetFrameInterval(GetParam());
        // No bombs and no eggs of the level's own; one gull.
        WriteLevels("rate.znl", {"0,0,0\nGull=0,60,90,0,0,0,0"});
    }

    // Calls `setUp` between two frames once play runs, then `frame` after every frame with
    // the time the play field has moved on since the set-up.
    void Watch(std::function<void(TKestovForm&)> setUp,
               std::function<void(TKestovForm&, double)> frame) {
        onPass = [this, setUp, frame, started = false, gameTime = 0.0, previous = -1]() mutable {
            if (!form || Form().GameState != gsPlaying) {
                previous = -1;
                return;
            }
            const int step = Form().FrameStep;
            if (!started && ready && step == 0) {
                setUp(Form());
                started = true;
            } else if (started && previous == 6 && step == 0) {
                gameTime += Form().FrameTime;  // a frame has run all its updaters
                frame(Form(), gameTime);
            }
            previous = step;
        };
    }

    bool ready = false;  // play has begun
};

// At game speed 50 % the whole field runs at half speed: game time, and with it the motion of a
// gull, a ball and a bomb, goes at half the clock's pace.
TEST_P(FrameRateTest, GullBallAndBombMoveTheSameDistancePerSecond) {
    for (const int speed : {100, 50}) {
        UseSettings("game_speed = " + std::to_string(speed) + "\n");
        ready = false;
        passesAfterSteps = 10'000;  // at half speed a fast display shows many frames first
        bool measured = false;
        double gullX = 0;
        double ballX = 0;
        double bombY = 0;
        double seconds = 0;
        std::uint64_t clockAtStart = 0;
        std::uint64_t clockAtEnd = 0;
        Watch(
            [&](TKestovForm& f) {
                f.GullList[0].X = 0;
                f.BallList.clear();
                f.AddBall(10, 300, 300.0, 1.0, 0.0, 0, BallFree);
                f.AddBomb(0);
                f.BombList[0].X = 100;
                clockAtStart = harness.ClockMicros();
            },
            [&](TKestovForm& f, double gameTime) {
                if (!measured && gameTime >= 0.9) {
                    measured = true;
                    gullX = f.GullList[0].X;
                    ballX = f.BallList[0].X - 10;
                    bombY = f.BombList[0].Y - 60;
                    seconds = gameTime;
                    clockAtEnd = harness.ClockMicros();
                }
            });
        ASSERT_TRUE(Play({
            [&] { ready = true; },
            WaitUntil([&] { return measured; }),
            [&] { harness.Char(27); },
            [&] { harness.Char(27); },
        }));
        EXPECT_NEAR(gullX / seconds, 90, 0.9);
        EXPECT_NEAR(ballX / seconds, 300, 3);
        EXPECT_NEAR(bombY / seconds, 400, 4);
        // Game time keeps pace with the clock, at the game speed.
        EXPECT_NEAR(seconds, speed / 100.0 * (clockAtEnd - clockAtStart) / 1e6, 0.05 * seconds);
    }
}

TEST_P(FrameRateTest, TheFastestBallNeverPassesThroughThePaddle) {
    double lowest = 0;
    bool stalled = false;
    bool falling = false;
    Watch(
        [&](TKestovForm& f) {
            falling = true;
            f.BallList.clear();
            f.AddBall(static_cast<int>(f.PaddleSprite.X) + 11, 200, 750.0, 0.0, 1.0, 0, BallFree);
        },
        [&](TKestovForm& f, double) {
            const TDXSprite& ball = f.BallList[0];
            lowest = std::max(lowest, ball.Y);
            // On its way down the system stalls for a fifth of a second.
            if (!stalled && ball.Y > 300) {
                harness.AdvanceClock(200);
                stalled = true;
            }
        });
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
