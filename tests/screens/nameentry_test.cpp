// Name entry: the box over the last picture, the typed name, the checks on what a name takes,
// a failing device context, lost surfaces, and the entry stored by Enter.
#include "support/screen_fixture.h"

namespace {

constexpr RECT kBoxFrame{165, 125, 475, 355};

class NameEntryTest : public ScreenTest {
  protected:
    // A game that has just ended with the best score.
    void EnterName() {
        Form().Score = 5000;
        Form().HofRank = 0;
        Form().GameState = gsNameEntry;
    }

    // The letters of the box's three lines and of the name, on the box's black.
    int Heading() { return Ink(Shown(), RECT{240, 150, 470, 250}); }
    int NameInk() { return Ink(Shown(), RECT{166, 270, 474, 300}); }
};

TEST_F(NameEntryTest, TheBoxShowsTheNameAsItIsTypedAndEnterStoresIt) {
    ASSERT_TRUE(Run({
        [&] {
            harness.Fail(platform::Fault::GetDC);
            EnterName();
        },
        [&] {
            // Without a device context the box is drawn without its texts.
            EXPECT_GT(Ink(Shown(), RECT{170, 130, 234, 194}), 500);  // the sun
            EXPECT_EQ(Heading(), 0);
            // Over the last picture: the title around the box.
            EXPECT_GT(Ink(Shown(), RECT{0, 0, 160, 120}), 160 * 120 / 2);
            harness.Char(8);
            harness.Type("A nn");
        },
        [&] {
            // The texts come with the next drawing.
            EXPECT_EQ(Form().GameState, gsNameEntry);
            EXPECT_TRUE(Framed(Shown(), kBoxFrame, kWhite565));
            EXPECT_GT(Heading(), 3300);  // in bold letters: regular ones make some 2900
            EXPECT_EQ(Form().PlayerName, "A nn");
            EXPECT_GT(Count(Shown(), RECT{280, 270, 360, 300}, kLightYellow565), 0);
            harness.Char(8);
            harness.Char(1);     // control characters are not kept
            harness.Char('\n');  // nor line feeds, which would split the score file's line
        },
        [&] {
            EXPECT_EQ(Form().PlayerName, "A n");
            harness.LoseSurfaces();
            harness.Type(std::string(300, 'x'));
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsNameEntry);
            EXPECT_EQ(Form().PlayerName.size(), 255u) << "names stop at 255 characters";
            // Drawn again after the loss; the long name is cut within the frame, its end shown.
            EXPECT_TRUE(Framed(Shown(), kBoxFrame, kWhite565));
            EXPECT_GT(NameInk(), 30);
            EXPECT_EQ(Count(Shown(), RECT{0, 270, 165, 300}, kLightYellow565), 0);
            EXPECT_EQ(Count(Shown(), RECT{475, 270, 640, 300}, kLightYellow565), 0);
            harness.Char(13);
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            EXPECT_EQ(Form().HallOfFame[0].Score, 5000);
            EXPECT_EQ(Form().HallOfFame[0].Name, "A n" + std::string(252, 'x'));
            EXPECT_EQ(Form().HallOfFame[1].Score, 4800);
            EXPECT_TRUE(Framed(Background(), RECT{120, 80, 520, 96}, kRed565));
            harness.CloseWindow();  // the window manager's close button saves and leaves
        },
    }));
    EXPECT_FALSE(Application.EndedOnError());
    form.reset();  // the table is written when the game ends
    const std::string file = folder.Read("znscore.hof");
    EXPECT_EQ(file.substr(0, 262), "5000 A n" + std::string(252, 'x') + "\r\n");
}

}  // namespace
