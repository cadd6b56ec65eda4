// The Hall of Fame: its defaults, the score file read and written, and scoring against it.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "game/halloffame.h"
#include "game/znform.h"
#include "support/harness.h"
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

// What a score file gives each place; the places it does not reach keep their defaults, from
// 4800 down to 200 by 200, "Nobody yet!".
TEST_F(HallOfFameTest, EachLineOfTheFileGivesAPlace) {
    struct Place {
        int at;
        std::int32_t score;
        std::string name;
    };
    const std::pair<std::string, std::vector<Place>> files[] = {
        {"9000 Ann\r\n8000 Bob\n   7000    Cy  Dee   \r\n",
         {{0, 9000, "Ann"},
          {1, 8000, "Bob"},
          {2, 7000, "Cy  Dee"},
          {3, 4200, "Nobody yet!"},
          {23, 200, "Nobody yet!"}}},
        // Without a number, the default score and the text as the name; a name holds at most
        // 255 characters, the rest of its line is the next place's entry.
        {"no number here\n-15 Minus\n300\n" + std::string(300, 'x') + "\n",
         {{0, 4800, "no number here"},
          {1, -15, "Minus"},
          {2, 300, ""},
          {3, 4200, std::string(255, 'x')},
          {4, 4000, std::string(45, 'x')},
          {5, 3800, "Nobody yet!"}}},
        {"99999999999999 Big\n12 Last", {{0, 2147483647, "Big"}, {1, 12, "Last"}}},
    };
    for (const auto& [text, places] : files) {
        Write(text);
        SetDefaultHallOfFame(table);
        Load();
        for (const Place& place : places) {
            EXPECT_EQ(table[place.at].Score, place.score) << text << ", place " << place.at;
            EXPECT_EQ(table[place.at].Name, place.name) << text << ", place " << place.at;
        }
    }
}

// Writes the table where files may grow to 100 bytes only, says on standard error what went
// wrong and ends the process: with status 0 when the write failed. The limit is lifted before
// the message, which the test reads from a file of its own, whatever the path's length.
[[noreturn]] void WriteWithFilesOf100BytesAtMost(const std::string& path,
                                                 const THallOfFame& table) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t unlimited = limit.rlim_cur;
    limit.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string problem = WriteHallOfFameFile(path, table);
    limit.rlim_cur = unlimited;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::exit(problem.empty() ? 1 : 0);
}

TEST_F(HallOfFameTest, AWriteThatFailsHalfWayLeavesTheOldTableWhole) {
    Write("9000 Old Timer\r\n");
    table[0] = {9500, "New Comer"};
    // In a child process the table's 24 lines stop a part of the way through, as on a full
    // disk.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(WriteWithFilesOf100BytesAtMost(path.string(), table), ::testing::ExitedWithCode(0),
                "cannot write .*zintrel-hof-test.hof.new \\(File too large\\)");
    EXPECT_EQ(Read(), "9000 Old Timer\r\n");
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));

    // Written whole, with CR LF, the new table takes the old one's place and reads back.
    table[1] = {4900, ""};
    EXPECT_EQ(WriteHallOfFameFile(path.string(), table), "");
    const std::string text = Read();
    EXPECT_EQ(text.substr(0, 23), "9500 New Comer\r\n4900 \r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 24);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
    THallOfFame again;
    ReadHallOfFameFile(path.string(), again);
    for (int i = 0; i < kHallOfFameSize; ++i) {
        EXPECT_EQ(again[i].Score, table[i].Score);
        EXPECT_EQ(again[i].Name, table[i].Name);
    }
}

