// The game's folders: the build's game folder, an installed program with the player's folder,
// and player's folders that cannot be made or written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/api/gamefolders.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

class GameFoldersTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::UseGameFolders({}); }

    std::string At(const std::string& name) const { return (folder.Path() / name).string(); }
    // An installed program: PREFIX/bin beside PREFIX/share/zintrel.
    platform::FolderEnvironment Installed(const std::string& dataHome,
                                          const std::string& home = "") const {
        fs::create_directories(At("prefix/bin"));
        fs::create_directories(At("prefix/share/zintrel"));
        return {At("prefix/bin"), dataHome, home};
    }

    TestFolder folder;
};

TEST_F(GameFoldersTest, AFolderHoldingTheTitlePictureIsSearchedAndWrittenAlone) {
    fs::create_directory(At("game"));
    folder.Write("game/zntitle.JPG", "picture");
    const platform::GameFolders folders =
        platform::LocateGameFolders({At("game"), At("data"), At("home")});
    EXPECT_EQ(folders.search, std::vector<std::string>{At("game")});
    EXPECT_EQ(folders.write, At("game"));
    EXPECT_EQ(folders.problem, "");
    EXPECT_FALSE(folder.Holds("data"));  // no player's folder is made beside a game folder
    EXPECT_FALSE(folder.Holds("home"));
}

TEST_F(GameFoldersTest, AnInstalledProgramMakesThePlayersFolderAndSearchesItFirst) {
    const platform::GameFolders folders = platform::LocateGameFolders(Installed(At("data")));
    EXPECT_EQ(folders.search,
              (std::vector<std::string>{At("data/zintrel"), At("prefix/share/zintrel")}));
    EXPECT_EQ(folders.write, At("data/zintrel"));
    EXPECT_EQ(folders.problem, "");
    EXPECT_TRUE(fs::is_directory(At("data/zintrel")));
}

TEST_F(GameFoldersTest, WithoutAnAbsoluteDataHomeThePlayersFolderIsUnderHome) {
    for (const std::string dataHome : {"", "relative/data"}) {
        const platform::GameFolders folders =
            platform::LocateGameFolders(Installed(dataHome, At("home")));
        EXPECT_EQ(folders.write, At("home/.local/share/zintrel"));
        EXPECT_EQ(folders.search.front(), At("home/.local/share/zintrel"));
        EXPECT_TRUE(fs::is_directory(At("home/.local/share/zintrel")));
    }
    EXPECT_FALSE(fs::exists("relative"));
}

TEST_F(GameFoldersTest, AFileWhereTheFolderShouldBeIsLeftAsItIs) {
    fs::create_directory(At("data"));
    folder.Write("data/zintrel", "the player's own notes");
    const platform::GameFolders folders = platform::LocateGameFolders(Installed(At("data")));
    EXPECT_EQ(folders.write, "");
    EXPECT_EQ(folders.problem,
              "the folder " + At("data/zintrel") + " cannot be made: a file of that name is there");
    EXPECT_EQ(folders.search,
              (std::vector<std::string>{At("data/zintrel"), At("prefix/share/zintrel")}));
    EXPECT_EQ(folder.Read("data/zintrel"), "the player's own notes");
}

TEST_F(GameFoldersTest, AFolderThatCannotBeMadeIsReported) {
    folder.Write("data", "a file");
    const platform::GameFolders folders = platform::LocateGameFolders(Installed(At("data/sub")));
    EXPECT_EQ(folders.write, "");
    EXPECT_EQ(folders.problem,
              "the folder " + At("data/sub/zintrel") + " cannot be made (Not a directory)");
    EXPECT_EQ(folder.Read("data"), "a file");
}

TEST_F(GameFoldersTest, AReadOnlyFolderIsReported) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "every folder is writable for root";
    }
    fs::create_directories(At("data/zintrel"));
    chmod(At("data/zintrel").c_str(), 0555);
    const platform::GameFolders folders = platform::LocateGameFolders(Installed(At("data")));
    chmod(At("data/zintrel").c_str(), 0755);
    EXPECT_EQ(folders.write, "");
    EXPECT_EQ(folders.problem, "the folder " + At("data/zintrel") + " is not writable");
}

TEST_F(GameFoldersTest, WithoutAHomeOnlyTheShippedFilesAreSearched) {
    const platform::GameFolders folders = platform::LocateGameFolders(Installed(""));
    EXPECT_EQ(folders.search, std::vector<std::string>{At("prefix/share/zintrel")});
    EXPECT_EQ(folders.write, "");
    EXPECT_EQ(folders.problem, "neither XDG_DATA_HOME nor HOME names a folder for them");
}

TEST_F(GameFoldersTest, TheProgramSaysOnceWhyScoresWillNotBeKept) {
    folder.Write("zintrel", "in the way");
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("XDG_DATA_HOME", folder.Path().c_str(), 1);
    ::testing::internal::CaptureStderr();
    platform::SetUpGameFolders();
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (previous != nullptr) {
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
    EXPECT_EQ(said, "Scores will not be kept: the folder " + At("zintrel") +
                        " cannot be made: a file of that name is there\n");
    EXPECT_EQ(platform::ActiveGameFolders().write, "");
    EXPECT_EQ(folder.Read("zintrel"), "in the way");
}

}  // namespace
