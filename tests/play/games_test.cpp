// Whole games played by the test bot: levels cleared, lives lost, the game over and what
// follows it, and the levels past the last one.
#include <cstring>

#include "playfield/spritekinds.h"
#include "support/play_fixture.h"

namespace {

// True when the screen's top row is a lower row of the picture and its bottom row is not the
// picture's: the picture is part way through sliding in.
bool SlidingIn(IDirectDrawSurface3* screen, IDirectDrawSurface3* picture) {
    DDSURFACEDESC shown;
    DDSURFACEDESC source;
    screen->Lock(nullptr, &shown, 0, nullptr);
    picture->Lock(nullptr, &source, 0, nullptr);
    const auto row = [](const DDSURFACEDESC& desc, int y) {
        return static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch;
    };
    bool topFromPicture = false;
    for (int y = 100; y < 470 && !topFromPicture; ++y) {
        topFromPicture = std::memcmp(row(shown, 0), row(source, y), 640 * 2) == 0;
    }
    const bool bottomDone = std::memcmp(row(shown, 479), row(source, 479), 640 * 2) == 0;
    picture->Unlock(nullptr);
    screen->Unlock(nullptr);
    return topFromPicture && !bottomDone;
}

TEST_F(PlayTest, TheBotClearsTheFirstTwoLevelsAndEveryPointIsAccountedFor) {
    CopyShipped("GullCoast.znk");
    harness.SetWallClock(20261206);
    PlayBot& player = StartBot(7);
    bool secondPictureSlid = false;
    onPass = [&, botTurn = onPass] {
        botTurn();
        if (form && Form().LevelNumber == 2 && !secondPictureSlid) {
            secondPictureSlid = SlidingIn(Form().Primary, Form().Background->Surface);
        }
    };
    passesAfterSteps = 400'000;
    ASSERT_TRUE(Play({
        WaitUntil([&] { return Form().LevelNumber == 3; }),
        WaitForPlay(),
        [&] {
            EXPECT_EQ(player.tally.levelsStarted, 2);
            EXPECT_GE(player.tally.strikes, 10);  // four gulls, then six
            EXPECT_EQ(Form().Score, player.tally.Points())
                << player.tally.strikes << " strikes, " << player.tally.eggsCaught << " eggs, "
                << player.tally.bazzleStrikes << " Bazzles";
            EXPECT_TRUE(secondPictureSlid);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

// A game on levels made for it: many eggs and Bazzles on the first, one gull out of the balls'
// reach on the second, for the cannon; the bot holds the button down while it has the shotgun.
TEST_F(PlayTest, TheBotReachesEveryPowerTheBazzleAndTheCannon) {
    WriteLevels("sky.znl", {"1,5,40\n"
                            "Gull=0,60,-80,0,0,0,0\nGull=160,60,-80,0,1,0,0\n"
                            "Gull=320,60,-80,0,0,0,0\nGull=480,60,-80,0,0,0,0\n"
                            "Gull=40,130,70,0,0,0,0\nGull=240,130,70,0,1,0,0\n"
                            "Gull=440,130,70,0,0,0,0\nGull=100,200,-60,30,0,180,260\n"
                            "Gull=300,200,-60,-30,0,180,260\nGull=500,200,-60,30,0,180,260",
                            "0,0,0\nGull=0,-60,90,0,0,0,0"});
    harness.SetWallClock(4242);
    PlayBot& player = StartBot(11);
    player.shooting = true;
    passesAfterSteps = 3'000'000;
    const PlayBot::Tally& seen = player.tally;
    ASSERT_TRUE(Play({
        WaitUntil([&] {
            return (seen.powersCaught.size() == 8 && seen.bazzleStrikesByBall > 0 &&
                    seen.bazzleStrikes > seen.bazzleStrikesByBall && seen.cannonShots > 0) ||
                   Form().GameState == gsGameOver;
        }),
        [&] {
            EXPECT_EQ(seen.powersCaught.size(), 8u);
            EXPECT_GT(seen.bazzleStrikesByBall, 0);
            EXPECT_GT(seen.bazzleStrikes, seen.bazzleStrikesByBall) << "none by a shot";
            EXPECT_GT(seen.cannonShots, 0);
            EXPECT_GE(seen.levelsStarted, 2) << "the cannon's level finished";
            EXPECT_EQ(Form().Score, seen.Points())
                << seen.strikes << " strikes, " << seen.eggsCaught << " eggs, "
                << seen.bazzleStrikes << " Bazzles";
            harness.Char(27);
        },
        WaitUntil([&] { return Form().GameState == gsAbout; }),
        [&] { harness.Char(27); },
    }));
}

// A game where the mouse never moves: the paddle stays where it began, three lives go, the
// game-over picture shows, and a click leads on by the place the score reached.
class StillMouseTest : public PlayTest, public ::testing::WithParamInterface<int> {};

TEST_P(StillMouseTest, ThreeLivesAreLostAndTheGameEndsOnItsPicture) {
    CopyShipped("GullCoast.znk");
    // Every place of this table is beaten by any score at all, or by none.
    const int placeScore = GetParam();
    std::string table;
    for (int i = 0; i < 24; ++i) {
        table += std::to_string(placeScore) + " Keeper\r\n";
    }
    folder.Write("znscore.hof", table);
    harness.SetWallClock(777);
    PlayBot& player = StartBot(1);
    player.steering = false;
    passesAfterSteps = 400'000;
    TGameState expected = gsTitle;
    ASSERT_TRUE(Play({
        WaitUntil([&] { return Form().GameState == gsGameOver; }),
        [&] {
            EXPECT_EQ(Form().Lives, 0);
            EXPECT_EQ(player.tally.livesLost, 3);
            EXPECT_EQ(Form().PaddleSprite.X, 320) << "the paddle never moved from the cursor";
            EXPECT_EQ(Form().Score, player.tally.Points());
            EXPECT_GT(Shows(Shown(), *Form().ZnText, 2, 152, 220), 0.99);
            expected = Form().HofRank < 24 ? gsNameEntry : gsHallOfFame;
            EXPECT_EQ(expected, placeScore == 0 ? gsNameEntry : gsHallOfFame)
                << "score " << Form().Score;
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, expected);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

INSTANTIATE_TEST_SUITE_P(PlacesToReach, StillMouseTest, ::testing::Values(0, 99999));

}  // namespace
