// Start-up, the farewell and the exit path, and the failures that end the program.
#include "game_fixture.h"

#include "platform/cursor.h"

namespace {

TEST_F(GameTest, StartUpPreparesTheRecordAndTheTitle) {
    AddLevelFiles({"b.znk", "A.znl"});
    ASSERT_TRUE(Run({
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            EXPECT_TRUE(Form().Activated);
            EXPECT_TRUE(Form().AppActive);
            EXPECT_EQ(harness.CursorCount(), -1);
            EXPECT_TRUE(harness.CursorClipped());
            EXPECT_EQ(harness.CursorClip(), (RECT{0, 25, 640, 455}));
            EXPECT_EQ(*Form().PackFiles, (std::vector<std::string>{"A.znl", "b.znk"}));
            EXPECT_DOUBLE_EQ(Form().CannonSprite.X, -64.0);
            EXPECT_DOUBLE_EQ(Form().CannonSprite.Y, 416.0);
            EXPECT_GT(harness.PresentedFrames(), 0);
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    }));
}

TEST_F(GameTest, EscShowsTheFarewellWhereOnlyEscLeaves) {
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
            harness.Char(27);
        },
    }));
    EXPECT_TRUE(Form().AboutSeen);
    EXPECT_EQ(Form().GameState, gsQuit);
    // The exit path gives the desktop its cursor back.
    EXPECT_EQ(harness.CursorCount(), 0);
    EXPECT_FALSE(harness.CursorClipped());
    form.reset();
    EXPECT_FALSE(folder.Holds("znscore.hof"));
    EXPECT_TRUE(harness.MessageBoxes().empty());
}

TEST_F(GameTest, AfterVisitingTheAboutScreenOneEscLeaves) {
    int passAtEsc = 0;
    ASSERT_TRUE(Run({
        [&] { harness.Char('a'); },
        [&] {
            EXPECT_EQ(Form().GameState, gsAbout);
            harness.Char(' ');
        },
        [&] {
            EXPECT_EQ(Form().GameState, gsTitle);
            EXPECT_TRUE(Form().AboutSeen);
            passAtEsc = harness.Pass();
            harness.Char(27);
        },
    }));
    EXPECT_LE(harness.Pass(), passAtEsc + 1);
}

TEST_F(GameTest, ClosingTheWindowSavesAndLeaves) {
    ASSERT_TRUE(Run({
        [&] {
            Form().HofRank = 0;
            Form().Score = 9000;
            Form().GameState = gsNameEntry;
        },
        [&] { harness.Type("Ada"); },
        [&] { harness.Char(13); },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            harness.CloseWindow();
        },
    }));
    form.reset();
    EXPECT_EQ(folder.Read("znscore.hof").substr(0, 10), "9000 Ada\r\n");
}

TEST_F(GameTest, NoCursorConfinementEndsTheStartUp) {
    harness.FailClipCursor(true);
    ASSERT_TRUE(Run({}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Cannot contain cursor");
    EXPECT_EQ(harness.Pass(), 0);  // the main loop never ran
    EXPECT_TRUE(Form().CloseRequested());
}

TEST_F(GameTest, AReportedStartUpFailureEndsTheProgram) {
    harness.Fail(platform::Fault::DisplayMode);
    ASSERT_TRUE(Run({}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].caption, "Failure");
    EXPECT_EQ(harness.MessageBoxes()[0].text, "SetDisplayMode failed");
    EXPECT_EQ(harness.Pass(), 0);
}

TEST_F(GameTest, AMissingTitlePictureEndsTheProgramWithItsMessage) {
    std::filesystem::remove(folder.Path() / "ZNTitle.jpg");
    ASSERT_TRUE(Run({}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Failure loading ZNTitle.jpg: File does not exists");
}

TEST_F(GameTest, WithoutLevelFilesTheSelectionEndsTheProgram) {
    ASSERT_TRUE(Run({[&] { harness.Char(' '); }}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Aborting; no level files found");
    EXPECT_EQ(harness.CursorCount(), 0);
    EXPECT_FALSE(harness.CursorClipped());
}

}  // namespace
