// The editor's files: a new file made by mouse and keys and read back by the game's reader,
// shipped files saved unchanged or with one gull changed, and files refused or not written.
#include <filesystem>

#include "editor_fixture.h"
#include "levelformat/levelpack.h"

namespace {

std::vector<std::uint8_t> BytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

TEST_F(EditorTest, ANewFileOfTwoLevelsReadsBackAsMade) {
    std::vector<Step> steps;
    // Level 1: a gull at (100, 60) turned to fly left at 120 pixels a second.
    ClickAt(steps, 132, 92);
    steps.push_back([&] {
        ASSERT_EQ(Gulls().size(), 1u);
        EXPECT_EQ(Gulls()[0], (TZNGull{100, 60, 100, 0, 0, 0, 0}));
    });
    Drag(steps, {153, 96}, {102, 92});  // the arrow's head, taken a few pixels off
    // A gull of the second kind at (300, 120), its band dragged out to 80 and 200, its motion
    // to 120 across and 40 down.
    ClickAt(steps, 332, 152);
    Type(steps, "a");
    Drag(steps, {332, 120}, {332, 80});
    Drag(steps, {332, 183}, {332, 263});
    Drag(steps, {357, 152}, {362, 162});
    // Level 2 after it: one gull typed in, and its three numbers.
    Type(steps, "n");
    ClickAt(steps, 32, 72);
    Type(steps, "\r");
    Type(steps, std::string(20, '\b') + "0,40,150,0,1,0,0\r");
    Type(steps, "m\b2\rv\b2\re\b5\r");
    steps.push_back([&] {
        EXPECT_EQ(Editor().StatusText().substr(0, 12), "Level 2 of 2");
        EXPECT_TRUE(Editor().Unsaved());
        // Ctrl+S on the keyboard.
        harness.PressCtrlKey("S");
    });
    steps.push_back([&] {
        EXPECT_FALSE(Editor().Unsaved()) << Editor().Message();
        harness.Char(27);
    });
    EXPECT_TRUE(Run(steps));

    TZNLevelList expected;
    expected.Add(MakeLevel(1, 3, 3, "ZNTitle.jpg",
                           {{100, 60, -120, 0, 0, 0, 0}, {300, 120, 120, 40, 1, 80, 200}}));
    expected.Add(MakeLevel(2, 2, 5, "ZNTitle.jpg", {{0, 40, 150, 0, 1, 0, 0}}));
    EXPECT_EQ(ReadBack("new.znl"), expected);
    EXPECT_EQ(folder.Read("new.znl"),
              "Zintrel Level File Version 1.0\r\nLevel=1,3,3,2,ZNTitle.jpg\r\n"
              "Gull=100,60,-120,0,0,0,0\r\nGull=300,120,120,40,1,80,200\r\n"
              "Level=2,2,5,1,ZNTitle.jpg\r\nGull=0,40,150,0,1,0,0\r\n");
    EXPECT_FALSE(folder.Holds("new.znl.new"));
}

TEST_F(EditorTest, TheShippedLevelFileAndPackSaveUnchanged) {
    for (const std::string name : {"Harbour.znl", "GullCoast.znk"}) {
        fileName = name;
        CopyShipped(name);
        EXPECT_TRUE(Run({[&] { harness.Char(kSave); },
                         [&] {
                             EXPECT_EQ(Editor().Message(), "Saved " + name);
                             harness.Char(27);
                         }}));
        EXPECT_TRUE(folder.Read(name) == Shipped(name)) << name << " changed";
    }
}

TEST_F(EditorTest, MovingOneGullOfTheShippedPackChangesOnlyItsRecord) {
    fileName = "GullCoast.znk";
    CopyShipped(fileName);
    const std::string shipped = Shipped(fileName);
    auto pack = levelformat::ReadPack(BytesOf(shipped), fileName);
    ASSERT_TRUE(pack.Ok());
    // The first gull of the first level wholly on the screen.
    TZNLevelWrapper first = pack.Value.Levels.Items(0);
    std::int32_t index = -1;
    for (std::int32_t i = 0; i < first.GullRecords.Count && index < 0; ++i) {
        const TZNGull& g = first.GullRecords.Items(i);
        if (g.X >= 0 && g.X <= 560 && g.Y >= 0 && g.Y <= 360) {
            index = i;
        }
    }
    ASSERT_GE(index, 0);
    const TZNGull before = first.GullRecords.Items(index);
    std::vector<Step> steps;
    Drag(steps, {before.X + 30, before.Y + 30}, {before.X + 40, before.Y + 30});
    Type(steps, std::string(1, kSave) + "\x1b");
    EXPECT_TRUE(Run(steps));

    const std::string saved = folder.Read(fileName);
    const auto reread = levelformat::ReadPack(BytesOf(saved), fileName);
    ASSERT_TRUE(reread.Ok()) << reread.Error;
    levelformat::LevelPack expected = pack.Value;
    expected.Levels.Items(0).GullRecords.Items(index).X += 10;
    EXPECT_EQ(reread.Value, expected);
    // Byte for byte, only the four bytes of that gull's X differ.
    ASSERT_EQ(saved.size(), shipped.size());
    std::vector<std::size_t> differ;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] != shipped[i]) {
            differ.push_back(i);
        }
    }
    ASSERT_FALSE(differ.empty());
    EXPECT_LT(differ.back() - differ.front(), 4u);
}

