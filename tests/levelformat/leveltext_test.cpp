// ReadLevelText and WriteLevelText: damaged texts and their messages, the written lines and
// their order, texts written and read back, and the shipped level file written again.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "levelformat/files.h"
#include "levelformat/leveltext.h"

namespace {

using levelformat::ReadLevelText;
using levelformat::WriteLevelText;

const std::filesystem::path kGame = ZINTREL_GAME_DIR;

TZNLevelWrapper Level(std::int32_t bombs, std::int32_t bazzles, std::int32_t eggs,
                      const std::string& picture, std::initializer_list<TZNGull> gulls) {
    TZNLevelWrapper level{bombs,   bazzles, eggs, static_cast<std::int32_t>(gulls.size()),
                          picture, {}};
    for (const TZNGull& gull : gulls) {
        level.GullRecords.Add(gull);
    }
    return level;
}

// The two levels of the level file's description.
TZNLevelList TwoLevels() {
    TZNLevelList levels;
    levels.Add(
        Level(1, 3, 3, "sea.jpg", {{100, 60, -90, 0, 0, 0, 0}, {300, 120, 120, 40, 1, 80, 200}}));
    levels.Add(Level(2, 2, 5, "dunes.jpg", {{0, 40, 150, 0, 1, 0, 0}}));
    return levels;
}

TEST(LevelTextTest, EachDamagedTextHasItsMessageAndNoLevels) {
    struct Damaged {
        const char* what;
        std::string text;
    };
    const Damaged damaged[] = {
        {"empty", ""},
        {"the header without its line end", "Zintrel Level File Version 1.0"},
        {"the header in other letters", "zintrel level file version 1.0\n"},
        {"another version", "Zintrel Level File Version 1.1\n"},
        {"a space after the header", "Zintrel Level File Version 1.0 \n"},
        {"a space before the header", " Zintrel Level File Version 1.0\n"},
        {"an empty line first", "\nZintrel Level File Version 1.0\n"},
        {"a lone carriage return", "Zintrel Level File Version 1.0\r"},
        {"two carriage returns", "Zintrel Level File Version 1.0\r\r\n"},
        {"a pack", "ZNK1\x01\x00\x00\x00"},
    };
    for (const Damaged& d : damaged) {
        const auto result = ReadLevelText(d.text + "Level=1,1,1,0,sea.jpg\n", "x/bad.znl");
        EXPECT_EQ(result.Error, "x/bad.znl is not a valid Zintrel Level File") << d.what;
        EXPECT_FALSE(result.Ok()) << d.what;
        EXPECT_EQ(result.Value.Count, 0) << d.what;
    }
    for (const char* header :
         {"Zintrel Level File Version 1.0\n", "Zintrel Level File Version 1.0\r\n"}) {
        const auto result = ReadLevelText(header, "good.znl");
        EXPECT_TRUE(result.Ok()) << result.Error;
        EXPECT_EQ(result.Value.Count, 0);
    }
}

TEST(LevelTextTest, TheWriterPutsTheLinesInTheirOrder) {
    EXPECT_EQ(WriteLevelText(TwoLevels()),
              "Zintrel Level File Version 1.0\r\n"
              "Level=1,3,3,2,sea.jpg\r\n"
              "Gull=100,60,-90,0,0,0,0\r\n"
              "Gull=300,120,120,40,1,80,200\r\n"
              "Level=2,2,5,1,dunes.jpg\r\n"
              "Gull=0,40,150,0,1,0,0\r\n");
    // The count written is the number of gulls; a level without a picture has no name field.
    TZNLevelList levels;
    levels.Add({7, 0, -3, 99, "", {}});
    EXPECT_EQ(WriteLevelText(levels), "Zintrel Level File Version 1.0\r\nLevel=7,0,-3,0\r\n");
    EXPECT_EQ(WriteLevelText({}), "Zintrel Level File Version 1.0\r\n");
}

TEST(LevelTextTest, AWrittenTextReadsBackToTheSameRecordsAndWritesAgainAlike) {
    TZNLevelList levels = TwoLevels();
    levels.Add(Level(INT_MIN, INT_MAX, 0, "", {}));
    levels.Add(Level(-1, 0, 1, "a picture with spaces .jpg",
                     {{INT_MIN, INT_MAX, -1, 1, 2, -50, 50}, {0, 0, 0, 0, 0, 0, 0}}));
    const std::string text = WriteLevelText(levels);
    const auto read = ReadLevelText(text, "trip.znl");
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_TRUE(read.Value == levels);
    EXPECT_EQ(WriteLevelText(read.Value), text);
}

TEST(LevelTextTest, WhatAnOddTextGivesIsWrittenSoThatItReadsBackTheSame) {
    const std::string odd = std::string(levelformat::kLevelFileHeader) +
                            "\n"
                            "Gull=1,1,1,1,1,1,1\n"
                            "Level=1,,3,3,2\n"
                            "Gull=5,6\n"
                            "Gull=,,7,,8\r\n"
                            "Gull=100,50,-80,0,1,20,200,9\n"
                            "; a remark\n"
                            "Level= +7,\t8x,-0,junk, my sea .jpg \n"
                            "Level=2,3,4,6,C:\\pics\\sea.jpg\n"
                            "Level=1,2,3,4,,odd.jpg\n"
                            "Gull=4294967297,-1\n"
                            "Level=5,6";
    const auto first = ReadLevelText(odd, "odd.znl");
    ASSERT_TRUE(first.Ok()) << first.Error;
    ASSERT_EQ(first.Value.Count, 5);
    const std::string text = WriteLevelText(first.Value);
    const auto again = ReadLevelText(text, "again.znl");
    ASSERT_TRUE(again.Ok()) << again.Error;
    ASSERT_EQ(again.Value.Count, first.Value.Count);
    auto read = first.Value.begin();
    for (const TZNLevelWrapper& level : again.Value) {
        TZNLevelWrapper expected = *read;
        expected.GullCount = expected.GullRecords.Count;
        EXPECT_TRUE(level == expected) << level.PictureName;
        ++read;
    }
    EXPECT_EQ(WriteLevelText(again.Value), text);
}

TEST(LevelTextTest, TheShippedLevelFileIsWrittenAgainByteForByte) {
    const std::filesystem::path path = kGame / "Harbour.znl";
    const std::optional<std::string> text = levelformat::ReadFileText(path);
    ASSERT_TRUE(text.has_value()) << path;
    const auto read = ReadLevelText(*text, path.string());
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_EQ(read.Value.Count, 10);
    EXPECT_EQ(WriteLevelText(read.Value), *text);
}

}  // namespace
