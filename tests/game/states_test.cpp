// The state table: every key and click by state, pausing, the hidden word and name entry.
#include "playfield/spritekinds.h"
#include "support/game_fixture.h"

namespace {

// Each key on the title leads to its screen, where other keys do nothing, and Space or a click
// leads back.
TEST_F(GameTest, TheTitleLeadsToEveryScreenAndBack) {
    struct Visit {
        char key;
        TGameState screen;
        bool clickBack;
    };
    const Visit visits[] = {{'h', gsHallOfFame, false}, {'H', gsHallOfFame, true},
                            {'s', gsScoring, false},    {'S', gsScoring, true},
                            {'a', gsAbout, false},      {'A', gsAbout, true}};
    std::vector<Step> steps;
    for (const Visit& visit : visits) {
        steps.push_back([&, visit] {
            EXPECT_EQ(Form().GameState, gsTitle);
            harness.Char(visit.key);
        });
        steps.push_back([&, visit] {
            EXPECT_EQ(Form().GameState, visit.screen) << visit.key;
            harness.Char('x');  // other keys do nothing there
        });
        steps.push_back([&, visit] {
            EXPECT_EQ(Form().GameState, visit.screen) << visit.key;
            if (visit.clickBack) {
                harness.Click();
            } else {
                harness.Char(' ');
            }
        });
    }
    steps.push_back([&] {
        EXPECT_EQ(Form().GameState, gsTitle);
        harness.Char('z');
        harness.Key(VK_DOWN);
    });
    steps.push_back([&] {
        EXPECT_EQ(Form().GameState, gsTitle);
        harness.Char(27);
    });
    ASSERT_TRUE(Run(steps));
}

TEST_F(GameTest, TheSelectionMovesWithinItsListAndEnterStartsTheGame) {
    AddLevelFiles({"one.znk", "two.znl", "three.znk"});
    ASSERT_TRUE(Run({
        [&] { harness.Click(); },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(Form().PackIndex, 0);
            harness.Key(VK_UP);
            harness.Char(' ');  // a click chooses, Space does nothing here
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(Form().PackIndex, 0);
            harness.Key(VK_DOWN);
            harness.Key(VK_DOWN);
            harness.Key(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 2);
            harness.Key(VK_UP);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 1);
            harness.Char(13);
        },
        WaitForPlay(),
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            EXPECT_EQ(Form().PackIndex, 1);
            harness.Char(27);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            harness.Char(27);
        },
    }));
}

TEST_F(GameTest, WithOneLevelFileTheGameStartsAtOnce) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            EXPECT_EQ(Form().Lives, 3);
            EXPECT_EQ(Form().HofRank, 24);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(GameTest, PausingByKeyAndByFocusLoss) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] { harness.Char('p'); },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            harness.Char('P');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            harness.Char('P');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            harness.Char('p');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            harness.Focus(false);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            EXPECT_FALSE(Form().AppActive);
            harness.Focus(true);
        },
        [&] {
            EXPECT_TRUE(Form().AppActive);
            EXPECT_EQ(Form().GameState, gsPaused);  // back, but still paused
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(GameTest, TheHiddenWordWorksOnlyWhenTypedWholeWhilePaused) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] {
            harness.Type("quillosent");  // while playing: nothing
            harness.Char('p');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            EXPECT_FALSE(Form().CheatMode);
            harness.Type("QUILLOSENT");  // upper case: nothing
        },
        [&] {
            EXPECT_FALSE(Form().CheatMode);
            EXPECT_EQ(Form().CheatCount, 0);
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

TEST_F(GameTest, ClicksInPlayReleaseTheBallAndFireTheShotgun) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] {
            Form().PaddleMinX = 100;
            Form().PaddleMaxX = 200;
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
            harness.Char(' ');  // Space acts as a click in play
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
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(GameTest, AfterGameOverAClickOrEnterOffersNameEntryOnlyToAQualifyingScore) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        WaitForPlay(),
        [&] { Form().GameState = gsGameOver; },
        [&] {
            EXPECT_EQ(Form().GameOverPrompt(), "") << "no place reached, no name asked for";
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);  // no place reached
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
}

TEST_F(GameTest, NameEntryTypesEditsAndStoresTheName) {
    ASSERT_TRUE(Run({
        [&] {
            Form().Score = 4700;
            Form().HofRank = 0;
            Form().GameState = gsNameEntry;
        },
        [&] {
            harness.Char(8);  // nothing to delete yet
            harness.Type("Bo b");
            harness.Char(8);
            harness.Type("by\n\t");  // control characters are not taken
        },
        [&] {
            EXPECT_EQ(Form().PlayerName, "Bo by");
            harness.Type(std::string(300, 'z'));
        },
        [&] {
            EXPECT_EQ(Form().PlayerName.size(), 255u);
            harness.Char(13);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_EQ(Form().HallOfFame[0].Score, 4700);
            EXPECT_EQ(Form().HallOfFame[0].Name, "Bo by" + std::string(250, 'z'));
            EXPECT_EQ(Form().HallOfFame[1].Score, 4800);
            EXPECT_TRUE(Form().HofChanged);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(GameTest, EscOnNameEntryStoresNothing) {
    ASSERT_TRUE(Run({
        [&] {
            Form().Score = 5000;
            Form().HofRank = 0;
            Form().GameState = gsNameEntry;
        },
        [&] { harness.Type("Eve"); },
        [&] { harness.Char(27); },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            harness.Char(27);
        },
    }));
    EXPECT_EQ(Form().HallOfFame[0].Name, "Nobody yet!");
    EXPECT_FALSE(Form().HofChanged);
    form.reset();
    EXPECT_FALSE(folder.Holds("znscore.hof"));
}

TEST_F(GameTest, TheScreenSaverIsRefused) {
    ASSERT_TRUE(Run({
        [&] {
            for (WPARAM request : {SC_SCREENSAVE, SC_MONITORPOWER}) {
                TMessage message{WM_SYSCOMMAND, request, 0, 0};
                Form().WndProc(message);
                EXPECT_EQ(message.Result, 1);
            }
            TMessage other{WM_SYSCOMMAND, 0xF020, 0, 0};
            Form().WndProc(other);
            EXPECT_EQ(other.Result, 0);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

}  // namespace
