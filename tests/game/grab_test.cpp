// The mouse in a window, held by the game only while a game is being played. The focus and full
// screen are the display's to check.
#include "support/game_fixture.h"

namespace {

TEST_F(GameTest, InAWindowTheMouseIsHeldOnlyInPlay) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.PressKey("Return", true); },
        [&] {
            ASSERT_FALSE(harness.Fullscreen());
            EXPECT_EQ(Form().GameState, gsTitle);
            EXPECT_FALSE(harness.MouseGrabbed());
            harness.Char(' ');
        },
        WaitForPlay(),
        [&] {
            EXPECT_TRUE(harness.MouseGrabbed());
            harness.Char('P');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            EXPECT_FALSE(harness.MouseGrabbed());
            harness.Char('p');
        },
        [&] {
            EXPECT_TRUE(harness.MouseGrabbed());
            Form().GameState = gsLosingLife;
        },
        [&] {
            EXPECT_TRUE(harness.MouseGrabbed());
            Form().GameState = gsGameOver;
        },
        [&] {
            EXPECT_FALSE(harness.MouseGrabbed());
            harness.Char(' ');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_FALSE(harness.MouseGrabbed());
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

}  // namespace
