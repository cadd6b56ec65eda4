// The state table: the keys and clicks of play and after the game, the hidden word, and the
// mouse held in a window only in play.
#include "playfield/spritekinds.h"
#include "support/game_fixture.h"

namespace {

// In play a click releases the ball, widens a glued ball's range again and holds the button;
// Space acts as a click and fires the shotgun, but not while a shot flies. The hidden word
// works only typed whole and in lower case while paused.
TEST_F(GameTest, ClicksInPlayReleaseTheBallAndFireAndTheHiddenWordWorksOnlyWhilePaused) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] {
            Form().PaddleMinX = 100;  // as a glued ball narrows it
            Form().PaddleMaxX = 200;
            harness.MoveMouse(-1000, 0);
        },
        WaitFrames(2),
        [&] {
            EXPECT_EQ(Form().PaddleSprite.X, 100) << "the paddle keeps to its range";
            harness.Press();
        },
        [&] {
            EXPECT_TRUE(Form().PlayStarted);
            EXPECT_TRUE(Form().MouseHeld);
            EXPECT_FALSE(Form().FireRequest);
            EXPECT_EQ(Form().PaddleMinX, 0);
            EXPECT_EQ(Form().PaddleMaxX, 576);
            harness.Release();
        },
        [&] {
            EXPECT_FALSE(Form().MouseHeld);
            Form().ShotgunPower = true;
            Form().ShotSprites[0].Kind = ShotIdle;
            Form().ShotSprites[1].Kind = ShotIdle;
            harness.Char(' ');
        },
        [&] {
            EXPECT_TRUE(Form().FireRequest);
            harness.Release(TMouseButton::mbRight);
        },
        [&] {
            EXPECT_FALSE(Form().FireRequest);
            Form().ShotSprites[1].Kind = 0;  // a shot still in flight
            harness.Press(TMouseButton::mbMiddle);
        },
        [&] {
            EXPECT_FALSE(Form().FireRequest);
            EXPECT_TRUE(Form().MouseHeld);
            harness.Type("quillosent");  // while playing: nothing
            harness.Char('p');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            EXPECT_FALSE(Form().CheatMode);
            harness.Type("QUILLOSENT");  // upper case: nothing
            harness.Type("quilqosent");  // a slip starts the word again
        },
        [&] {
            EXPECT_FALSE(Form().CheatMode);
            harness.Type("quil");
        },
        [&] {
            EXPECT_EQ(Form().CheatCount, 4);
            harness.Type("losent");
        },
        [&] {
            EXPECT_TRUE(Form().CheatMode);
            harness.Char('x');
        },
        [&] {
            EXPECT_EQ(Form().CheatCount, 0);
            harness.Char('p');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            EXPECT_TRUE(Form().CheatMode);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

// After the game over a click or Enter offers the name entry only to a score that reached a
// place, and Space skips it; Esc there stores nothing. In a window the mouse is held by the game
// only in play.
TEST_F(GameTest, AfterGameOverAClickOrEnterOffersNameEntryOnlyToAQualifyingScore) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.PressKey("Return", true); },
        [&] {
            ASSERT_FALSE(harness.Fullscreen());
            EXPECT_FALSE(harness.MouseGrabbed()) << "on the title";
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
        [&] { Form().GameState = gsLosingLife; },
        [&] {
            EXPECT_TRUE(harness.MouseGrabbed());
            Form().GameState = gsGameOver;
        },
        [&] {
            EXPECT_FALSE(harness.MouseGrabbed());
            EXPECT_EQ(Form().GameOverPrompt(), "") << "no place reached, no name asked for";
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);  // no place reached
            EXPECT_FALSE(harness.MouseGrabbed());
            harness.Char(' ');
        },
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] { Form().HofRank = 3; },
        [&] { Form().GameState = gsGameOver; },
        [&] { harness.Char(' '); },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);  // Space skips the name entry
            harness.Click();
        },
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] { Form().HofRank = 3; },
        [&] { Form().GameState = gsGameOver; },
        [&] { harness.Char(13); },
        [&] {
            EXPECT_EQ(Form().GameState, gsNameEntry);  // so does Enter
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
    EXPECT_EQ(Form().HallOfFame[3].Score, 4200) << "Esc in the name entry stores nothing";
    form.reset();
    EXPECT_FALSE(folder.Holds("znscore.hof"));
}

}  // namespace
