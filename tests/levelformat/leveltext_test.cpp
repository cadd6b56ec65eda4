// ReadLevelText and WriteLevelText: damaged texts and their messages, level and gull lines read
// by the C library's token rules, long lines, the written lines and their order, and texts
// written and read back. The shipped level file written again is the editor's to check.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "levelformat/leveltext.h"

namespace {

using levelformat::ReadLevelText;
using levelformat::WriteLevelText;

const std::string kHeader = std::string(levelformat::kLevelFileHeader) + "\n";

TZNLevelWrapper Level(std::int32_t bombs, std::int32_t bazzles, std::int32_t eggs,
                      const std::string& picture, std::initializer_list<TZNGull> gulls) {
    TZNLevelWrapper level{bombs,   bazzles, eggs, static_cast<std::int32_t>(gulls.size()),
                          picture, {}};
    for (const TZNGull& gull : gulls) {
        level.GullRecords.Add(gull);
    }
    return level;
}

// The lines joined, each ended by `end`.
std::string Lines(const std::vector<std::string>& lines, const std::string& end = "\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    return text;
}

// Reads a valid text, and checks that what it gives is written so that it reads back the same,
// each level counting its own gulls.
TZNLevelList Read(const std::string& text) {
    auto read = ReadLevelText(text, "t.znl");
    EXPECT_TRUE(read.Ok()) << read.Error;
    const std::string written = WriteLevelText(read.Value);
    auto again = ReadLevelText(written, "again.znl");
    EXPECT_EQ(again.Value.Count, read.Value.Count);
    for (std::int32_t i = 0; i < std::min(again.Value.Count, read.Value.Count); ++i) {
        TZNLevelWrapper expected = read.Value.Items(i);
        expected.GullCount = expected.GullRecords.Count;
        EXPECT_TRUE(again.Value.Items(i) == expected) << "level " << i << " written and read";
    }
    EXPECT_EQ(WriteLevelText(again.Value), written);
    return read.Value;
}

TEST(LevelTextTest, EachDamagedTextHasItsMessageAndNoLevels) {
    const std::pair<const char*, std::string> damaged[] = {
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
    for (const auto& [what, text] : damaged) {
        const auto result = ReadLevelText(text + "Level=1,1,1,0,sea.jpg\n", "x/bad.znl");
        EXPECT_EQ(result.Error, "x/bad.znl is not a valid Zintrel Level File") << what;
        EXPECT_EQ(result.Value.Count, 0) << what;
    }
    for (const char* header :
         {"Zintrel Level File Version 1.0\n", "Zintrel Level File Version 1.0\r\n"}) {
        const auto result = ReadLevelText(header, "good.znl");
        EXPECT_TRUE(result.Ok()) << result.Error;
        EXPECT_EQ(result.Value.Count, 0);
    }
}

TEST(LevelTextTest, LevelLinesGiveFourIntegersAndAPictureName) {
    struct Expected {
        std::string line;
        std::int32_t maxBombs, bazzles, eggs, gulls;
        std::string picture;
    };
    const std::vector<Expected> cases = {
        {"Level=1,3,3,2,sea.jpg", 1, 3, 3, 2, "sea.jpg"},
        {"Level=2,3,4,6,C:\\pics\\sea.jpg", 2, 3, 4, 6, "sea.jpg"},
        {"Level=1,2,3,4,pics/a:b\\c d.jpg", 1, 2, 3, 4, "c d.jpg"},
        {"Level=1,2,3,4,D:beach.jpg", 1, 2, 3, 4, "beach.jpg"},
        // Commas in a row separate once: the later numbers move up a field.
        {"Level=1,,3,3,2", 1, 3, 3, 2, ""},
        {"Level=-1,0,0,0", -1, 0, 0, 0, ""},
        // atoi's reading: white space, a sign, digits up to another character.
        {"Level= +7,\t8x,-0,junk, my sea .jpg ", 7, 8, 0, 0, " my sea .jpg "},
        // The rest after the fourth number's comma is the name, whatever it holds.
        {"Level=1,2,3,4,,odd.jpg", 1, 2, 3, 4, ",odd.jpg"},
        {"Level=1,2,3,4,", 1, 2, 3, 4, ""},
        // Values wrap at 32 bits rather than being checked.
        {"Level=4294967297,2147483648,0,0", 1, -2147483647 - 1, 0, 0, ""},
        // Fewer than four integers: the record keeps its initial values.
        {"Level=5,6", 5, 6, 3, 0, ""},
        // The line feed alone is a piece too, and reads as 0.
        {"Level=", 0, 3, 3, 0, ""},
    };
    std::vector<std::string> lines;
    for (const Expected& c : cases) {
        lines.push_back(c.line);
    }
    for (const char* end : {"\n", "\r\n"}) {
        TZNLevelList levels = Read(kHeader + Lines(lines, end));
        ASSERT_EQ(levels.Count, static_cast<std::int32_t>(cases.size()));
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const Expected& c = cases[i];
            const TZNLevelWrapper& level = levels.Items(static_cast<std::int32_t>(i));
            EXPECT_EQ(level.MaxBombs, c.maxBombs) << c.line;
            EXPECT_EQ(level.BazzleVisits, c.bazzles) << c.line;
            EXPECT_EQ(level.EggCount, c.eggs) << c.line;
            EXPECT_EQ(level.GullCount, c.gulls) << c.line;
            EXPECT_EQ(level.PictureName, c.picture) << c.line;
            EXPECT_EQ(level.GullRecords.Count, 0) << c.line;
        }
    }
}

TEST(LevelTextTest, GullLinesCarryTheFieldsTheyDoNotReach) {
    TZNLevelList levels = Read(kHeader + Lines({
                                             "Gull=1,1,1,1,1,1,1",  // before any level: ignored
                                             "Level=1,3,3,2,sea.jpg",
                                             "Gull=5,6",  // the first gull: the rest start at 0
                                             "Gull=100,60,-90,0,0,0,0",
                                             "Gull=300,120,120,40,1,80,200",
                                             "Gull=100,50",
                                             "Gull=100,50,-80,0,1,20,200,9",
                                             "Gull=,,7,,8\r",
                                             "Gull=1,2,",  // the line feed is a piece of its own
                                             "Gull=4294967297,-1",
                                             " Level=9,9,9,9,ignored.jpg",
                                             ",Level=9,9,9,9",
                                             "level=9,9,9,9,ignored.jpg",
                                             "Gull =1,2,3,4,5,6,7",
                                             "; a remark",
                                             "Level=2,2,5,1,dunes.jpg",
                                             "Gull=0,40,150,0,1,0,0",
                                         }));
    ASSERT_EQ(levels.Count, 2);
    const std::vector<TZNGull> first = {
        {5, 6, 0, 0, 0, 6, 6},           {100, 60, -90, 0, 0, 0, 0},
        {300, 120, 120, 40, 1, 80, 200}, {100, 50, 120, 40, 1, 50, 50},
        {100, 50, -80, 0, 1, 20, 200},   {7, 8, -80, 0, 1, 8, 8},
        {1, 2, 0, 0, 1, 2, 2},           {1, -1, 0, 0, 1, -1, -1},
    };
    TZNLevelWrapper& sea = levels.Items(0);
    ASSERT_EQ(sea.GullRecords.Count, static_cast<std::int32_t>(first.size()));
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(sea.GullRecords.Items(static_cast<std::int32_t>(i)), first[i]) << "gull " << i;
    }
    EXPECT_TRUE(levels.Items(1) == Level(2, 2, 5, "dunes.jpg", {{0, 40, 150, 0, 1, 0, 0}}));
}

