// The title, Hall of Fame, Scoring and About screens: what each frames and where its lines are,
// and the redraw after lost surfaces; the title's menu by the pad and its prompts; the Options
// screen's rows stepped.
#include "levels/screens.h"
#include "support/screen_fixture.h"

namespace {

using platform::Option;
using Pad = platform::Harness::PadControl;

constexpr RECT kOutline{2, 2, 638, 478};

using TitleAndInformationTest = ScreenTest;

// The Hall of Fame: names from x = 128, scores ending at x = 512, 16 pixels a place; the place
// of the last game framed (place 0 is the name entry's to check), again after lost surfaces.
// The Scoring screen: ten sprites at every visit, the gull and the Bazzle above, four rows of
// two eggs below, drawn over the picture.
TEST_F(TitleAndInformationTest, TheHallOfFameFramesTheLastGamesPlaceAndTheScoringShowsTenSprites) {
    const RECT last{120, 448, 520, 464};
    const auto expectSprites = [&] {
        EXPECT_EQ(Form().GullList.size(), 10u);
        EXPECT_EQ(Ink(Background(), RECT{40, 80, 104, 144}), 0);
        for (const POINT at : {POINT{40, 80}, POINT{40, 150}, POINT{10, 268}, POINT{330, 388}}) {
            EXPECT_GT(Ink(Shown(), RECT{at.x, at.y, at.x + 32, at.y + 32}), 100)
                << at.x << "," << at.y;
        }
    };
    std::int32_t gullFrame = 0;
    ASSERT_TRUE(Run({
        [&] {
            Form().HallOfFame[1].Name.clear();
            Form().HallOfFame[2].Name = std::string(80, 'W');
            Form().HofRank = 23;
            harness.Char('h');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_TRUE(Framed(Background(), kOutline, kRed565));
            EXPECT_TRUE(Framed(Background(), last, kRed565));
            EXPECT_EQ(Count(Background(), RECT{4, 4, 636, 447}, kRed565), 0);
            EXPECT_EQ(Ink(Background(), RECT{128, 96, 400, 112}), 0);  // an empty name
            // A long name is cut before the score's room.
            EXPECT_EQ(Ink(Background(), RECT{426, 112, 470, 128}), 0);
            EXPECT_EQ(Ink(Background(), RECT{513, 80, 636, 447}), 0);
            harness.LoseSurfaces();
            harness.Char('x');  // other keys do nothing here
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_TRUE(Framed(Background(), last, kRed565));
            harness.Char(' ');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            harness.Char('s');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsScoring);
            expectSprites();
            gullFrame = Form().GullList[0].Frame;
            EXPECT_TRUE(Framed(Background(), kOutline, kYellow565));
            EXPECT_GT(Count(Background(), RECT{370, 395, 430, 415}, kWhite565), 20);
        },
        [&] {
            EXPECT_NE(Form().GullList[0].Frame, gullFrame) << "the gull beats its wings";
            EXPECT_EQ(Form().GullList[0].X, 40.0) << "but stays in place";
            harness.Char(' ');
        },
        [&] { harness.Char('S'); },
        [&] { harness.LoseSurfaces(); },
        [&] {
            EXPECT_EQ(Form().GameState, gsScoring);
            expectSprites();
            EXPECT_TRUE(Framed(Background(), kOutline, kYellow565));
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

// The About screen by A, framed, its credits between two suns, left by a click; seen once, it is
// not shown again on the way out. Before, the farewell About screen takes only Esc.
TEST_F(TitleAndInformationTest, TheAboutScreenShowsTheCreditsAndTheFarewellTakesOnlyEsc) {
    ASSERT_TRUE(Run({
        [&] { harness.Char('A'); },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            EXPECT_TRUE(Framed(Background(), kOutline, kWhite565));
            EXPECT_GT(Ink(Background(), RECT{566, 10, 630, 74}), 500);  // a sun
            EXPECT_GT(Count(Background(), RECT{220, 42, 420, 64}, kCyan565), 50);
            EXPECT_GT(Count(Background(), RECT{220, 410, 420, 432}, kWhite565), 50);
            // The heading's letters reach down to row 58: the face at its size in points.
            EXPECT_GT(Count(Background(), RECT{0, 57, 640, 59}, kCyan565), 10);
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            EXPECT_TRUE(Form().AboutSeen);
            harness.Char(27);
        },
    }));
    EXPECT_EQ(Form().GameState, gsQuit);
    ASSERT_TRUE(Run({
        [&] { harness.Char(27); },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            EXPECT_TRUE(Form().Quitting);
            harness.Char(' ');
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            EXPECT_FALSE(Form().AboutSeen);
            harness.LoseSurfaces();
        },
        [&] {
            EXPECT_TRUE(Framed(Background(), kOutline, kWhite565));
            harness.Char(27);
        },
    }));
    EXPECT_TRUE(Form().AboutSeen);
    EXPECT_EQ(Form().GameState, gsQuit);
    // The way out gives the desktop its cursor back, and an unchanged table is not written.
    EXPECT_EQ(harness.CursorCount(), 0);
    EXPECT_FALSE(harness.CursorClipped());
    EXPECT_FALSE(Application.EndedOnError());
    form.reset();
    EXPECT_FALSE(folder.Holds("znscore.hof"));
    EXPECT_TRUE(harness.MessageBoxes().empty());
}

// The title writes its menu in black onto the picture, again after lost surfaces; it opens the
// Options by O, and by the pad's d-pad and south button, after which it names the pad's buttons,
// and after a key the keys again. On the Options screen every row that steps goes down and back
// up by the arrow keys, and Down goes to the next row.
TEST_F(TitleAndInformationTest, TheTitlesMenuOpensTheOptionsWhoseRowsStepBothWays) {
    const std::string window =
        "fullscreen = no\nwindow_x = 0\nwindow_y = 0\nwindow_width = 1280\nwindow_height = 960\n";
    UseSettings(window);
    const int pad = harness.AttachPad();
    // "<H>": written for the keys, not for a pad, whose d-pad reaches the line.
    const auto namesKeys = [&] {
        return Count(Form().BackBuffer, RECT{250, 310, 300, 328}, kBlack565) > 8;
    };
    const auto value = [](std::int32_t row) {
        return platform::OptionValue(TKestovForm::OptionOfRow(row));
    };
    std::vector<Step> steps{
        [&] {
            // Pure black is not in the picture; only the letters bring it.
            EXPECT_GT(Count(Background(), RECT{180, 290, 460, 308}, kBlack565), 150);
            EXPECT_EQ(Count(Background(), RECT{0, 0, 640, 240}, kBlack565), 0);
            harness.LoseSurfaces();
        },
        [&] {
            EXPECT_TRUE(namesKeys());
            harness.Char('o');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsOptions);
            harness.Char(27);
        }};
    for (int i = 0; i < tlOptions; ++i) {
        Add(steps, Press(pad, Pad::Down));
    }
    Add(steps, {[&] {
            EXPECT_FALSE(namesKeys());
            EXPECT_TRUE(Framed(Form().BackBuffer, TitleLineRect(tlOptions), kRed565));
        }});
    Add(steps, Press(pad, Pad::South));
    auto before = std::make_shared<std::string>();
    for (std::int32_t row = 0; row < TKestovForm::OptionRows(); ++row) {
        const Option option = TKestovForm::OptionOfRow(row);
        if (!platform::TakesKey(option) && !platform::TakesButton(option) &&
            option != Option::DefaultControls) {
            Add(steps, {[&, row] {
                            EXPECT_EQ(Form().GameState, gsOptions);
                            EXPECT_EQ(Form().OptionChoice, row);
                            *before = value(row);
                            harness.PressKey("Left");
                        },
                        [&, row] {
                            EXPECT_NE(value(row), *before) << "row " << row;
                            harness.PressKey("Right");
                        },
                        [&, row] { EXPECT_EQ(value(row), *before) << "row " << row; }});
        }
        Add(steps, {[&] { harness.PressKey("Down"); }});
    }
    Add(steps, Press(pad, Pad::East));
    Add(steps, Press("Up"));
    Add(steps, {[&] {
                    EXPECT_EQ(Form().GameState, gsTitle);
                    EXPECT_TRUE(namesKeys());
                    harness.Char(27);
                },
                [&] { harness.Char(27); }});
    ASSERT_TRUE(Run(steps));
    // Every row is kept as it was; the window may have moved.
    const platform::Settings start = platform::ParseSettings(window).settings;
    platform::Settings kept = platform::ParseSettings(SettingsText()).settings;
    kept.window = start.window;
    EXPECT_EQ(kept, start);
}

}  // namespace
