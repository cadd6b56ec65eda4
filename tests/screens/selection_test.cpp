// The level pack selection: its list and pages, the red frame, and a redraw only on change.

#include "support/screen_fixture.h"

namespace {

constexpr RECT kOutline{2, 2, 638, 478};
// A mark in a corner of the list's picture, which only a redraw of the list removes.
constexpr RECT kMark{600, 400, 610, 410};

class SelectionTest : public ScreenTest {
  protected:
    // The red frame of the entry written at y.
    static RECT Selected(int y) { return RECT{5, y - 1, 635, y + 21}; }

    // The letters in the band of a name's line, on black.
    int Letters(int top, int bottom) { return Ink(Background(), RECT{200, top, 440, bottom}); }

    bool Marked() { return Count(Background(), kMark, kYellow565) == 100; }
};

TEST_F(SelectionTest, ThreeNamesUnderTheHeadingWithTheSelectionFramed) {
    AddLevelFiles({"alpha.znl", "beta.znk", "gamma.znl"});
    ASSERT_TRUE(Run({
        [&] { harness.Click(); },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(*Form().PackFiles,
                      (std::vector<std::string>{"alpha.znl", "beta.znk", "gamma.znl"}));
            EXPECT_TRUE(Framed(Background(), kOutline, kWhite565));
            EXPECT_TRUE(Framed(Background(), Selected(50), kRed565));
            EXPECT_GT(Letters(92, 110), 50);
            EXPECT_EQ(Letters(112, 476), 0);
            Mark(Background(), kMark, kYellow565);
            harness.Key(VK_UP);
            harness.Char(' ');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(Form().PackIndex, 0);
            EXPECT_TRUE(Marked()) << "Up on the first name draws nothing again";
            harness.Key(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 1);
            EXPECT_FALSE(Marked());
            EXPECT_TRUE(Framed(Background(), Selected(70), kRed565));
            harness.Key(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 2);
            Mark(Background(), kMark, kYellow565);
            harness.Key(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 2);
            EXPECT_TRUE(Marked()) << "Down on the last name draws nothing again";
            harness.LoseSurfaces();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(Form().PackIndex, 2) << "the selection survives the restore";
            EXPECT_TRUE(Framed(Background(), Selected(90), kRed565));
            Form().GameState = gsTitle;
        },
        [&] { harness.Char(' '); },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(Form().PackIndex, 0) << "every visit starts at the first name";
            harness.Key(VK_DOWN);
            harness.Key(VK_UP);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 0) << "Up from the second name to the first";
            harness.Key(VK_DOWN);
        },
        [&] { harness.Char(13); },
        WaitForPlay(),
        [&] {
            EXPECT_TRUE(IsInPlay(Form().GameState));
            EXPECT_EQ(Form().PackIndex, 1);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(SelectionTest, TwentyFiveNamesArePagedByTwenty) {
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i) {
        names.push_back((i < 10 ? "pack0" : "pack") + std::to_string(i) + ".znl");
    }
    AddLevelFiles(names);
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        [&] {
            EXPECT_EQ(Form().PackFiles->size(), 25u);
            for (int i = 0; i < 20; ++i) {
                harness.Key(VK_DOWN);
            }
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 20);
            EXPECT_TRUE(Framed(Background(), Selected(50), kRed565));
            EXPECT_GT(Letters(132, 148), 50);
            EXPECT_EQ(Letters(150, 476), 0);
            harness.Key(VK_UP);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 19);
            EXPECT_TRUE(Framed(Background(), Selected(430), kRed565));
            // The first page runs on past its twentieth name: name 21 is cut by the edge.
            EXPECT_GT(Letters(471, 477), 5);
            for (int i = 0; i < 10; ++i) {
                harness.Key(VK_DOWN);
            }
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 24);
            EXPECT_TRUE(Framed(Background(), Selected(130), kRed565));
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(SelectionTest, OneNameIsPlayedWithoutAsking) {
    AddLevelFiles({"only.znl"});
    ASSERT_TRUE(Run({
        [&] {
            Form().PackIndex = 5;
            harness.Char(' ');
        },
        WaitForPlay(),
        [&] {
            EXPECT_TRUE(IsInPlay(Form().GameState));
            EXPECT_EQ(Form().PackIndex, 0);
            EXPECT_FALSE(Framed(Background(), kOutline, kWhite565)) << "no list was drawn";
            EXPECT_EQ(Form().Lives, 3);
            EXPECT_EQ(Form().HofRank, 24);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

}  // namespace