TEST_F(EditorTest, AFileTheReaderRefusesIsShownAndKept) {
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"bad.znl", "Zintrel Level File Version 2.0\r\nLevel=1,3,3,0\r\n"},
        {"bad.znk", Shipped("GullCoast.znk").substr(0, 100)},
    };
    const std::vector<std::string> messages = {"bad.znl is not a valid Zintrel Level File",
                                               "Level pack bad.znk corrupted. Aborting."};
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        fileName = damaged[i].first;
        folder.Write(fileName, damaged[i].second);
        const std::size_t shown = harness.MessageBoxes().size();
        EXPECT_TRUE(Run({}));
        ASSERT_EQ(harness.MessageBoxes().size(), shown + 1);
        EXPECT_EQ(harness.MessageBoxes().back().text, messages[i]);
        EXPECT_EQ(folder.Read(fileName), damaged[i].second);
    }
}

TEST_F(EditorTest, AFileThatCannotBeWrittenKeepsEverything) {
    fileName = "Harbour.znl";
    CopyShipped(fileName);
    // The new file that would take the old one's place cannot be made.
    std::filesystem::create_directory(folder.Path() / "Harbour.znl.new");
    std::vector<Step> steps;
    Drag(steps, {200, 130}, {208, 134});
    steps.push_back([&] { harness.Char(kSave); });
    steps.push_back([&] {
        EXPECT_EQ(Editor().Message().rfind("Not saved: cannot write Harbour.znl.new", 0), 0u)
            << Editor().Message();
        EXPECT_TRUE(Editor().Unsaved());
        EXPECT_EQ(Gulls()[1], (TZNGull{178, 104, 60, 0, 0, 0, 0}));
        // Leaving asks first; a second Esc leaves.
        harness.Char(27);
    });
    steps.push_back([&] {
        EXPECT_FALSE(Form().CloseRequested());
        EXPECT_EQ(Editor().Message(),
                  "Unsaved changes: Ctrl+S saves, Esc again leaves without saving");
        harness.Char(27);
    });
    EXPECT_TRUE(Run(steps));
    EXPECT_EQ(folder.Read(fileName), Shipped(fileName));
}

// Unsaved work kept by an ended editor is offered by the next edit, which takes only the answer:
// N deletes it. Keeping it at a termination request and Y taking it up are the end-to-end
// editor check's.
TEST_F(EditorTest, UnsavedWorkOfAnEndedEditorIsOfferedAndNDeletesIt) {
    fileName = "Harbour.znl";
    CopyShipped(fileName);
    std::string moved = Shipped(fileName);
    const std::string line = "Gull=170,100,60,0,0,0,0\r\n";
    moved.replace(moved.find(line), line.size(), "Gull=178,104,60,0,0,0,0\r\n");
    folder.Write("Harbour.znl~", moved);
    std::vector<Step> steps;
    ClickAt(steps, 400, 300);
    steps.push_back([&] {
        EXPECT_TRUE(Editor().OfferingRecovery());
        EXPECT_EQ(
            Editor().StatusLines().second,
            "Harbour.znl~ holds unsaved work of an ended editor: Y takes it up, N deletes it");
        EXPECT_EQ(Gulls().size(), 3u) << "a click does nothing while it is offered";
        harness.Char('n');
    });
    steps.push_back([&] {
        EXPECT_FALSE(Editor().OfferingRecovery());
        EXPECT_FALSE(folder.Holds("Harbour.znl~"));
        EXPECT_FALSE(Editor().Unsaved());
        EXPECT_EQ(Gulls()[1].X, 170);
        harness.Char(27);
    });
    EXPECT_TRUE(Run(steps));
    EXPECT_EQ(folder.Read(fileName), Shipped(fileName));
}