// The score file's place holding something else than a regular file, or the new file's place a
// folder: what the game reads at start as its first two places, and what it says on standard
// error when it ends with a new name (a problem in one line, and what was there is left).
TEST(ScoreFileTest, AnOddPlaceIsReadAsTheDefaultsOrNamedInOneLine) {
    TestFolder folder;
    platform::Harness harness;
    const std::filesystem::path place = folder.Path() / kScoreFileName;
    struct Row {
        const char* what;
        std::function<void()> make;
        std::string first;  // "<score> <name>" of the first place read
        std::string said;   // the start of what is said, with a part it holds after a '*'
    };
    const Row rows[] = {
        {"a folder", [&] { std::filesystem::create_directory(place); }, "4800 Nobody yet!",
         "zintrel: the Hall of Fame is not kept: cannot replace *(Is a directory)"},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(place.c_str(), 0600), 0); }, "4800 Nobody yet!", ""},
        {"a link to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", place); },
         "4800 Nobody yet!", ""},
        // A link to a regular file is read, and of a long file only what 24 lines hold.
        {"a link to a file",
         [&] {
             folder.Write("kept.hof",
                          "9000 Linked\r\n" + std::string(1 << 20, ' ') + "8000 Far\r\n");
             std::filesystem::create_symlink("kept.hof", place);
         },
         "9000 Linked", ""},
        {"a folder in the new file's place",
         [&] {
             folder.Write(kScoreFileName, "5000 Keeper\r\n");
             std::filesystem::create_directory(folder.Path() / "znscore.hof.new");
         },
         "5000 Keeper", "zintrel: the Hall of Fame is not kept: cannot write *znscore.hof.new ("},
    };
    for (const Row& row : rows) {
        std::filesystem::remove_all(place);
        row.make();
        const auto before = std::filesystem::symlink_status(place).type();
        const std::string next = std::string(kScoreFileName) + ".new";
        const bool nextBefore = folder.Holds(next);
        // A read that never ends stops the test program here rather than holding it up.
        alarm(30);
        auto form = std::make_unique<TKestovForm>();
        alarm(0);
        const auto entry = [&](int at) {
            return std::to_string(form->HallOfFame[at].Score) + " " + form->HallOfFame[at].Name;
        };
        EXPECT_EQ(entry(0), row.first) << row.what;
        EXPECT_EQ(entry(1), "4600 Nobody yet!") << row.what;
        form->AddScore(9900);
        form->InsertHighScore("Newest");
        ::testing::internal::CaptureStderr();
        form.reset();
        const std::string said = ::testing::internal::GetCapturedStderr();
        const std::size_t star = row.said.find('*');
        if (star == std::string::npos) {
            EXPECT_EQ(said, "") << row.what;
            EXPECT_EQ(folder.Read(kScoreFileName).substr(0, 13), "9900 Newest\r\n") << row.what;
        } else {
            EXPECT_TRUE(said.starts_with(row.said.substr(0, star))) << said;
            EXPECT_NE(said.find(row.said.substr(star + 1)), std::string::npos) << said;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_EQ(std::filesystem::symlink_status(place).type(), before) << row.what;
        }
        EXPECT_EQ(folder.Holds(next), nextBefore) << row.what;
    }
    EXPECT_EQ(folder.Read(kScoreFileName), "5000 Keeper\r\n");
}

// A score climbs past strictly lower scores only, and its new entry pushes the rest down; in
// the hidden mode the rank stays where it was.
TEST(ScoringTest, PointsClimbPastStrictlyLowerScoresOnly) {
    TestFolder folder;  // nothing saved before; what the form saves stays here
    platform::Harness harness;
    TKestovForm form;
    form.InsertHighScore("Nobody");
    EXPECT_FALSE(form.HofChanged) << "a score without a place is not inserted";
    EXPECT_EQ(form.HallOfFame[23].Score, 200);
    form.AddScore(200);  // ties the last place: still below it
    EXPECT_EQ(form.HofRank, 24);
    form.AddScore(1);
    EXPECT_EQ(form.HofRank, 23);
    form.AddScore(3599);  // equal to place 5, above place 6
    EXPECT_EQ(form.HofRank, 6);
    form.AddScore(100000);
    EXPECT_EQ(form.HofRank, 0);

    form.Score = 0;
    form.HofRank = 24;
    form.AddScore(4500);  // between 4600 (place 1) and 4400 (place 2)
    ASSERT_EQ(form.HofRank, 2);
    form.InsertHighScore("Kim");
    EXPECT_EQ(form.HallOfFame[1].Score, 4600);
    EXPECT_EQ(form.HallOfFame[2].Score, 4500);
    EXPECT_EQ(form.HallOfFame[2].Name, "Kim");
    EXPECT_EQ(form.HallOfFame[3].Score, 4400);
    EXPECT_EQ(form.HallOfFame[23].Score, 400);  // the old last place is gone
    EXPECT_TRUE(form.HofChanged);

    form.Score = 0;
    form.HofRank = 24;
    form.CheatMode = true;
    form.AddScore(100000);
    EXPECT_EQ(form.Score, 100000);
    EXPECT_EQ(form.HofRank, 24);
}

}  // namespace
