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
        // The gull covers sky within its 64 by 64 pixels.
        EXPECT_LT(Count(Shown(), RECT{300, 120, 364, 184}, TLevelEditor::kSkyColour),
                  64 * 64 - 200);
        // The band from 80 (to 200 and the gull's height below it).
        EXPECT_EQ(Pixel(Shown(), 310, 80), TLevelEditor::kBandColour);
        EXPECT_EQ(Pixel(Shown(), 310, 79), TLevelEditor::kSkyColour);
        // The arrow from the centre (332, 152) to a quarter second on: (362, 162).
        EXPECT_EQ(Pixel(Shown(), 362, 162), TLevelEditor::kHeadColour);
        // Lost surfaces come back with the sky and the marks drawn on them.
        harness.LoseSurfaces();
    });
    steps.push_back(WaitFrames(3));
    steps.push_back([&] {
        EXPECT_EQ(Pixel(Shown(), 310, 80), TLevelEditor::kBandColour);
        EXPECT_EQ(Pixel(Shown(), 362, 162), TLevelEditor::kHeadColour);
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
}

TEST_F(EditorTest, GullsOffTheScreenAreMarkedWhereTheyComeInAndTabTakesEachGull) {
    std::filesystem::create_directory(folder.Path() / "bare");
    fileName = kBare;
    // Off to the left flying right, off to the right flying left, far above, and on the screen.
    folder.Write(kBare,
                 "Zintrel Level File Version 1.0\r\nLevel=1,3,3,4\r\nGull=-64,100,60,0,0,0,0\r\n"
                 "Gull=700,300,-60,0,0,0,0\r\nGull=200,-99999,0,0,0,0,0\r\n"
                 "Gull=300,200,0,0,0,0,0\r\n");
    const POINT tips[] = {{7, 132}, {632, 332}, {232, 7}};
    std::vector<Step> steps;
    steps.push_back([&] {
        for (const POINT& tip : tips) {
            EXPECT_EQ(Pixel(Shown(), tip.x, tip.y), TLevelEditor::kHeadColour) << tip.x;
        }
        // The grid not drawn while it does not snap.
        EXPECT_EQ(Pixel(Shown(), 160, 100), TLevelEditor::kSkyColour);
        harness.Key(VK_TAB);
    });
    steps.push_back(WaitFrames(2));
    steps.push_back([&] {
        EXPECT_EQ(Editor().Selected(), 0);
        EXPECT_EQ(Pixel(Shown(), 8, 132), TLevelEditor::kSelectionColour) << "its marker outlined";
    });
    for (int i = 1; i <= 4; ++i) {
        steps.push_back([&] { harness.Key(VK_TAB); });
        steps.push_back([&, i] { EXPECT_EQ(Editor().Selected(), i % 4); });
    }
    ClickAt(steps, 632, 332);  // a marker takes a click
    Type(steps, "g");
    steps.push_back(WaitFrames(2));
    steps.push_back([&] {
        EXPECT_EQ(Editor().Selected(), 1);
        EXPECT_EQ(Pixel(Shown(), 160, 100), TLevelEditor::kGridColour);
        harness.Char(27);
    });
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
    // Two hundred changes are kept: undoing all of 201 toggles goes back to after the first.
    Type(steps, std::string(201, 'a'));
    steps.push_back([&] { EXPECT_EQ(Gulls()[0].AGull, 0); });
    Type(steps, std::string(210, kUndo));
    steps.push_back([&] {
        EXPECT_EQ(Gulls()[0].AGull, 0);
        EXPECT_EQ(Editor().EditedLevels().size(), 2u) << "the older changes are forgotten";
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
    });
    Type(steps, "kk");
    steps.push_back([&] {
        EXPECT_EQ(Editor().EditedLevels().size(), 1u);
        EXPECT_EQ(Editor().Message(), "The last level stays: a file holds one level at least");
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

TEST_F(EditorTest, TypedNumbersShowTheirRangesAndImpossibleOnesAreRefusedByName) {
    struct Typed {
        const char* key;  // the key that opens the prompt
        const char* numbers;
        const char* refusal;
    };
    const Typed refused[] = {
        {"\r", "1,2,3", "Not taken: type 7 numbers: X,Y,DX,DY,AGull,MinY,MaxY, or Esc"},
        {"\r", "99999,-99999,100000,5,7,300,100",
         "Not taken: X must be a whole number from -640 to 1280"},
        {"\r", "100,60,1001,0,0,0,0", "Not taken: DX must be a whole number from -1000 to 1000"},
        {"\r", "100,60,100,0,7,0,0", "Not taken: AGull must be a whole number from 0 to 1"},
        {"\r", "100,60,100,5,1,300,100", "Not taken: MinY must not be greater than MaxY"},
        {"m", "-5", "Not taken: MaxBombs must be a whole number from 0 to 10"},
        {"v", "abc", "Not taken: BazzleVisits must be a whole number from 0 to 10"},
        {"e", "99999999999", "Not taken: EggCount must be a whole number from 0 to 30"},
        {"e", "", "Not taken: type one number: EggCount, or Esc"},
    };
    std::vector<Step> steps;
    ClickAt(steps, 132, 92);
    Type(steps, "m");
    steps.push_back([&] {
        EXPECT_EQ(Editor().StatusLines(),
                  std::make_pair(std::string("MaxBombs 0..10"), std::string("MaxBombs: 1_")));
    });
    Type(steps, "\x1b\r");
    steps.push_back([&] {
        EXPECT_EQ(Editor().StatusLines().first,
                  "X -640..1280  Y -480..960  DX -1000..1000  DY -1000..1000  AGull 0..1  "
                  "MinY -480..960  MaxY -480..960  MinY <= MaxY");
    });
    Type(steps, "\x1b");
    for (const Typed& t : refused) {
        steps.push_back(
            [this, t] { harness.Type(t.key + std::string(20, '\b') + t.numbers + "\r"); });
        steps.push_back([this, t] {
            // The prompt stays open with what was typed, and says why in place of the ranges.
            EXPECT_EQ(Editor().StatusLines().first, t.refusal) << t.numbers;
            EXPECT_EQ(Editor().Typing(), t.numbers);
        });
        Type(steps, "\x1b");
    }
    steps.push_back([&] {
        EXPECT_EQ(Editor().EditedLevels()[0].MaxBombs, 1);
        EXPECT_EQ(Editor().EditedLevels()[0].BazzleVisits, 3);
        EXPECT_EQ(Editor().EditedLevels()[0].EggCount, 3);
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 0, 0, 0}));
    });
    Type(steps, "\x1b\x1b");
    EXPECT_TRUE(Run(steps));
}

// Esc or closing the window with unsaved changes asks first; the question holds only for the
// next Esc or close: a change, a level gone to or any other key, and it is asked again.
TEST_F(EditorTest, LeavingWithUnsavedChangesAsksFirstEachTime) {
    std::vector<Step> steps;
    ClickAt(steps, 132, 92);
    Type(steps, "\x1b");
    ClickAt(steps, 332, 92);
    Type(steps, "\x1b");
    steps.push_back([&] { harness.Key(VK_RIGHT); });
    steps.push_back([&] { harness.CloseWindow(); });
    steps.push_back([&] {
        EXPECT_FALSE(Form().CloseRequested());
        EXPECT_EQ(Gulls().size(), 2u);
        EXPECT_EQ(Editor().Message(),
                  "Unsaved changes: Ctrl+S saves, Esc again leaves without saving");
        harness.Char('g');
    });
    steps.push_back([&] { harness.CloseWindow(); });
    steps.push_back([&] {
        EXPECT_FALSE(Form().CloseRequested());
        harness.Char(27);
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
        harness.PressCtrlKey("Z");
    });
    // A new change after an undo leaves nothing to redo.
    Type(steps, "a");
    steps.push_back([&] { harness.PressCtrlKey("Y"); });
    steps.push_back([&] {
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 1, 0, 0}));
        harness.Char(27);
    });
    steps.push_back([&] { harness.Char(27); });
    EXPECT_TRUE(Run(steps));
}
