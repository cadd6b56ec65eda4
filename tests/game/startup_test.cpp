// Start-up, the farewell and the exit path, and the failures that end the program.
#include "support/game_fixture.h"

#include "platform/api/cursor.h"

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

TEST_F(GameTest, NoCursorConfinementEndsTheStartUp) {
    harness.FailClipCursor(true);
    ASSERT_TRUE(Run({}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Cannot contain cursor");
    EXPECT_EQ(harness.Pass(), 0);  // the main loop never ran
    EXPECT_TRUE(Form().CloseRequested());
    EXPECT_TRUE(Application.EndedOnError());
}

TEST_F(GameTest, AReportedStartUpFailureEndsTheProgram) {
    harness.Fail(platform::Fault::DisplayMode);
    ASSERT_TRUE(Run({}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].caption, "Failure");
    EXPECT_EQ(harness.MessageBoxes()[0].text, "SetDisplayMode failed");
    EXPECT_EQ(harness.Pass(), 0);
    EXPECT_TRUE(Application.EndedOnError());
}

TEST_F(GameTest, AMissingTitlePictureEndsTheProgramWithItsMessage) {
    std::filesystem::remove(folder.Path() / "ZNTitle.jpg");
    ASSERT_TRUE(Run({}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Failure loading ZNTitle.jpg: File does not exists");
    EXPECT_TRUE(Application.EndedOnError());
}

TEST_F(GameTest, WithoutLevelFilesTheSelectionEndsTheProgram) {
    ASSERT_TRUE(Run({[&] { harness.Char(' '); }}));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Aborting; no level files found");
    EXPECT_EQ(harness.CursorCount(), 0);
    EXPECT_FALSE(harness.CursorClipped());
    EXPECT_TRUE(Application.EndedOnError());
}

TEST_F(GameTest, ADamagedPackChosenEndsTheProgramOnItsError) {
    AddLevelFiles({"Good.znk"});
    folder.Write("Damaged.znk", "not a level pack at all");
    ASSERT_TRUE(Run({
        [&] { harness.Char(' '); },
        [&] {
            // The list starts at the first name, the damaged pack's.
            ASSERT_EQ(Form().GameState, gsSelectPack);
            harness.Char(13);
        },
    }));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Level pack Damaged.znk corrupted. Aborting.");
    EXPECT_TRUE(Application.EndedOnError());
}

}  // namespace
