// The Hall of Fame: its defaults, the score file read and written, and scoring against it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
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

    // Written whole, the new table takes the old one's place.
    EXPECT_EQ(WriteHallOfFameFile(path.string(), table), "");
    EXPECT_EQ(Read().substr(0, 16), "9500 New Comer\r\n");
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
}

// The game at start with something else than a regular file in the score file's place.
class ScoreFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Place() const { return folder.Path() / kScoreFileName; }

    TestFolder folder;
    platform::Harness harness;
};

TEST_F(ScoreFileTest, OnlyARegularFileIsReadAsTheTable) {
    const std::vector<std::pair<const char*, std::function<void()>>> places = {
        {"a folder", [&] { std::filesystem::create_directory(Place()); }},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(Place().c_str(), 0600), 0); }},
        {"a link to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", Place()); }},
    };
    for (const auto& [what, make] : places) {
        std::filesystem::remove_all(Place());
        make();
        // A read that never ends stops the test program here rather than holding it up.
        alarm(30);
        TKestovForm form;
        alarm(0);
        for (int i = 0; i < kHallOfFameSize; ++i) {
            EXPECT_EQ(form.HallOfFame[i].Score, (24 - i) * 200) << what << ", place " << i;
            EXPECT_EQ(form.HallOfFame[i].Name, "Nobody yet!") << what << ", place " << i;
        }
    }

    // A link to a regular file is read, and of a long file only what 24 lines hold.
    std::filesystem::remove_all(Place());
    folder.Write("kept.hof", "9000 Linked\r\n" + std::string(1 << 20, ' ') + "8000 Far\r\n");
    std::filesystem::create_symlink("kept.hof", Place());
    TKestovForm form;
    EXPECT_EQ(form.HallOfFame[0].Score, 9000);
    EXPECT_EQ(form.HallOfFame[0].Name, "Linked");
    EXPECT_EQ(form.HallOfFame[1].Score, 4600);
    EXPECT_EQ(form.HallOfFame[1].Name, "Nobody yet!");
}

// Makes a folder read-only for as long as it lives: by its mode, and where that does not stop
// this user (root), by the file system's immutable flag.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(std::filesystem::path path) : path_(std::move(path)) {
        chmod(path_.c_str(), 0555);
        immutable_ = Writable() && SetImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (immutable_) {
            SetImmutable(false);
        }
        chmod(path_.c_str(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Writable() const {
        const std::filesystem::path probe = path_ / "probe";
        const int file = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (file < 0) {
            return false;
        }
        close(file);
        unlink(probe.c_str());
        return true;
    }

  private:
    bool SetImmutable(bool on) const {
        const int folder = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        bool set = folder >= 0 && ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        set = set && ioctl(folder, FS_IOC_SETFLAGS, &flags) == 0;
        if (folder >= 0) {
            close(folder);
        }
        return set;
    }

    std::filesystem::path path_;
    bool immutable_ = false;
};

// A game that entered a new name, ended: what it said on standard error.
std::string EndGameWithANewName() {
    auto form = std::make_unique<TKestovForm>();
    form->AddScore(9900);
    form->InsertHighScore("Newest");
    ::testing::internal::CaptureStderr();
    form.reset();
    return ::testing::internal::GetCapturedStderr();
}

TEST_F(ScoreFileTest, ATableThatCannotBeWrittenIsNamedInOneLine) {
    folder.Write(kScoreFileName, "5000 Keeper\r\n");
    {
        ReadOnlyFolder readOnly(folder.Path());
        if (readOnly.Writable()) {
            GTEST_SKIP() << "the folder cannot be made read-only here";
        }
        const std::string said = EndGameWithANewName();
        EXPECT_TRUE(said.starts_with("zintrel: the Hall of Fame is not kept: cannot write "))
            << said;
        EXPECT_NE(said.find("znscore.hof.new ("), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_EQ(folder.Read(kScoreFileName), "5000 Keeper\r\n");

    std::filesystem::remove(Place());
    std::filesystem::create_directory(Place());
    const std::string said = EndGameWithANewName();
    EXPECT_TRUE(said.starts_with("zintrel: the Hall of Fame is not kept: cannot replace ")) << said;
    EXPECT_NE(said.find("(Is a directory)"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(std::filesystem::is_directory(Place()));
    EXPECT_FALSE(folder.Holds(std::string(kScoreFileName) + ".new"));

    // Where it can be written, nothing is said.
    std::filesystem::remove(Place());
    EXPECT_EQ(EndGameWithANewName(), "");
    EXPECT_EQ(folder.Read(kScoreFileName).substr(0, 13), "9900 Newest\r\n");
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
