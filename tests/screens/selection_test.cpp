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

// Twenty-five names, listed from the start, paged by twenty; the first page runs on past its
// twentieth name to the bottom edge. Up on the first name and Down on the last draw nothing again.
TEST_F(SelectionTest, TheNamesArePagedByTwentyWithTheSelectionFramed) {
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i) {
        // Sorted whatever their case.
        names.push_back((i % 2 == 0 ? "pack" : "Pack") + std::string(i < 10 ? "0" : "") +
                        std::to_string(i) + ".znl");
    }
    AddLevelFiles(names);
    const auto keys = [&](int count, int key) {
        for (int i = 0; i < count; ++i) {
            harness.Key(key);
        }
    };
    ASSERT_TRUE(Run({
        [&] {
            // At start the cursor is hidden and held in the screen's play band.
            EXPECT_EQ(Form().GameState, gsTitle);
            EXPECT_TRUE(Form().Activated);
            EXPECT_TRUE(Form().AppActive);
            EXPECT_EQ(harness.CursorCount(), -1);
            EXPECT_EQ(harness.CursorClip(), (RECT{0, 25, 640, 455}));
            EXPECT_GT(harness.PresentedFrames(), 0);
            harness.Click();
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsSelectPack);
            EXPECT_EQ(*Form().PackFiles, names);
            EXPECT_TRUE(Framed(Background(), kOutline, kWhite565));
            EXPECT_TRUE(Framed(Background(), Selected(50), kRed565));
            EXPECT_GT(Letters(471, 477), 5) << "name 21, cut by the edge";
            Mark(Background(), kMark, kYellow565);
            harness.Key(VK_UP);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 0);
            EXPECT_TRUE(Marked()) << "Up on the first name draws nothing again";
            keys(20, VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 20);
            EXPECT_FALSE(Marked());
            EXPECT_TRUE(Framed(Background(), Selected(50), kRed565));
            EXPECT_GT(Letters(132, 148), 50);
            EXPECT_EQ(Letters(150, 476), 0);
            harness.Key(VK_UP);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 19);
            EXPECT_TRUE(Framed(Background(), Selected(430), kRed565));
            keys(5, VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 24);
            EXPECT_TRUE(Framed(Background(), Selected(130), kRed565));
            Mark(Background(), kMark, kYellow565);
            harness.Key(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 24);
            EXPECT_TRUE(Marked()) << "Down on the last name draws nothing again";
            harness.LoseSurfaces();
        },
        [&] {
            EXPECT_EQ(Form().PackIndex, 24) << "the selection survives the restore";
            EXPECT_TRUE(Framed(Background(), Selected(130), kRed565));
            Form().GameState = gsTitle;
        },
        [&] { harness.Char(' '); },
        [&] {
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
