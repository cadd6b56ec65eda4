// The directory search: wildcards without regard to case, hidden entries skipped, sorted names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
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

}  // namespace
