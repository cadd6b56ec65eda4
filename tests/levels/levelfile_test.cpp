// ReadLevelFile: the header, level and gull lines, the C library's token rules, long lines,
// line ends and failures.
#include <string>
#include <vector>

#include "support/level_fixture.h"

namespace {

const std::string kHeader = "Zintrel Level File Version 1.0\n";

// The lines joined with the given line end, each line ended by it.
std::string Lines(const std::vector<std::string>& lines, const std::string& end = "\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    return text;
}

using LevelFileTest = LevelTest;

TEST_F(LevelFileTest, OnlyTheExactHeaderLineIsAccepted) {
    Write("lf.znl", kHeader);
    Write("crlf.znl", "Zintrel Level File Version 1.0\r\n");
    for (const char* name : {"lf.znl", "crlf.znl"}) {
        EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), name); }), "") << name;
    }
    const std::pair<const char*, std::string> rejected[] = {
        {"case.znl", "zintrel level file version 1.0\n"},
        {"noend.znl", "Zintrel Level File Version 1.0"},
        {"empty.znl", ""},
        {"space.znl", "Zintrel Level File Version 1.0 \n"},
        {"second.znl", "\nZintrel Level File Version 1.0\n"},
        {"version.znl", "Zintrel Level File Version 1.1\n"},
    };
    for (const auto& [name, text] : rejected) {
        Write(name, text + "Level=1,1,1,0,sea.jpg\n");
        Levels.Add(TZNLevelWrapper{});
        EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), name); }),
                  std::string(name) + " is not a valid Zintrel Level File");
        EXPECT_EQ(Levels.Count, 0) << name << ": a failure leaves the set empty";
    }
    // A file that cannot be opened leaves the old levels alone and does not name itself.
    Levels.Add(TZNLevelWrapper{});
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "missing.znl"); }), "Unable to open level file");
    EXPECT_EQ(Levels.Count, 1);
}

TEST_F(LevelFileTest, LevelLinesGiveFourIntegersAndAPictureName) {
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
        {",Level=9,9,9,9", 1, 3, 3, 0, "never read"},
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
        Write("levels.znl", kHeader + Lines(lines, end));
        PackLoaded = true;
        ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "levels.znl"); }), "");
        EXPECT_FALSE(PackLoaded);
        ASSERT_EQ(Levels.Count, static_cast<std::int32_t>(cases.size()) - 1);
        int index = 0;
        for (const Expected& c : cases) {
            if (c.picture == "never read") {
                continue;
            }
            const TZNLevelWrapper& level = Levels.Items(index++);
            EXPECT_EQ(level.MaxBombs, c.maxBombs) << c.line;
            EXPECT_EQ(level.BazzleVisits, c.bazzles) << c.line;
            EXPECT_EQ(level.EggCount, c.eggs) << c.line;
            EXPECT_EQ(level.GullCount, c.gulls) << c.line;
            EXPECT_EQ(level.PictureName, c.picture) << c.line;
            EXPECT_EQ(level.GullRecords.Count, 0) << c.line;
        }
    }
}

