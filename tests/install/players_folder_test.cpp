// The installed game in play: the player's folder made, read and written, and the shipped files
// beside it read and never written. A player's folder that cannot be written is the installed
// game script's.
#include <filesystem>
#include <map>
#include <string>

#include "platform/api/gamefolders.h"
#include "support/game_fixture.h"

namespace {

namespace fs = std::filesystem;

// Every file under a folder with its contents.
std::map<std::string, std::string> Contents(const TestFolder& folder, const std::string& under) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path() / under)) {
        if (entry.is_regular_file()) {
            const std::string name = fs::relative(entry.path(), folder.Path()).string();
            files[name] = folder.Read(name);
        }
    }
    return files;
}

// Lays out the program installed in PREFIX/bin with its title picture and a level pack in
// PREFIX/share/zintrel.
void Install(const TestFolder& folder) {
    fs::create_directories(folder.Path() / "prefix/bin");
    fs::create_directories(folder.Path() / "prefix/share/zintrel");
    fs::copy_file(fs::path(ZINTREL_GAME_DIR) / "ZNTitle.jpg",
                  folder.Path() / "prefix/share/zintrel/ZNTitle.jpg");
    fs::copy_file(fs::path(ZINTREL_GAME_DIR) / "GullCoast.znk",
                  folder.Path() / "prefix/share/zintrel/GullCoast.znk");
}

class InstalledGameTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        fs::remove(folder.Path() / "ZNTitle.jpg");  // read from the install only
        Install(folder);
        // The folders the program entry would locate for it, the player's data under "data";
        // the test's folder stays the current one.
        platform::UseGameFolders(platform::LocateGameFolders(
            {(folder.Path() / "prefix/bin").string(), (folder.Path() / "data").string(), ""}));
    }
    void TearDown() override {
        GameTest::TearDown();
        platform::UseGameFolders({});
    }
};

// The player's level files are listed beside the shipped ones, one of a shipped name in its
// place; the score file after a name entry lands in the player's folder.
TEST_F(InstalledGameTest, ThePlayersFolderHoldsLevelFilesAndTheScoreFile) {
    folder.Write("prefix/share/zintrel/Harbour.znl", "Zintrel Level File Version 1.0\n");
    folder.Write("data/zintrel/Aaa.znl", "Zintrel Level File Version 1.0\n");
    folder.Write("data/zintrel/harbour.ZNL", "Zintrel Level File Version 1.0\n");
    folder.Write("data/zintrel/znscore.hof", "9500 Bea\r\n");
    const auto shipped = Contents(folder, "prefix");
    ASSERT_TRUE(Run({[&] {
        EXPECT_EQ(*Form().PackFiles,
                  (std::vector<std::string>{"Aaa.znl", "GullCoast.znk", "harbour.ZNL"}));
        harness.CloseWindow();
    }}));
    ASSERT_TRUE(EnterNameAndClose(1, 9000, "Ada"));
    EXPECT_EQ(Form().HallOfFame[0].Name, "Bea");
    form.reset();
    EXPECT_EQ(folder.Read("data/zintrel/znscore.hof").substr(0, 20), "9500 Bea\r\n9000 Ada\r\n");
    EXPECT_FALSE(folder.Holds("znscore.hof"));
    EXPECT_EQ(Contents(folder, "prefix"), shipped);
}

// A damaged pack of the player's with a shipped pack's name is read in its place, and its
// reader's message ends the game; the file is left as it is.
TEST_F(InstalledGameTest, ADamagedPlayersPackOfAShippedNameGivesTheReadersMessage) {
    folder.Write("data/zintrel/gullcoast.znk", "ZNK1 broken");
    ASSERT_TRUE(Run({[&] { harness.Char(' '); }}));  // one level set: played at once
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Level pack gullcoast.znk corrupted. Aborting.");
    EXPECT_EQ(folder.Read("data/zintrel/gullcoast.znk"), "ZNK1 broken");
}

}  // namespace
