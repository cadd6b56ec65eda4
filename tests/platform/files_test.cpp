// The directory search: wildcards without regard to case, hidden entries skipped, sorted names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/api/files.h"
#include "platform/api/gamefolders.h"
#include "support/test_folder.h"

namespace {

class FilesTest : public ::testing::Test {
  protected:
    static void Touch(const std::string& name) { std::ofstream(name) << "x"; }

    TestFolder folder;
};

TEST_F(FilesTest, MatchesLikeTheOriginalFileSystem) {
    for (const char* name : {"beta.znk", "Alpha.ZNL", "gamma.zn", "delta.znkk", ".hidden.znk",
                             "Zeta.zNx", "ZNTITLE.MID", "tune.mid", "readme.txt"}) {
        Touch(name);
    }
    std::filesystem::create_directory("folder.znk");
    EXPECT_EQ(platform::FindFiles("*.zn?"),
              (std::vector<std::string>{"Alpha.ZNL", "beta.znk", "Zeta.zNx"}));
    EXPECT_EQ(platform::FindFiles("*.mid"), (std::vector<std::string>{"tune.mid", "ZNTITLE.MID"}));
    EXPECT_EQ(platform::FindFiles("*.rmi"), std::vector<std::string>{});
    EXPECT_TRUE(platform::FileExists("readme.txt"));
    // A file named in another letter case is found, as the original file system would.
    EXPECT_TRUE(platform::FileExists("README.TXT"));
    EXPECT_EQ(platform::ResolveFileName("zntitle.mid"), "./ZNTITLE.MID");
    EXPECT_EQ(platform::ResolveFileName("tune.mid"), "./tune.mid");
    EXPECT_EQ(platform::ResolveFileName("missing.mid"), "./missing.mid");
    EXPECT_FALSE(platform::FileExists("folder.znk"));
    EXPECT_FALSE(platform::FileExists("missing.txt"));
}

// The player's folder searched before the shipped one, as an installed game has them.
class TwoFoldersTest : public FilesTest {
  protected:
    void SetUp() override {
        std::filesystem::create_directory("player");
        std::filesystem::create_directory("shipped");
        platform::UseGameFolders({{"player", "shipped"}, "player", ""});
    }
    void TearDown() override { platform::UseGameFolders({}); }
};

TEST_F(TwoFoldersTest, BothFoldersAreListedOnceEachNameSorted) {
    for (const char* name : {"shipped/GullCoast.znk", "shipped/Harbour.znl", "shipped/b.mid",
                             "player/gullcoast.ZNK", "player/Aaa.znl", "player/c.mid"}) {
        Touch(name);
    }
    EXPECT_EQ(platform::FindFiles("*.zn?"),
              (std::vector<std::string>{"Aaa.znl", "gullcoast.ZNK", "Harbour.znl"}));
    EXPECT_EQ(platform::FindFiles("*.mid"), (std::vector<std::string>{"b.mid", "c.mid"}));
}

TEST_F(TwoFoldersTest, ThePlayersFileWinsOverTheShippedOne) {
    for (const char* name : {"shipped/GullCoast.znk", "shipped/Harbour.znl", "shipped/ZNTitle.jpg",
                             "player/GULLCOAST.ZNK", "player/ZNTitle.jpg"}) {
        Touch(name);
    }
    std::filesystem::create_directory("player/Harbour.znl");  // a folder is no file
    EXPECT_EQ(platform::ResolveFileName("GullCoast.znk"), "player/GULLCOAST.ZNK");
    EXPECT_EQ(platform::ResolveFileName("ZNTitle.jpg"), "player/ZNTitle.jpg");
    EXPECT_EQ(platform::ResolveFileName("harbour.znl"), "shipped/Harbour.znl");
    EXPECT_EQ(platform::FolderHolding("harbour.znl"), "shipped");
    EXPECT_TRUE(platform::FileExists("harbour.znl"));
    // A name neither holds is looked for in the player's folder.
    EXPECT_EQ(platform::ResolveFileName("znscore.hof"), "player/znscore.hof");
    EXPECT_FALSE(platform::FileExists("znscore.hof"));
}

TEST_F(TwoFoldersTest, FilesAreWrittenInThePlayersFolderOnly) {
    Touch("shipped/znscore.hof");
    EXPECT_EQ(platform::WritableFileName("znscore.hof"), "player/znscore.hof");
    Touch("player/ZNSCORE.HOF");  // the same file, as the original file system saw it
    EXPECT_EQ(platform::WritableFileName("znscore.hof"), "player/ZNSCORE.HOF");
    platform::UseGameFolders({{"player", "shipped"}, "", "a reason"});
    EXPECT_EQ(platform::WritableFileName("znscore.hof"), std::nullopt);
}

}  // namespace