TEST_F(LevelFileTest, GullLinesCarryTheFieldsTheyDoNotReach) {
    Write("gulls.znl", kHeader + Lines({
                                     "Gull=1,1,1,1,1,1,1",  // before any level: ignored
                                     "Level=1,3,3,2,sea.jpg",
                                     "Gull=5,6",  // the first gull: the rest start at 0
                                     "Gull=100,60,-90,0,0,0,0",
                                     "Gull=300,120,120,40,1,80,200",
                                     "Gull=100,50",
                                     "Gull=100,50,-80,0,1,20,200,9",
                                     "Gull=,,7,,8",
                                     "Gull=1,2,",  // the line feed is a piece of its own
                                     " Level=9,9,9,9,ignored.jpg",
                                     "level=9,9,9,9,ignored.jpg",
                                     "Gull =1,2,3,4,5,6,7",
                                     "; a remark",
                                     "Level=2,2,5,1,dunes.jpg",
                                     "Gull=0,40,150,0,1,0,0",
                                 }));
    ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "gulls.znl"); }), "");
    ASSERT_EQ(Levels.Count, 2);
    const std::vector<TZNGull> first = {
        {5, 6, 0, 0, 0, 6, 6},           {100, 60, -90, 0, 0, 0, 0},
        {300, 120, 120, 40, 1, 80, 200}, {100, 50, 120, 40, 1, 50, 50},
        {100, 50, -80, 0, 1, 20, 200},   {7, 8, -80, 0, 1, 8, 8},
        {1, 2, 0, 0, 1, 2, 2},
    };
    TZNLevelWrapper& sea = Levels.Items(0);
    EXPECT_EQ(sea.PictureName, "sea.jpg");
    ASSERT_EQ(sea.GullRecords.Count, static_cast<std::int32_t>(first.size()));
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(sea.GullRecords.Items(static_cast<std::int32_t>(i)), first[i]) << "gull " << i;
    }
    TZNLevelWrapper& dunes = Levels.Items(1);
    EXPECT_EQ(dunes.PictureName, "dunes.jpg");
    ASSERT_EQ(dunes.GullRecords.Count, 1);
    EXPECT_EQ(dunes.GullRecords.Items(0), (TZNGull{0, 40, 150, 0, 1, 0, 0}));
}

TEST_F(LevelFileTest, LinesLongerThan1023CharactersAreReadInParts) {
    // The first 1023 characters are one line; the rest is a line of its own, which counts only
    // when it begins as a level or gull line itself.
    const std::string longName(1100, 'n');
    const std::string padding(1023, '#');
    // With CR LF the carriage return is gone before the characters are counted.
    const std::string fitting = "Level=1,2,3,4," + std::string(1008, 'f');
    Write("long.znl", kHeader + "Level=1,2,3,4," + longName + "\n" + padding + "Gull=7,8\n" +
                          padding + "Level=5,5,5,5,x.jpg\n" + fitting + "\r\nGull=9,9\r\n");
    ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "long.znl"); }), "");
    ASSERT_EQ(Levels.Count, 3);
    EXPECT_EQ(Levels.Items(0).PictureName, std::string(1023 - 14, 'n'));
    ASSERT_EQ(Levels.Items(0).GullRecords.Count, 1);
    EXPECT_EQ(Levels.Items(0).GullRecords.Items(0), (TZNGull{7, 8, 0, 0, 0, 8, 8}));
    EXPECT_EQ(Levels.Items(1).PictureName, "x.jpg");
    EXPECT_EQ(Levels.Items(2).PictureName, std::string(1008, 'f'));
    EXPECT_EQ(Levels.Items(2).GullRecords.Count, 1);
}

TEST_F(LevelFileTest, ASecondFileReplacesTheFirst) {
    Write("two.znl",
          kHeader + Lines({"Level=1,1,1,1,a.jpg", "Gull=1,2,3,4,0,0,0", "Level=2,2,2,0,b.jpg"}));
    Write("one.znl", kHeader + Lines({"Level=3,3,3,0,c.jpg"}));
    Write("none.znl", kHeader + "no levels here\n");
    ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "two.znl"); }), "");
    EXPECT_EQ(Levels.Count, 2);
    ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "one.znl"); }), "");
    ASSERT_EQ(Levels.Count, 1);
    EXPECT_EQ(Levels.Items(0).PictureName, "c.jpg");
    EXPECT_EQ(Levels.Items(0).GullRecords.Count, 0);
    // A file without levels reads as an empty set; a game refuses it when it begins.
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "none.znl"); }), "");
    EXPECT_EQ(Levels.Count, 0);
    EXPECT_EQ(Failure([&] { ReadLevelSet(Set(), "none.znl"); }), "No levels in none.znl");
}

}  // namespace
