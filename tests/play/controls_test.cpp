// Play without a mouse: a game controller, the keyboard's arrow keys and a finger, through the
// window system's events as the devices give them.
#include "platform/api/cursor.h"
#include "playfield/spritekinds.h"
#include "support/play_fixture.h"

namespace {

using Pad = platform::Harness::PadControl;
using Finger = platform::Harness::FingerPhase;

// One gull far up on the left, no bombs: a level that stays in play.
const std::string kQuietLevel = "0,0,0\nGull=20,40,0,0,0,0,0\n";

class ControlsTest : public PlayTest {
  protected:
    double PaddleX() { return Form().PaddleSprite.X; }
    // Seconds on the game's clock since the mark.
    double Since(std::uint64_t mark) const { return (harness.ClockMicros() - mark) / 1e6; }
    // A wait until the paddle's left edge is at x.
    Step PaddleAt(double x) {
        return WaitUntil([this, x] { return PaddleX() == x; });
    }
};

// The stick drives the paddle across in about half a second at full deflection, inside its dead
// zone it holds it still, and the d-pad drives it at a speed that rises while held. The south
// button is the mouse's button; Start pauses and resumes; a pad unplugged in play pauses the
// game, and one plugged in acts at once; Back leaves as Esc does.
TEST_F(ControlsTest, ThePadDrivesThePaddleLaunchesFiresPausesAndIsUnplugged) {
    WriteLevels("quiet.znl", {kQuietLevel});
    int pad = harness.AttachPad();
    std::uint64_t mark = 0;
    double still = 0;
    ASSERT_TRUE(Play({
        [&] { harness.PadStick(pad, -1); },
        PaddleAt(0),
        [&] {
            mark = harness.ClockMicros();
            harness.PadStick(pad, 1);
        },
        PaddleAt(576),
        [&] {
            EXPECT_NEAR(Since(mark), 0.5, 0.1);
            harness.PadStick(pad, -0.15);
            still = PaddleX();
        },
        WaitFrames(30),
        [&] {
            EXPECT_EQ(PaddleX(), still) << "a push inside the dead zone moves nothing";
            harness.PadStick(pad, -0.4);
            mark = harness.ClockMicros();
        },
        WaitFrames(30),
        [&] {
            // Past the dead zone a small push moves the paddle slowly.
            const double speed = (still - PaddleX()) / Since(mark);
            EXPECT_GT(speed, 100);
            EXPECT_LT(speed, 500);
            harness.PadStick(pad, 0);
            mark = harness.ClockMicros();
            harness.PadButton(pad, Pad::Left, true);
        },
        PaddleAt(0),
        [&] {
            // Faster than its first speed all the way, slower than three times it.
            const double seconds = Since(mark);
            EXPECT_LT(seconds, (still - 0) / 400.0);
            EXPECT_GT(seconds, (still - 0) / 1200.0);
            harness.PadButton(pad, Pad::Left, false);
        },
        [&] { harness.PadButton(pad, Pad::Right, true); },
        PaddleAt(576),
        [&] { harness.PadButton(pad, Pad::Right, false); },
        [&] {
            Form().ShotgunPower = true;
            harness.PadButton(pad, Pad::South, true);
        },
        WaitFrames(2),
        [&] {
            EXPECT_TRUE(Form().PlayStarted);
            EXPECT_TRUE(Form().MouseHeld);
            EXPECT_NE(Form().ShotSprites[0].Kind, ShotIdle) << "the shotgun fires";
            harness.PadButton(pad, Pad::South, false);
        },
        [&] {
            EXPECT_FALSE(Form().MouseHeld);
            harness.PadButton(pad, Pad::East, true);  // does nothing in play
            harness.PadButton(pad, Pad::Start, true);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused);
            harness.PadButton(pad, Pad::East, false);
            harness.PadButton(pad, Pad::Start, false);
        },
        [&] { harness.PadButton(pad, Pad::Start, true); },
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying);
            harness.PadButton(pad, Pad::Start, false);
            harness.DetachPad(pad);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsPaused) << "a pad unplugged in play pauses";
            pad = harness.AttachPad();
        },
        [&] { harness.PadButton(pad, Pad::Start, true); },
        [&] {
            EXPECT_EQ(Form().GameState, gsPlaying) << "a pad plugged in acts at once";
            harness.PadButton(pad, Pad::Start, false);
        },
        [&] { harness.PadButton(pad, Pad::Back, true); },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout) << "Back leaves as Esc does";
            harness.Char(27);
        },
    }));
}

