// ReadLevelFile and ReadLevelSet on level files: a file read replaces the set, and its failures.
// The lines' own rules are the level format's.
#include <string>

#include "support/level_fixture.h"

namespace {

const std::string kHeader = "Zintrel Level File Version 1.0\r\n";

using LevelFileTest = LevelTest;

TEST_F(LevelFileTest, AFileReplacesTheSetAndItsFailuresLeaveItEmptyOrAlone) {
    Write("two.znl",
          kHeader + "Level=1,1,1,1,a.jpg\r\nGull=1,2,3,4,0,0,0\r\nLevel=2,2,2,0,b.jpg\r\n");
    Write("one.znl", kHeader + "Level=3,3,3,0,c.jpg\r\n");
    Write("none.znl", kHeader + "no levels here\r\n");
    Write("bad.znl", "zintrel level file version 1.0\nLevel=1,1,1,0,sea.jpg\n");
    PackLoaded = true;
    ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "two.znl"); }), "");
    EXPECT_EQ(Levels.Count, 2);
    EXPECT_FALSE(PackLoaded);
    ASSERT_EQ(Failure([&] { ReadLevelSet(Set(), "one.znl"); }), "");
    ASSERT_EQ(Levels.Count, 1);
    EXPECT_EQ(Levels.Items(0).PictureName, "c.jpg");
    EXPECT_EQ(Levels.Items(0).GullRecords.Count, 0);

    // A file that cannot be opened leaves the old levels alone and does not name itself.
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "missing.znl"); }), "Unable to open level file");
    EXPECT_EQ(Levels.Count, 1);
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "bad.znl"); }),
              "bad.znl is not a valid Zintrel Level File");
    EXPECT_EQ(Levels.Count, 0) << "a failure leaves the set empty";
    // A file without levels reads as an empty set; a game refuses it when it begins.
    Levels.Add(TZNLevelWrapper{});
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "none.znl"); }), "");
    EXPECT_EQ(Levels.Count, 0);
    EXPECT_EQ(Failure([&] { ReadLevelSet(Set(), "none.znl"); }), "No levels in none.znl");
}

}  // namespace
