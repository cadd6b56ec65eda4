// The editor's tools as a level maker uses them: what is drawn where the numbers say, gulls
// and levels changed by keys, typed numbers, the grid, undo and redo.
#include <filesystem>

#include "editor_fixture.h"

namespace {

// The test's levels live in a folder without pictures, so the sky is plain.
constexpr const char* kBare = "bare/levels.znl";

}  // namespace

TEST_F(EditorTest, AGullItsBandAndItsArrowAreDrawnWhereItsNumbersSay) {
    std::filesystem::create_directory(folder.Path() / "bare");
    fileName = kBare;
    std::vector<Step> steps;
    ClickAt(steps, 332, 152);
    Type(steps, "\r" + std::string(20, '\b') + "300,120,120,40,1,80,200\r");
    steps.push_back(WaitFrames(2));
    steps.push_back([&] {
        ASSERT_EQ(Gulls().size(), 1u);
        EXPECT_EQ(Gulls()[0], (TZNGull{300, 120, 120, 40, 1, 80, 200}));
        // The gull covers sky within its 64 by 64 pixels, and none beside them.
        const int sky = Count(Shown(), RECT{300, 120, 364, 184}, TLevelEditor::kSkyColour);
        EXPECT_LT(sky, 64 * 64 - 200);
        EXPECT_EQ(Count(Shown(), RECT{370, 120, 434, 184}, TLevelEditor::kSkyColour), 64 * 64);
        // The band from 80 to 200 and the gull's height below it.
        EXPECT_EQ(Pixel(Shown(), 310, 80), TLevelEditor::kBandColour);
        EXPECT_EQ(Pixel(Shown(), 310, 263), TLevelEditor::kBandColour);
        EXPECT_EQ(Pixel(Shown(), 310, 79), TLevelEditor::kSkyColour);
        EXPECT_EQ(Pixel(Shown(), 310, 264), TLevelEditor::kSkyColour);
        // The arrow from the centre (332, 152) to a quarter second on: (362, 162).
        EXPECT_EQ(Pixel(Shown(), 362, 162), TLevelEditor::kHeadColour);
        EXPECT_EQ(Pixel(Shown(), 366, 162), TLevelEditor::kSkyColour);
        EXPECT_EQ(Pixel(Shown(), 368, 162), TLevelEditor::kSkyColour);
        // Lost surfaces come back with the sky and the marks drawn on them.
        harness.LoseSurfaces();
    });
    steps.push_back(WaitFrames(3));
    steps.push_back([&] {
        EXPECT_EQ(Pixel(Shown(), 310, 80), TLevelEditor::kBandColour);
        EXPECT_EQ(Pixel(Shown(), 310, 79), TLevelEditor::kSkyColour);
        EXPECT_EQ(Pixel(Shown(), 362, 162), TLevelEditor::kHeadColour);
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
}

TEST_F(EditorTest, UndoAndRedoGoBackAndForthAcrossLevels) {
    std::vector<Step> steps;
    ClickAt(steps, 132, 92);
    Type(steps, "n");
    ClickAt(steps, 232, 192);
    Type(steps, "a");
    steps.push_back([&] {
        ASSERT_EQ(Editor().EditedLevels().size(), 2u);
        EXPECT_EQ(Editor().LevelIndex(), 1);
        EXPECT_EQ(Gulls()[0].AGull, 1);
    });
    Type(steps, std::string(3, kUndo));
    steps.push_back([&] {
        ASSERT_EQ(Editor().EditedLevels().size(), 1u);
        EXPECT_EQ(Editor().LevelIndex(), 0);
        ASSERT_EQ(Gulls().size(), 1u);
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 0, 0, 0}));
    });
    Type(steps, std::string(3, kRedo));
    steps.push_back([&] {
        ASSERT_EQ(Editor().EditedLevels().size(), 2u);
        EXPECT_EQ(Editor().LevelIndex(), 1);
        ASSERT_EQ(Gulls().size(), 1u);
        EXPECT_EQ(Gulls()[0], (TZNGull{200, 160, 100, 0, 1, 0, 0}));
        EXPECT_EQ(Editor().Undo().RedoCount(), 0u);
    });
    // More than a hundred changes, every one undone.
    Type(steps, std::string(120, 'a'));
    steps.push_back([&] { EXPECT_EQ(Gulls()[0].AGull, 1); });
    Type(steps, std::string(120, kUndo));
    steps.push_back([&] {
        EXPECT_EQ(Gulls()[0].AGull, 1);
        EXPECT_EQ(Editor().Undo().UndoCount(), 4u);
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    passesAfterSteps = 4000;
    EXPECT_TRUE(Run(steps));
}

TEST_F(EditorTest, KeysChangeGullsAndLevels) {
    std::vector<Step> steps;
    Type(steps, "g");
    ClickAt(steps, 130, 95);  // the gull's corner (98, 63) snapped to the grid
    Type(steps, "d");
    steps.push_back([&] {
        EXPECT_TRUE(Editor().Snapping());
        ASSERT_EQ(Gulls().size(), 2u);
        EXPECT_EQ(Gulls()[0], (TZNGull{96, 64, 100, 0, 0, 0, 0}));
        EXPECT_EQ(Gulls()[1], (TZNGull{112, 80, 100, 0, 0, 0, 0}));
        EXPECT_EQ(Editor().Selected(), 1);
    });
    Type(steps, "x");
    steps.push_back([&] { EXPECT_EQ(Gulls().size(), 1u); });
    // The level duplicated, a new one before it, the copy moved first, one deleted.
    Type(steps, "cb");
    steps.push_back([&] {
        ASSERT_EQ(Editor().EditedLevels().size(), 3u);
        EXPECT_EQ(Editor().LevelIndex(), 1);
        EXPECT_TRUE(Gulls().empty());
        EXPECT_EQ(Editor().EditedLevels()[2].Gulls.size(), 1u);
    });
    Type(steps, "[");
    steps.push_back([&] {
        EXPECT_EQ(Editor().LevelIndex(), 0);
        harness.Key(VK_DOWN);
    });
    steps.push_back([&] {
        EXPECT_EQ(Editor().LevelIndex(), 2);
        EXPECT_EQ(Editor().StatusText().substr(0, 12), "Level 3 of 3");
        harness.Key(VK_LEFT);
    });
    Type(steps, "k");
    steps.push_back([&] {
        ASSERT_EQ(Editor().EditedLevels().size(), 2u);
        EXPECT_EQ(Editor().LevelIndex(), 1);
        harness.PressKey("F1");
    });
    steps.push_back([&] {
        EXPECT_TRUE(Editor().HelpShown());
        harness.Char(27);
    });
    steps.push_back([&] {
        EXPECT_FALSE(Editor().HelpShown());
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
}

TEST_F(EditorTest, ImpossibleNumbersAreRefusedWithAMessage) {
    std::vector<Step> steps;
    ClickAt(steps, 132, 92);
    Type(steps, "\r" + std::string(20, '\b') + "1,2,3\r");
    steps.push_back([&] {
        EXPECT_EQ(Editor().Message(),
                  "Not taken: type seven whole numbers: X,Y,DX,DY,AGull,MinY,MaxY, or Esc");
        EXPECT_EQ(Editor().Typing(), "1,2,3");
    });
    Type(steps, std::string(20, '\b') + "1,2,3,4,5,6,99999999999\r");
    steps.push_back([&] { EXPECT_EQ(Editor().Message().substr(0, 10), "Not taken:"); });
    Type(steps, std::string(1, 27));
    Type(steps, "m\b-3\r");
    steps.push_back([&] {
        EXPECT_EQ(Editor().Message(), "Not taken: the number cannot be negative");
        EXPECT_EQ(Editor().EditedLevels()[0].MaxBombs, 1);
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 0, 0, 0}));
    });
    Type(steps, std::string(1, 27));
    steps.push_back([&] { harness.Char(27); });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
}

