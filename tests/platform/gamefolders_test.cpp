// The game's folders: an installed program's player's folder under the home folder, and
// player's folders that cannot be made or written. A game folder searched and written alone is
// the end-to-end checks' (the program runs from one); the installed program's player's folder
// made, searched first and written, and the reason said once where it cannot be, are the install
// suites' to check on the program itself.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
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

// A player's folder that cannot be had: nothing is written, the reason is given, and what is in
// the way is left as it is.
TEST_F(GameFoldersTest, APlayersFolderThatCannotBeHadIsReported) {
    const struct {
        std::function<void()> setUp;
        std::string dataHome, problem, kept;
    } cases[] = {
        {[&] {
             fs::create_directory(At("data"));
             folder.Write("data/zintrel", "the player's own notes");
         },
         At("data"),
         "the folder " + At("data/zintrel") + " cannot be made: a file of that name is there",
         "data/zintrel"},
        {[&] { folder.Write("data", "a file"); }, At("data/sub"),
         "the folder " + At("data/sub/zintrel") + " cannot be made (Not a directory)", "data"},
        {[&] {
             fs::create_directories(At("data/zintrel"));
             chmod(At("data/zintrel").c_str(), 0555);
         },
         At("data"), "the folder " + At("data/zintrel") + " is not writable", ""},
        {[] {}, "", "neither XDG_DATA_HOME nor HOME names a folder for them", ""},
    };
    for (const auto& c : cases) {
        if (c.problem.ends_with("is not writable") && geteuid() == 0) {
            continue;  // every folder is writable for root
        }
        fs::remove_all(At("data"));
        c.setUp();
        const std::string before = c.kept.empty() ? "" : folder.Read(c.kept);
        const platform::GameFolders folders = platform::LocateGameFolders(Installed(c.dataHome));
        chmod(At("data/zintrel").c_str(), 0755);
        EXPECT_EQ(folders.problem, c.problem);
        EXPECT_EQ(folders.write, "") << c.problem;
        EXPECT_EQ(folders.search.back(), At("prefix/share/zintrel")) << c.problem;
        if (!c.kept.empty()) {
            EXPECT_EQ(folder.Read(c.kept), before) << c.problem;
        }
    }
}

}  // namespace
