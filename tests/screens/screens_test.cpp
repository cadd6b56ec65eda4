// The title, Hall of Fame, Scoring and About screens: what each draws, where, in which colour,
// and the redraw after lost surfaces; the title's menu by every device and its prompts; the
// Options screen, its rows changed by every device and kept.
#include "levels/screens.h"
#include "support/screen_fixture.h"

namespace {

using platform::Option;
using Pad = platform::Harness::PadControl;

constexpr RECT kOutline{2, 2, 638, 478};

using TitleAndInformationTest = ScreenTest;

TEST_F(TitleAndInformationTest, TheTitleWritesItsMenuInBlackOntoThePicture) {
    // Pure black is not in the picture's menu box; only the letters bring it.
    const auto expectMenu = [&] {
        EXPECT_GT(Count(Background(), RECT{180, 290, 460, 308}, kBlack565), 150);
        for (int row = 0; row < 6; ++row) {
            const int y = 310 + 20 * row;
            EXPECT_GT(Count(Background(), RECT{250, y, 300, y + 18}, kBlack565), 8) << row;
            EXPECT_GT(Count(Background(), RECT{320, y, 420, y + 18}, kBlack565), 8) << row;
        }
        EXPECT_EQ(Count(Background(), RECT{0, 0, 640, 240}, kBlack565), 0);
    };
    ASSERT_TRUE(Run({
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            expectMenu();
            harness.LoseSurfaces();
        },
        [&] {
            expectMenu();
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(TitleAndInformationTest, TheHallOfFameFramesThePlaceOfTheLastGame) {
    ASSERT_TRUE(Run({
        [&] {
            Form().HallOfFame[1].Name.clear();
            Form().HallOfFame[2].Name = std::string(80, 'W');
            harness.Char('h');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_TRUE(Framed(Background(), kOutline, kRed565));
            // HofRank 24: no place is framed.
            EXPECT_EQ(Count(Background(), RECT{4, 4, 636, 476}, kRed565), 0);
            EXPECT_GT(Ink(Background(), RECT{152, 20, 488, 60}), 1000);  // the heading
            EXPECT_EQ(Ink(Background(), RECT{4, 4, 150, 78}), 0);
            // Names from x = 128, scores ending at x = 512, 16 pixels a place.
            EXPECT_GT(Ink(Background(), RECT{128, 80, 250, 96}), 30);
            EXPECT_EQ(Ink(Background(), RECT{4, 80, 128, 464}), 0);
            EXPECT_EQ(Ink(Background(), RECT{128, 96, 400, 112}), 0);  // an empty name
            EXPECT_GT(Ink(Background(), RECT{460, 96, 513, 112}), 30);
            EXPECT_GT(Ink(Background(), RECT{128, 448, 250, 464}), 30);  // place 23
            EXPECT_GT(Ink(Background(), RECT{480, 448, 513, 464}), 10);
            EXPECT_EQ(Ink(Background(), RECT{513, 80, 636, 112}), 0);
            EXPECT_EQ(Ink(Background(), RECT{513, 128, 636, 476}), 0);
            // A long name is cut before the score's room, where "..." shows the cut.
            EXPECT_GT(Ink(Background(), RECT{380, 112, 424, 128}), 30);
            EXPECT_EQ(Ink(Background(), RECT{426, 112, 470, 128}), 0);
            EXPECT_EQ(Ink(Background(), RECT{513, 112, 636, 128}), 0);
            harness.Char(' ');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            Form().HofRank = 0;
            harness.Char('H');
        },
        [&] {
            EXPECT_TRUE(Framed(Background(), RECT{120, 80, 520, 96}, kRed565));
            EXPECT_EQ(Count(Background(), RECT{4, 97, 636, 476}, kRed565), 0);
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            Form().HofRank = 23;
            harness.Char('h');
        },
        [&] {
            EXPECT_TRUE(Framed(Background(), RECT{120, 448, 520, 464}, kRed565));
            harness.LoseSurfaces();
            harness.Char('x');  // other keys do nothing here
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_TRUE(Framed(Background(), RECT{120, 448, 520, 464}, kRed565));
            EXPECT_TRUE(Framed(Background(), kOutline, kRed565));
            EXPECT_GT(Ink(Background(), RECT{128, 80, 250, 96}), 30);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(TitleAndInformationTest, TheScoringScreenShowsTenSpritesAtEveryVisit) {
    // The gull and the Bazzle above, four rows of two eggs below, drawn over the picture.
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
        [&] { harness.Char('s'); },
        [&] {
            EXPECT_EQ(Form().GameState, gsScoring);
            expectSprites();
            gullFrame = Form().GullList[0].Frame;
            EXPECT_TRUE(Framed(Background(), kOutline, kYellow565));
            EXPECT_GT(Ink(Background(), RECT{152, 20, 488, 60}), 1000);
            for (const POINT line : {POINT{108, 102}, POINT{108, 162}, POINT{50, 275},
                                     POINT{50, 395}, POINT{370, 275}, POINT{370, 395}}) {
                EXPECT_GT(
                    Count(Background(), RECT{line.x, line.y, line.x + 60, line.y + 20}, kWhite565),
                    20)
                    << line.x << "," << line.y;
            }
            EXPECT_GT(Count(Background(), RECT{220, 235, 420, 255}, kWhite565), 100);
        },
        [&] {
            EXPECT_NE(Form().GullList[0].Frame, gullFrame) << "the gull beats its wings";
            EXPECT_EQ(Form().GullList[0].X, 40.0) << "but stays in place";
            harness.Char(' ');
        },
        [&] { harness.Char('S'); },
        [&] {
            expectSprites();
            harness.LoseSurfaces();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsScoring);
            expectSprites();
            EXPECT_TRUE(Framed(Background(), kOutline, kYellow565));
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(TitleAndInformationTest, TheAboutScreenShowsTheCreditsBetweenTwoSuns) {
    const auto expectAbout = [&] {
        EXPECT_TRUE(Framed(Background(), kOutline, kWhite565));
        EXPECT_GT(Ink(Background(), RECT{10, 10, 74, 74}), 500);
        EXPECT_GT(Ink(Background(), RECT{566, 10, 630, 74}), 500);
        EXPECT_EQ(Ink(Background(), RECT{74, 4, 200, 40}), 0);
        for (int y : {42, 100, 190, 320}) {
            EXPECT_GT(Count(Background(), RECT{220, y, 420, y + 22}, kCyan565), 50) << y;
        }
        for (int y : {130, 220, 250, 350, 380, 410}) {
            EXPECT_GT(Count(Background(), RECT{220, y, 420, y + 22}, kWhite565), 50) << y;
        }
        EXPECT_GT(Count(Background(), RECT{120, 450, 520, 464}, kCyan565), 50);
    };
    ASSERT_TRUE(Run({
        [&] { harness.Char('A'); },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            expectAbout();
            harness.LoseSurfaces();
        },
        [&] {
            expectAbout();
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            EXPECT_TRUE(Form().AboutSeen);
            // Seen once, it is not shown again on the way out.
            harness.Char(27);
        },
    }));
    EXPECT_EQ(Form().GameState, gsQuit);
}

TEST_F(TitleAndInformationTest, TheFarewellAboutScreenTakesOnlyEsc) {
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
            EXPECT_EQ(Form().GameState, gsAbout);
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

// The Options screen opens by O, by a click on its line in a window, by the pad's d-pad and
// south button, and by a tap; after a pad's button the title names the pad's buttons, after a
// key the keys again; the pad's B leaves for the title.
TEST_F(TitleAndInformationTest, TheTitlesMenuOpensTheOptionsByEveryDeviceAndNamesItsButtons) {
    const int pad = harness.AttachPad();
    const RECT line = TitleLineRect(tlOptions);
    const int x = (line.left + line.right) / 2;
    const int y = (line.top + line.bottom) / 2;
    // "<H>": written for the keys, not for a pad, whose d-pad reaches the line.
    const auto namesKeys = [&] {
        return Count(Form().BackBuffer, RECT{250, 310, 300, 328}, kBlack565) > 8;
    };
    std::vector<Step> steps{[&] {
        EXPECT_TRUE(namesKeys());
        harness.Char('o');
    }};
    const auto opened = [&](const char* by) -> Step {
        return [&, by] {
            EXPECT_EQ(Form().GameState, gsOptions) << by;
            harness.Char(27);
        };
    };
    Add(steps, {opened("O")});
    for (int i = 0; i < tlOptions; ++i) {
        Add(steps, Press(pad, Pad::Down));
    }
    Add(steps, {[&] {
            EXPECT_FALSE(namesKeys());
            EXPECT_TRUE(Framed(Form().BackBuffer, line, kRed565));
        }});
    Add(steps, Press(pad, Pad::South));
    Add(steps, {[&] { EXPECT_EQ(Form().GameState, gsOptions) << "the pad"; }});
    Add(steps, Press(pad, Pad::East));
    Add(steps, {[&] { EXPECT_EQ(Form().GameState, gsTitle); }});
    Add(steps, Press("Up"));
    Add(steps, {[&] {
                    EXPECT_TRUE(namesKeys());
                    harness.PressKey("Return", true);
                },
                [&] { harness.ClickAt(x, y); }, opened("a click"), [&] { harness.TapAt(x, y); },
                opened("a tap"), [&] { harness.Char(27); }, [&] { harness.Char(27); }});
    ASSERT_TRUE(Run(steps));
}

class OptionsTest : public ScreenTest {
  protected:
    static std::int32_t RowOf(Option option) {
        for (std::int32_t row = 0; row < TKestovForm::OptionRows(); ++row) {
            if (TKestovForm::OptionOfRow(row) == option) {
                return row;
            }
        }
        return -1;
    }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

// Every row that steps goes down and back up by each device: the arrow keys, the d-pad, the
// wheel, and a click and a tap on its arrows (but the pad does not turn the pads off); the keys'
// Down goes to the next row. What the player leaves is in the settings file, and the next
// start reads it back.
TEST_F(OptionsTest, EveryRowChangesWithEveryDeviceAndIsKept) {
    UseSettings(
        "fullscreen = no\nwindow_x = 0\nwindow_y = 0\nwindow_width = 1280\n"
        "window_height = 960\n");
    const int pad = harness.AttachPad();
    // Steps a row down (-1) or up (1); 0 lets go of what was pressed.
    using Press = std::function<void(std::int32_t row, int step)>;
    const std::pair<const char*, Press> devices[] = {
        {"keys",
         [&](std::int32_t, int step) {
             if (step != 0) {
                 harness.PressKey(step < 0 ? "Left" : "Right");
             }
         }},
        {"pad",
         [&](std::int32_t, int step) {
             // Let go at the next step: the pad's state is read once a pass.
             harness.PadButton(pad, Pad::Left, step < 0);
             harness.PadButton(pad, Pad::Right, step > 0);
         }},
        {"wheel", [&](std::int32_t, int step) { harness.TurnWheel(step); }},
        {"click",
         [&](std::int32_t row, int step) {
             const POINT at = Centre(TKestovForm::OptionArrow(row, step));
             if (step != 0) {
                 harness.ClickAt(at.x, at.y);
             }
         }},
        {"tap",
         [&](std::int32_t row, int step) {
             const POINT at = Centre(TKestovForm::OptionArrow(row, step));
             if (step != 0) {
                 harness.TapAt(at.x, at.y);
             }
         }},
    };
    std::vector<Step> steps{[&] { harness.Char('o'); }};
    auto before = std::make_shared<std::string>();
    for (std::int32_t row = 0; row < TKestovForm::OptionRows(); ++row) {
        const Option option = TKestovForm::OptionOfRow(row);
        if (platform::TakesKey(option) || platform::TakesButton(option) ||
            option == Option::DefaultControls) {
            Add(steps, {[&] { harness.PressKey("Down"); }});
            continue;
        }
        for (const auto& [name, press] : devices) {
            if (option == Option::Pads && std::string_view(name) == "pad") {
                continue;  // a pad turned off takes no more presses
            }
            Add(steps, {[&, row, press = press] {
                            EXPECT_EQ(Form().OptionChoice, row);
                            *before = platform::OptionValue(TKestovForm::OptionOfRow(row));
                            press(row, -1);
                        },
                        [&, row, name = name, press = press] {
                            EXPECT_NE(platform::OptionValue(TKestovForm::OptionOfRow(row)), *before)
                                << "row " << row << " by " << name;
                            press(row, 1);
                        },
                        [&, row, name = name, press = press] {
                            EXPECT_EQ(platform::OptionValue(TKestovForm::OptionOfRow(row)), *before)
                                << "row " << row << " by " << name;
                            press(row, 0);
                        }});
        }
        Add(steps, {[&] { harness.PressKey("Down"); }});
    }
    // The music down to 70 %, the game at 90 %.
    steps.push_back([&] { Form().OptionChoice = RowOf(Option::MusicVolume); });
    for (int notch = 0; notch < 3; ++notch) {
        steps.push_back([&] { harness.TurnWheel(-1); });
    }
    steps.push_back([&] {
        const POINT at = Centre(TKestovForm::OptionArrow(RowOf(Option::GameSpeed), -1));
        harness.ClickAt(at.x, at.y);
    });
    steps.push_back([&] {
        harness.Char(27);
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    ASSERT_TRUE(Run(steps));
    const platform::Settings kept = platform::ParseSettings(SettingsText()).settings;
    EXPECT_EQ(kept.sound.music, 70);
    EXPECT_EQ(kept.play.gameSpeed, 90);
    EXPECT_FALSE(kept.fullscreen);
    EXPECT_EQ(kept.controls, platform::ControlSettings{});
    ASSERT_TRUE(Run({[&] {
        EXPECT_EQ(platform::OptionValue(Option::MusicVolume), "70 %");
        EXPECT_EQ(platform::OptionValue(Option::GameSpeed), "90 %");
        harness.CloseWindow();
    }}));
}

}  // namespace
