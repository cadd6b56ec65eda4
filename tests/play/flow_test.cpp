// The level flow and what a frame of play shows: levels past the last one, the shields at a
// level start, odd levels repeated, gulls far off the screen, the status line, the pause
// picture, the paddle's extras and the sky under the status line, lost surfaces, a mouse that
// fails, and the tune each level start picks.
#include <algorithm>
#include <map>

#include "playfield/spritekinds.h"
#include "support/play_fixture.h"
#include "support/random_draws.h"

namespace {

// Ends every gull of the level at once, as if the last one had just gone.
void ClearGulls(TKestovForm& f) {
    for (TDXSprite& gull : f.GullList) {
        gull.Kind = GullDead;
    }
    f.GullsLeft = 0;
    f.GullsFalling = 0;
}

// True while a level's picture slides in: the screen's top row is a lower row of the picture
// and its bottom row is not the picture's.
bool SlidingIn(const SurfacePixels& screen, const SurfacePixels& picture) {
    const auto row = [](const SurfacePixels& p, int y) { return p.pixels.begin() + y * 640; };
    bool top = false;
    for (int y = 100; y < 470 && !top; ++y) {
        top = std::equal(row(screen, 0), row(screen, 1), row(picture, y));
    }
    return top && !std::equal(row(screen, 479), row(screen, 480), row(picture, 479));
}

TEST_F(PlayTest, PastTheLastLevelTheFirstComesAgainWithRandomValues) {
    CopyShipped("GullCoast.znk");
    std::vector<std::uint16_t> firstPicture;
    bool slid = false;
    onPass = [&] {
        if (form && Form().LevelNumber == 25 && !slid) {
            slid = SlidingIn(SurfacePixels(Shown()), SurfacePixels(Background()));
        }
    };
    ASSERT_TRUE(Play({
        [&] {
            firstPicture = SurfacePixels(Background()).pixels;
            Form().LevelNumber = 24;
            Form().Umbrellas = 4;
            ClearGulls(Form());
        },
        WaitUntil([&] { return Form().LevelNumber == 25; }),
        WaitForPlay(),
        [&] {
            EXPECT_FALSE(Form().RandomLevel) << "the last level plays its own values";
            EXPECT_NE(SurfacePixels(Background()).pixels, firstPicture);
            EXPECT_TRUE(slid) << "the next level's picture slides in";
            EXPECT_EQ(Form().Umbrellas, 3) << "shields are cut to three at the next level";
            ClearGulls(Form());
        },
        WaitUntil([&] { return Form().LevelNumber == 26; }),
        WaitForPlay(),
        [&] {
            TKestovForm& f = Form();
            EXPECT_TRUE(f.RandomLevel);
            EXPECT_EQ(SurfacePixels(Background()).pixels, firstPicture);
            // The first level's four gulls, flying as it sets them out.
            ASSERT_EQ(f.GullList.size(), 4u);
            EXPECT_EQ(f.GullsLeft, 4);
            for (std::size_t i = 0; i < 4; ++i) {
                EXPECT_EQ(f.GullList[i].Y, 90);
                EXPECT_EQ(f.GullList[i].DX, -70);
            }
            EXPECT_NEAR(f.GullList[2].X - f.GullList[1].X, 176, 1e-9);
            EXPECT_NEAR(f.GullList[3].X - f.GullList[2].X, 176, 1e-9);
            // Its values at random: 3 eggs give 3 to 8, 1 bomb gives 1, 1 to 5 Bazzles.
            EXPECT_GE(f.EggsLeft, 3);
            EXPECT_LE(f.EggsLeft, 8);
            EXPECT_EQ(f.LevelBombLimit, 1);
            EXPECT_GE(f.BazzlesLeft, 1);
            EXPECT_LE(f.BazzlesLeft, 5);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

// A level of no eggs or bombs, or of fewer, repeated with random values: the least of them.
TEST_F(PlayTest, AnOddLevelRepeatsWithTheLeastRandomValues) {
    for (const std::string values : {"0,3,0", "-4,1,-7"}) {
        WriteLevels("odd.znl", {values + "\nGull=100,60,-90,0,0,0,0"});
        ASSERT_TRUE(Play({
            [&] { ClearGulls(Form()); },
            WaitUntil([&] { return Form().LevelNumber == 2; }),
            WaitForPlay(),
            [&] {
                EXPECT_TRUE(Form().RandomLevel);
                EXPECT_EQ(Form().EggsLeft, 3) << values;
                EXPECT_EQ(Form().LevelBombLimit, 1) << values;
                harness.CloseWindow();
            },
        }));
    }
}

TEST_F(PlayTest, GullsFarAboveTheScreenHoldNeitherALostLifeNorTheLevel) {
    // Gulls no ball can reach, whose bombs would take minutes to fall in: the first flies level
    // a hundred thousand pixels up, faster than any screen.
    WriteLevels("far.znl",
                {"1,3,3\nGull=99999,-99999,100000,5,7,300,100\nGull=-5000,-99999,-300,0,0,0,0"});
    StartBot(7);
    bool playing = false;  // the first ball is left to fall
    int lostLifeFrames = 0;
    bool farBombWhenLost = false;
    onPass = [&, botTurn = onPass] {
        if (playing) {
            botTurn();
        }
        if (form && Form().GameState == gsLosingLife && lostLifeFrames++ == 0) {
            const auto far = [](const TDXSprite& bomb) { return bomb.Y < -1000; };
            farBombWhenLost = std::any_of(Form().BombList.begin(), Form().BombList.end(), far);
        }
    };
    passesAfterSteps = 60000;  // the cannon comes after a stall of twenty seconds
    ASSERT_TRUE(Play({
        [&] { harness.Press(); },
        [&] {
            harness.Release();
            harness.MoveMouse(-640, 0);
        },
        WaitUntil([&] { return Form().GameState == gsPlaying && lostLifeFrames > 0; }),
        [&] {
            EXPECT_TRUE(farBombWhenLost);
            EXPECT_EQ(Form().Lives, 2);
            EXPECT_LT(lostLifeFrames, 300) << "five seconds at most";
            playing = true;
        },
        // No ball can strike them: the cannon comes and fires at each, and the level ends.
        WaitUntil([&] { return Form().LevelNumber == 2; }),
        WaitForPlay(),
        [&] {
            EXPECT_EQ(Form().Lives, 2);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

// After lost surfaces play goes on, and the status line shows score, place, lives and shields;
// paused, the picture shows over the field. A mouse that cannot be read ends the game.
TEST_F(PlayTest, LostSurfacesAreRestoredUnderTheStatusLineAndPlayGoesOn) {
    WriteLevels("lost.znl", {"1,0,3\nGull=20,200,90,0,0,0,0"});
    double x = 0;
    const auto shows = [&](int frame, int x) {
        return Shows(Shown(), *Form().Digits, frame, x, 4);
    };
    ASSERT_TRUE(Play({
        [&] {
            EXPECT_LT(shows(12, 52), 0.5) << "a score of 0 is one digit, with no place shown";
            Form().Score = 1234;
            Form().HofRank = 2;
            Form().Lives = 13;
            Form().Umbrellas = 2;
            x = Form().GullList[0].X;
            harness.LoseSurfaces();
        },
        WaitFrames(2),
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            EXPECT_GT(Form().GullList[0].X, x);
            EXPECT_GT(shows(4, 76), 0.99) << "the score's last digit";
            EXPECT_GT(shows(3, 148), 0.99) << "third place, after an empty cell";
            EXPECT_GT(shows(1, 588), 0.99) << "13 lives";
            EXPECT_GT(shows(2, 516), 0.99) << "the shields two cells left of the lives symbol";
            // Losing the focus in full screen pauses; the focus back shows the pause picture.
            harness.Focus(false);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            harness.Focus(true);
            TKestovForm& f = Form();
            f.GluePower = true;
            f.ShotgunPower = true;
            f.PaddleSprite.X = 300;
            f.BazzleSprite.Kind = BazzlePresent;
            f.BazzleSprite.Frame = 1;
            f.BazzleSprite.X = 0;
            f.BazzleSprite.Y = 0;
        },
        WaitFrames(2),
        [&] {
            TKestovForm& f = Form();
            EXPECT_EQ(f.GameState, gsPaused);
            EXPECT_GT(Shows(Shown(), *f.ZnText, 1, 152, 220), 0.99);
            // The sky under the status line; the paddle with its shield, glue and barrels.
            EXPECT_GT(shows(1, 4), 0.99) << "the score over the Bazzle";
            EXPECT_GT(Shows(Shown(), *f.MiscSheet, 1, 0, 0), 0.5) << "the Bazzle under it";
            EXPECT_GT(Shows(Shown(), *f.PaddleSheet, 3, 300, 438), 0.6)
                << "the barrels, partly behind";
            EXPECT_GT(Shows(Shown(), *f.PaddleSheet, 1, 300, 438), 0.99) << "the glue on top";
            EXPECT_GT(Shows(Shown(), *f.PaddleSheet, 2, 300, 408), 0.9) << "the umbrella above";
            harness.Char('P');
        },
        WaitFrames(2),
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            EXPECT_LT(Shows(Shown(), *Form().ZnText, 1, 152, 220), 0.5) << "the picture goes";
            harness.Fail(platform::Fault::CursorPosition);
        },
    }));
    // A mouse that cannot be read ends the game with its message.
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Mouse failed");
    EXPECT_TRUE(Form().CloseRequested());
}

TEST_F(PlayTest, EachLevelStartsTheTuneItsDrawPicks) {
    CopyShipped("calypso.mid");
    WriteLevels("tunes.znl", {"1,0,3\nGull=20,60,0,0,0,0,0"});
    // At each pass of a level start the draw is set to pick the tune after the last level's, and
    // only that one of the tunes' list is a file: any other pick leaves the game tune empty.
    std::map<int, bool> loaded;
    int preparedLevel = 0;
    onPass = [&] {
        if (!form) {
            return;
        }
        TKestovForm& f = Form();
        if (f.GameState == gsLevelStart) {
            preparedLevel = f.LevelNumber;
            const int pick = f.LevelNumber % 3;
            *f.MusicFiles = {"none.mid", "none.mid", "none.mid"};
            (*f.MusicFiles)[pick] = "calypso.mid";
            f.GameMusic = std::make_unique<TDXMidi>(f.Performance, f.Loader);
            SeedForDraw(3, pick);
        } else if (preparedLevel != 0 && loaded.count(preparedLevel) == 0) {
            loaded[preparedLevel] = f.GameMusic->Segment != nullptr;
        }
    };
    ASSERT_TRUE(Play({
        [&] { ClearGulls(Form()); },
        WaitUntil([&] { return Form().LevelNumber == 2; }),
        WaitForPlay(),
        [&] {
            EXPECT_FALSE(Form().TitleMusic->IsPlaying());
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
    EXPECT_EQ(loaded, (std::map<int, bool>{{1, true}, {2, true}}))
        << "levels 1 and 2 play the second and third tune";
}

}  // namespace
