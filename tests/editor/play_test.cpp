// The preview flies the gulls as the play field's gull updater does; test play plays the level
// on screen with the game's play handler and comes back to the editor as it was.
#include <filesystem>

#include "editor_fixture.h"
#include "support/test_field.h"

TEST_F(EditorTest, ThePreviewFliesTheGullsAsThePlayFieldDoes) {
    std::filesystem::create_directory(folder.Path() / "bare");
    fileName = "bare/levels.znl";
    // Fast enough to wrap round within the preview, and up and down within its band.
    const TZNGull gull{500, 120, 600, 90, 1, 80, 200};
    std::vector<Step> steps;
    ClickAt(steps, 332, 152);
    Type(steps, "\r" + std::string(20, '\b') + "500,120,600,90,1,80,200\r ");
    steps.push_back(WaitFrames(40));
    steps.push_back([&] {
        ASSERT_TRUE(Editor().Previewing());
        ASSERT_EQ(Form().GullList.size(), 1u);
        const TDXSprite shown = Form().GullList[0];
        const double seconds = Editor().PreviewSeconds();
        const std::int32_t frames = Editor().PreviewSteps();
        ASSERT_GT(frames, 30);
        // The same gull flown by the play field on its own for the same steps of time.
        TestField field;
        field.AddGull(gull);
        field.GullsLeft = 1;
        field.FrameTime = seconds / frames;
        for (std::int32_t i = 0; i < frames; ++i) {
            field.UpdateGulls();
        }
        const TDXSprite& flown = field.GullList[0];
        EXPECT_NEAR(shown.X, flown.X, 1e-6);
        EXPECT_NEAR(shown.Y, flown.Y, 1e-6);
        EXPECT_EQ(shown.Frame, flown.Frame);
        // It has wrapped round and turned in its band.
        EXPECT_LT(shown.X, 500.0);
        harness.Char(' ');
    });
    steps.push_back([&] {
        EXPECT_FALSE(Editor().Previewing());
        EXPECT_EQ(Form().GullList[0].X, 500.0);
        EXPECT_EQ(Form().GullList[0].Y, 120.0);
        EXPECT_EQ(Gulls()[0], gull);
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    harness.SetFrameInterval(20);
    EXPECT_TRUE(Run(steps));
}

// Test play ends on a cleared level, on Esc, and on the game's end, each time back in the
// editor as it was; no score is kept and nothing saved.
TEST_F(EditorTest, TestPlayPlaysTheLevelOnScreenAndComesBackHoweverItEnds) {
    std::vector<Step> steps;
    // A level without gulls is cleared as soon as it is played.
    Type(steps, "t");
    steps.push_back(WaitUntil([&] { return Editor().TestCleared() && !Editor().TestPlaying(); }));
    steps.push_back([&] {
        EXPECT_EQ(Editor().Message(), "Test play: level cleared");
        EXPECT_EQ(Form().GameState, gsTitle);
    });
    Type(steps, "n");
    ClickAt(steps, 132, 92);
    Type(steps, "t");
    steps.push_back(WaitForPlay());
    steps.push_back([&] {
        EXPECT_TRUE(Editor().TestPlaying());
        EXPECT_EQ(Form().LevelNumber, 2);
        EXPECT_EQ(Form().GullsLeft, 1);
        EXPECT_EQ(Form().BallList.size(), 1u);
        harness.Char(27);
    });
    steps.push_back(WaitUntil([&] { return !Editor().TestPlaying(); }));
    steps.push_back([&] {
        EXPECT_FALSE(Editor().TestCleared());
        ASSERT_EQ(Editor().EditedLevels().size(), 2u);
        EXPECT_EQ(Editor().LevelIndex(), 1);
        EXPECT_EQ(Editor().Selected(), 0);
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 0, 0, 0}));
        EXPECT_EQ(Editor().Message(), "Test play ended");
        harness.Char('t');
    });
    steps.push_back(WaitForPlay());
    steps.push_back([&] {
        // A score that would reach the Hall of Fame, and the last life lost.
        Form().AddScore(50000);
        EXPECT_LT(Form().HofRank, kHallOfFameSize);
        Form().GameState = gsGameOver;
    });
    steps.push_back(WaitFrames(2));
    steps.push_back([&] {
        EXPECT_TRUE(Editor().TestPlaying());
        EXPECT_EQ(Form().GameOverPrompt(), "") << "no name to enter";
        harness.Click();
    });
    steps.push_back(WaitUntil([&] { return !Editor().TestPlaying(); }));
    steps.push_back([&] {
        EXPECT_EQ(Editor().Message(), "Test play ended");
        EXPECT_FALSE(Form().HofChanged);
        ASSERT_EQ(Gulls().size(), 1u);
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
    EXPECT_FALSE(folder.Holds("znscore.hof"));
    EXPECT_FALSE(folder.Holds("new.znl"));
}

TEST_F(EditorTest, TestPlayOfAPackShowsTheLevelsPictureAsEdited) {
    fileName = "GullCoast.znk";
    CopyShipped(fileName);
    std::vector<Step> steps;
    steps.push_back([&] { harness.Key(VK_RIGHT); });
    Type(steps, "t");
    steps.push_back(WaitForPlay());
    steps.push_back([&] {
        EXPECT_EQ(Form().LevelNumber, 2);
        EXPECT_EQ(Form().GullsLeft, Form().Levels.Items(1).GullRecords.Count);
        // The picture is the level's own, not the plain sky.
        EXPECT_LT(Count(Background(), RECT{0, 0, 640, 480}, TLevelEditor::kSkyColour), 1000);
        harness.Char(27);
    });
    steps.push_back(WaitUntil([&] { return !Editor().TestPlaying(); }));
    steps.push_back([&] {
        EXPECT_EQ(Editor().LevelIndex(), 1);
        EXPECT_FALSE(Editor().Unsaved());
        harness.Char(27);
    });
    EXPECT_TRUE(Run(steps));
    EXPECT_TRUE(folder.Read(fileName) == Shipped(fileName));
}