TEST(LevelTextTest, LinesLongerThan1023CharactersAreReadInParts) {
    // The first 1023 characters are one line; the rest is a line of its own, which counts only
    // when it begins as a level or gull line itself. A CR LF's carriage return is gone before
    // the characters are counted.
    const std::string padding(1023, '#');
    const std::string fitting = "Level=1,2,3,4," + std::string(1008, 'f');
    TZNLevelList levels =
        Read(kHeader + "Level=1,2,3,4," + std::string(1100, 'n') + "\n" + padding + "Gull=7,8\n" +
             padding + "Level=5,5,5,5,x.jpg\n" + fitting + "\r\nGull=9,9\r\n");
    ASSERT_EQ(levels.Count, 3);
    EXPECT_EQ(levels.Items(0).PictureName, std::string(1023 - 14, 'n'));
    ASSERT_EQ(levels.Items(0).GullRecords.Count, 1);
    EXPECT_EQ(levels.Items(0).GullRecords.Items(0), (TZNGull{7, 8, 0, 0, 0, 8, 8}));
    EXPECT_EQ(levels.Items(1).PictureName, "x.jpg");
    EXPECT_EQ(levels.Items(2).PictureName, std::string(1008, 'f'));
    EXPECT_EQ(levels.Items(2).GullRecords.Count, 1);
}

// The lines of a whole file in their order are the editor's to check, on a file it saves.
TEST(LevelTextTest, TheWriterCountsTheGullsAndKeepsTheExtremes) {
    // The count written is the number of gulls; a level without a picture has no name field.
    TZNLevelList odd;
    odd.Add({7, 0, -3, 99, "", {}});
    EXPECT_EQ(WriteLevelText(odd), "Zintrel Level File Version 1.0\r\nLevel=7,0,-3,0\r\n");
    EXPECT_EQ(WriteLevelText({}), "Zintrel Level File Version 1.0\r\n");

    // The extremes read back as they were.
    TZNLevelList levels;
    levels.Add(Level(INT_MIN, INT_MAX, 0, "", {}));
    levels.Add(Level(-1, 0, 1, "a picture with spaces .jpg",
                     {{INT_MIN, INT_MAX, -1, 1, 2, -50, 50}, {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_TRUE(Read(WriteLevelText(levels)) == levels);
}

}  // namespace