TEST_F(EditorTest, ClosingTheWindowWithUnsavedChangesAsksFirst) {
    std::vector<Step> steps;
    ClickAt(steps, 132, 92);
    steps.push_back([&] { harness.CloseWindow(); });
    steps.push_back([&] {
        EXPECT_FALSE(Form().CloseRequested());
        EXPECT_EQ(Editor().Message(),
                  "Unsaved changes: Ctrl+S saves, Esc again leaves without saving");
        // Any other key goes on editing; the question is asked again.
        harness.Char('g');
    });
    steps.push_back([&] { harness.CloseWindow(); });
    steps.push_back([&] {
        EXPECT_FALSE(Form().CloseRequested());
        harness.CloseWindow();
    });
    EXPECT_TRUE(Run(steps));
    EXPECT_FALSE(folder.Holds("new.znl"));
}

TEST_F(EditorTest, ADragIsOneChangeToUndo) {
    std::vector<Step> steps;
    ClickAt(steps, 132, 92);
    PointAt(steps, 140, 100);
    steps.push_back([&] { harness.Press(); });
    PointAt(steps, 150, 100);
    PointAt(steps, 170, 110);
    steps.push_back([&] { harness.Release(); });
    steps.push_back([&] {
        EXPECT_EQ(Gulls()[0], (TZNGull{130, 70, 100, 0, 0, 0, 0}));
        EXPECT_EQ(Editor().Undo().UndoCount(), 2u);
        harness.PressCtrlKey("Z");
    });
    steps.push_back([&] {
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 0, 0, 0}));
        harness.PressCtrlKey("Y");
    });
    steps.push_back([&] {
        EXPECT_EQ(Gulls()[0], (TZNGull{130, 70, 100, 0, 0, 0, 0}));
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
}
