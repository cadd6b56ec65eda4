// The Hall of Fame: its defaults, the score file read and written, and scoring against it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/halloffame.h"
#include "game/znform.h"
#include "platform/harness.h"
#include "support/test_folder.h"

namespace {

class HallOfFameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() / "zintrel-hof-test.hof";
        SetDefaultHallOfFame(table);
    }
    void TearDown() override { std::filesystem::remove(path); }

    void Write(const std::string& contents) { std::ofstream(path, std::ios::binary) << contents; }
    std::string Read() const {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    void Load() { ReadHallOfFameFile(path.string(), table); }

    std::filesystem::path path;
    THallOfFame table;
};

TEST_F(HallOfFameTest, DefaultsRunFrom4800DownTo200) {
    for (int i = 0; i < kHallOfFameSize; ++i) {
        EXPECT_EQ(table[i].Score, (24 - i) * 200);
        EXPECT_EQ(table[i].Name, "Nobody yet!");
    }
    Load();  // no file: nothing changes
    EXPECT_EQ(table[0].Score, 4800);
}

TEST_F(HallOfFameTest, AShortFileReplacesOnlyItsPlaces) {
    Write("9000 Ann\r\n8000 Bob\n   7000    Cy  Dee   \r\n");
    Load();
    EXPECT_EQ(table[0].Score, 9000);
    EXPECT_EQ(table[0].Name, "Ann");
    EXPECT_EQ(table[1].Name, "Bob");
    EXPECT_EQ(table[2].Score, 7000);
    EXPECT_EQ(table[2].Name, "Cy  Dee");
    EXPECT_EQ(table[3].Score, 4200);
    EXPECT_EQ(table[3].Name, "Nobody yet!");
    EXPECT_EQ(table[23].Score, 200);
}

TEST_F(HallOfFameTest, OddLinesKeepWhatCannotBeRead) {
    Write("no number here\n-15 Minus\n300\n" + std::string(300, 'x') + "\n");
    Load();
    EXPECT_EQ(table[0].Score, 4800);  // no number: the default score, the text as the name
    EXPECT_EQ(table[0].Name, "no number here");
    EXPECT_EQ(table[1].Score, -15);
    EXPECT_EQ(table[1].Name, "Minus");
    EXPECT_EQ(table[2].Score, 300);  // an empty name
    EXPECT_EQ(table[2].Name, "");
    // A name holds at most 255 characters; the rest of its line is the next place's entry.
    EXPECT_EQ(table[3].Score, 4200);
    EXPECT_EQ(table[3].Name, std::string(255, 'x'));
    EXPECT_EQ(table[4].Score, 4000);
    EXPECT_EQ(table[4].Name, std::string(45, 'x'));
    EXPECT_EQ(table[5].Name, "Nobody yet!");
}

TEST_F(HallOfFameTest, HugeNumbersAndAFileWithoutItsLastLineEndAreRead) {
    Write("99999999999999 Big\n12 Last");
    Load();
    EXPECT_EQ(table[0].Score, 2147483647);
    EXPECT_EQ(table[1].Score, 12);
    EXPECT_EQ(table[1].Name, "Last");
}

TEST_F(HallOfFameTest, TheFileIsWrittenWithCrLfAndReadsBack) {
    table[0] = {5000, "Zoe Q"};
    table[1] = {4900, ""};
    WriteHallOfFameFile(path.string(), table);
    const std::string text = Read();
    EXPECT_EQ(text.substr(0, 19), "5000 Zoe Q\r\n4900 \r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 24);

    THallOfFame again;
    ReadHallOfFameFile(path.string(), again);
    for (int i = 0; i < kHallOfFameSize; ++i) {
        EXPECT_EQ(again[i].Score, table[i].Score);
        EXPECT_EQ(again[i].Name, table[i].Name);
    }
}

class ScoringTest : public ::testing::Test {
  protected:
    TestFolder folder;  // nothing saved before; what the form saves stays here
    platform::Harness harness;
    TKestovForm form;
};

TEST_F(ScoringTest, PointsClimbPastStrictlyLowerScoresOnly) {
    EXPECT_EQ(form.HofRank, 24);
    form.AddScore(150);
    EXPECT_EQ(form.HofRank, 24);
    form.AddScore(50);  // 200 ties the last place: still below it
    EXPECT_EQ(form.HofRank, 24);
    form.AddScore(1);
    EXPECT_EQ(form.HofRank, 23);
    form.Score = 0;
    form.HofRank = 24;
    form.AddScore(3800);  // equal to place 5, above place 6
    EXPECT_EQ(form.HofRank, 6);
    form.AddScore(100000);
    EXPECT_EQ(form.HofRank, 0);
}

TEST_F(ScoringTest, TheHiddenModeKeepsTheRankWhereItWas) {
    form.CheatMode = true;
    form.AddScore(100000);
    EXPECT_EQ(form.Score, 100000);
    EXPECT_EQ(form.HofRank, 24);
}

TEST_F(ScoringTest, ANewEntryPushesTheRestDown) {
    form.AddScore(4500);  // between 4600 (place 1) and 4400 (place 2)
    ASSERT_EQ(form.HofRank, 2);
    form.InsertHighScore("Kim");
    EXPECT_EQ(form.HallOfFame[1].Score, 4600);
    EXPECT_EQ(form.HallOfFame[2].Score, 4500);
    EXPECT_EQ(form.HallOfFame[2].Name, "Kim");
    EXPECT_EQ(form.HallOfFame[3].Score, 4400);
    EXPECT_EQ(form.HallOfFame[23].Score, 400);  // the old last place is gone
    EXPECT_TRUE(form.HofChanged);
}

TEST_F(ScoringTest, AScoreWithoutAPlaceIsNotInserted) {
    form.InsertHighScore("Nobody");
    EXPECT_FALSE(form.HofChanged);
    EXPECT_EQ(form.HallOfFame[23].Score, 200);
}

}  // namespace