TEST_F(EditorTest, PicturesAreChosenFromTheFolderAndABrokenOneIsShownAsSky) {
    std::filesystem::create_directory(folder.Path() / "pics");
    folder.Write("pics/harbour01.jpg", Shipped("harbour01.jpg"));
    folder.Write("pics/harbour02.JPEG", Shipped("harbour02.jpg"));
    folder.Write("pics/zbroken.jpg", "not a picture");
    fileName = "pics/new.znl";
    std::vector<Step> steps;
    steps.push_back([&] { EXPECT_EQ(Editor().EditedLevels()[0].PictureName, "harbour01.jpg"); });
    Type(steps, "p");
    steps.push_back([&] { EXPECT_EQ(Editor().EditedLevels()[0].PictureName, "harbour02.JPEG"); });
    Type(steps, "p");
    steps.push_back(WaitFrames(2));
    steps.push_back([&] {
        EXPECT_EQ(Editor().EditedLevels()[0].PictureName, "zbroken.jpg");
        EXPECT_EQ(Editor().Message().rfind("Picture zbroken.jpg cannot be loaded", 0), 0u)
            << Editor().Message();
        EXPECT_EQ(Count(Shown(), RECT{0, 0, 640, 400}, TLevelEditor::kSkyColour), 640 * 400);
    });
    Type(steps, "p");
    steps.push_back(WaitFrames(2));
    steps.push_back([&] {
        EXPECT_EQ(Editor().EditedLevels()[0].PictureName, "harbour01.jpg");
        EXPECT_LT(Count(Shown(), RECT{0, 0, 640, 400}, TLevelEditor::kSkyColour), 640 * 100);
    });
    Type(steps, std::string(1, kSave) + "\x1b");
    EXPECT_TRUE(Run(steps));
    EXPECT_EQ(ReadBack("pics/new.znl").Items(0).PictureName, "harbour01.jpg");
}

// A pack is not saved with an empty picture; it takes the chosen picture in.
TEST_F(EditorTest, APackTakesTheChosenPictureInAndNoEmptyOne) {
    std::filesystem::create_directory(folder.Path() / "pics");
    folder.Write("pics/empty.jpg", "");
    for (const char* name : {"harbour01.jpg", "harbour02.jpg"}) {
        folder.Write(std::string("pics/") + name, Shipped(name));
    }
    fileName = "pics/new.znk";
    std::vector<Step> steps;
    steps.push_back([&] { harness.Char(kSave); });
    steps.push_back([&] {
        EXPECT_EQ(Editor().Message(), "Not saved: level 1 has no picture: import one first");
        EXPECT_FALSE(folder.Holds("pics/new.znk"));
        harness.Char('p');
    });
    steps.push_back([&] {
        ASSERT_TRUE(Editor().EditedLevels()[0].Picture);
        EXPECT_EQ(*Editor().EditedLevels()[0].Picture, BytesOf(Shipped("harbour01.jpg")));
    });
    Type(steps, "p");
    Type(steps, std::string(1, kSave) + "\x1b");
    EXPECT_TRUE(Run(steps));
    const auto pack = levelformat::ReadPack(BytesOf(folder.Read("pics/new.znk")), "new.znk");
    ASSERT_TRUE(pack.Ok()) << pack.Error;
    ASSERT_EQ(pack.Value.Pictures.size(), 1u);
    EXPECT_EQ(pack.Value.Pictures[0], BytesOf(Shipped("harbour02.jpg")));
}