// A finger puts the paddle's left edge under it, in the game's pixels whatever the window's
// size and its black bars, and holds the mouse button while it is down; once it is lifted,
// another finger takes over.
TEST_F(ControlsTest, AFingerPutsThePaddleUnderIt) {
    WriteLevels("quiet.znl", {kQuietLevel});
    struct Touch {
        platform::DesktopRect window;  // width 0: full screen
        double x;                      // of the window's width
        double paddle;
    };
    const Touch touches[] = {
        {{}, 0.25, 160},                  // full screen on a 4:3 display
        {{0, 0, 1280, 480}, 0.5, 320},    // bars left and right: the middle is the middle
        {{0, 0, 1280, 480}, 0.3125, 80},  // 400 of 1280: 80 into the picture
        {{0, 0, 1280, 480}, 0.1, 0},      // on the left bar: the picture's edge
        {{0, 0, 640, 960}, 0.75, 480},    // bars above and below
        {{0, 0, 640, 960}, 0.99, 576},    // the paddle stays on the screen
    };
    std::vector<Step> steps;
    int finger = 0;
    for (const Touch& touch : touches) {
        ++finger;
        if (touch.window.width != 0) {
            steps.push_back([&] {
                if (harness.Fullscreen()) {
                    harness.PressKey("Return", true);
                }
            });
            steps.push_back([&, touch] { harness.MoveWindow(touch.window); });
        }
        steps.push_back([&, touch, finger] { harness.Touch(Finger::Down, touch.x, 0.5, finger); });
        steps.push_back(WaitFrames(2));
        steps.push_back([&, touch, finger] {
            EXPECT_EQ(PaddleX(), touch.paddle) << touch.window.width << " " << touch.x;
            EXPECT_TRUE(Form().MouseHeld);
            harness.Touch(Finger::Up, touch.x, 0.5, finger);
        });
        steps.push_back([&] { EXPECT_FALSE(Form().MouseHeld); });
    }
    steps.push_back([&] { harness.Char(27); });
    steps.push_back([&] { harness.Char(27); });
    ASSERT_TRUE(Play(steps));
}

// Left taken anew as A, by a click on its row and the key: in play A moves the paddle and Left
// no longer does; the keys drive it while held, at a speed that rises, and Space launches. A key in
// use is refused, and Esc keeps the control's key. On the next start the row of defaults puts every
// control back.
TEST_F(ControlsTest, AKeyTakenAnewMovesThePaddleAndTheDefaultsComeBack) {
    using platform::Option;
    WriteLevels("quiet.znl", {kQuietLevel});
    UseSettings("");
    std::uint64_t mark = 0;
    const auto clickRow = [&](Option option) {
        return Step([&, option] {
            for (std::int32_t row = 0; row < TKestovForm::OptionRows(); ++row) {
                if (TKestovForm::OptionOfRow(row) == option) {
                    const RECT left = TKestovForm::OptionArrow(row, -1);
                    harness.ClickAt(left.right + 20, (left.top + left.bottom) / 2);
                }
            }
        });
    };
    ASSERT_TRUE(Run({
        [&] { harness.Char('o'); },
        clickRow(Option::KeyLeft),
        [&] {
            EXPECT_EQ(platform::Remapping(), Option::KeyLeft);
            harness.PressKey("A");
        },
        clickRow(Option::KeyRight),
        [&] {
            EXPECT_EQ(platform::OptionValue(Option::KeyLeft), "A");
            harness.PressKey("A");
        },
        [&] {
            EXPECT_EQ(platform::RemapRefusal(), "A is in use");
            harness.PressKey("Escape");
        },
        [&] {
            EXPECT_EQ(platform::Remapping(), std::nullopt);
            EXPECT_EQ(platform::OptionValue(Option::KeyRight), "Right");
            EXPECT_EQ(Form().GameState, gsOptions) << "Esc went to the wait only";
            harness.Char(27);
            harness.Char(' ');
        },
        WaitForPlay(),
        [&] { harness.PressKey("A"); },
        PaddleAt(0),
        [&] {
            harness.ReleaseKey("A");
            mark = harness.ClockMicros();
            harness.PressKey("Right");
        },
        PaddleAt(576),
        [&] {
            // From 400 pixels a second to three times that in half a second: 400 pixels, and
            // the last 176 at full speed.
            EXPECT_NEAR(Since(mark), 0.5 + 176 / 1200.0, 0.05);
            harness.ReleaseKey("Right");
            harness.PressKey("Left");
        },
        WaitFrames(20),
        [&] {
            EXPECT_EQ(PaddleX(), 576) << "a released key and Left move the paddle no more";
            harness.Char(' ');
        },
        [&] {
            EXPECT_TRUE(Form().PlayStarted) << "Space still launches";
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
    EXPECT_NE(SettingsText().find("key_left = A\n"), std::string::npos);
    ASSERT_TRUE(Run({
        [&] {
            EXPECT_EQ(platform::OptionValue(Option::KeyLeft), "A") << "read back at start";
            harness.Char('o');
        },
        clickRow(Option::DefaultControls),
        [&] {
            EXPECT_EQ(platform::OptionValue(Option::KeyLeft), "Left");
            harness.CloseWindow();
        },
    }));
    EXPECT_EQ(SettingsText().find("key_left"), std::string::npos);
}

// A click quicker than a frame still sends the ball up: play sees the button held for a whole
// frame before its release, and the cursor's motion meanwhile does not wait. Launching by a
// press: a press holds the button down for the player, its release lets nothing go, and the
// next press lets go.
TEST_F(ControlsTest, AQuickClickLaunchesAndLaunchingByAPressHoldsUntilTheNextPress) {
    WriteLevels("quiet.znl", {kQuietLevel});
    ASSERT_TRUE(Play({
        [&] {
            harness.QuickClick();
            harness.SlideMouse(-2000);
        },
        [&] {
            EXPECT_TRUE(Form().MouseHeld) << "the release waits";
            POINT cursor{};
            GetCursorPos(&cursor);
            EXPECT_EQ(cursor.x, 0) << "the motion does not";
        },
        WaitUntil([&] { return !Form().MouseHeld; }),
        [&] {
            EXPECT_TRUE(Form().PlayStarted);
            EXPECT_EQ(Form().BallList.at(0).Kind, BallReleased);
            harness.CloseWindow();
        },
    }));
    UseSettings("launch = press\n");
    ASSERT_TRUE(Play({
        [&] { harness.Click(); },
        [&] {
            EXPECT_TRUE(Form().MouseHeld);
            EXPECT_EQ(Form().BallList.at(0).Kind, BallReleased);
            harness.Click();
        },
        [&] {
            EXPECT_FALSE(Form().MouseHeld);
            harness.CloseWindow();
        },
    }));
}

// The list of level sets by pointer: the wheel moves the highlight, a pointer that can be seen
// moves it to the entry under it, and a click chooses the entry highlighted.
TEST_F(ControlsTest, TheWheelAndThePointerChooseFromTheList) {
    AddLevelFiles({"one.znk", "two.znl", "three.znk"});
    ASSERT_TRUE(Run({
        [&] { harness.Click(); },
        [&] { harness.TurnWheel(-1); },
        [&] {
            EXPECT_EQ(Form().PackIndex, 1);
            harness.TurnWheel(-3);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 2) << "the wheel stops at the last entry";
            harness.TurnWheel(1);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 1);
            // Full screen the pointer is hidden: it points at nothing.
            harness.PointAt(320, 60);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 1);
            harness.PressKey("Return", true);
        },
        [&] {
            harness.MoveWindow({0, 0, 1280, 960});
        },
        [&] { harness.PointAt(640, 2 * 95); },  // the third entry's line, at twice the size
        [&] {
            EXPECT_EQ(Form().PackIndex, 2);
            harness.PointAt(640, 2 * 200);  // below the list
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 2);
            EXPECT_EQ(Form().GameState, gsSelectPack);
            harness.Click();
        },
        WaitForPlay(),
        [&] {
            EXPECT_EQ(Form().PackIndex, 2);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

// At the game over the prompt names the enter key of the device last used, and the keys or the
// pad alone make a name letter by letter and enter it.
TEST_F(ControlsTest, TheGameOverPromptAndTheNameEntryByTheKeysOrThePad) {
    WriteLevels("quiet.znl", {kQuietLevel});
    for (const bool byPad : {false, true}) {
        SCOPED_TRACE(byPad ? "the pad" : "the keys");
        const int pad = byPad ? harness.AttachPad() : 0;
        // The pad's control or the key that does the same.
        const auto press = [&, pad, byPad](Pad control, const char* key) {
            return byPad ? Press(pad, control) : Press(key);
        };
        std::vector<Step> steps = press(Pad::Down, "Down");
        Add(steps, {[&] {
                        EXPECT_FALSE(harness.TextInputOn()) << "in play";
                        Form().HofRank = 0;
                        Form().GameState = gsGameOver;
                    },
                    WaitFrames(2),
                    [&, byPad] {
                        // A line under the game-over picture names the device's key.
                        EXPECT_EQ(Form().GameOverPrompt(),
                                  std::string("Press ") + (byPad ? "<A>" : "<ENTER>") +
                                      " to enter your name, <SPACE> to skip it");
                        EXPECT_GT(Count(Shown(), RECT{0, 270, 640, 300}, kLightYellow565), 100);
                        EXPECT_GT(Shows(Shown(), *Form().ZnText, 2, 152, 220), 0.99)
                            << "the game-over picture";
                    }});
        Add(steps, press(Pad::South, "Return"));
        Add(steps, {[&] {
                EXPECT_EQ(Form().GameState, gsNameEntry);
                EXPECT_TRUE(harness.TextInputOn()) << "typing a name";
            }});
        // Up twice: A, then B; taken; down from the letters' end: &, ?, !; taken; a letter begun
        // and removed.
        const std::pair<Pad, const char*> letters[] = {
            {Pad::Up, "Up"},       {Pad::Up, "Up"},     {Pad::South, "Right"},
            {Pad::Down, "Down"},   {Pad::Down, "Down"}, {Pad::Down, "Down"},
            {Pad::South, "Right"}, {Pad::Up, "Up"},     {Pad::Left, "Left"}};
        for (const auto& [control, key] : letters) {
            Add(steps, press(control, key));
        }
        Add(steps, {[&] { EXPECT_EQ(Form().PlayerName, "B!"); }});
        Add(steps, press(Pad::Start, "Return"));
        Add(steps, {[&] {
                EXPECT_EQ(Form().GameState, gsHallOfFame);
                EXPECT_EQ(Form().HallOfFame[0].Name, "B!");
                EXPECT_FALSE(harness.TextInputOn());
                harness.CloseWindow();
            }});
        ASSERT_TRUE(Play(steps));
    }
}

}  // namespace
