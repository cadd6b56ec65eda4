// The recorded games replayed frame for frame, the faults a replay finds, and making the
// recordings anew.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <regex>
#include <sstream>

#include "platform/api/forms.h"
#include "platform/session/dumps.h"
#include "support/recorded_games.h"

namespace {

// Recordings are made as text and kept compressed.
std::string RecordingOf(const RecordedGame& game, bool made = false) {
    return RecordingsFolder() + "/" + game.name + (made ? ".rec" : ".rec.gz");
}

class RecordedGameReplay : public RecordedGameTest,
                           public ::testing::WithParamInterface<RecordedGame> {};

// Run with ZINTREL_MAKE_RECORDINGS=1 (scripts/make-recordings.sh) to record every game anew.
TEST_P(RecordedGameReplay, MakeRecording) {
    if (std::getenv("ZINTREL_MAKE_RECORDINGS") == nullptr) {
        GTEST_SKIP() << "recordings are made only when ZINTREL_MAKE_RECORDINGS is set";
    }
    const platform::SessionOutcome made = Record(GetParam(), RecordingOf(GetParam(), true));
    EXPECT_TRUE(made.matched) << made.report;
    std::cout << GetParam().name << ": " << made.report << '\n';
}

TEST_P(RecordedGameReplay, ReplaysFrameForFrame) {
    const RecordedGame& game = GetParam();
    ASSERT_TRUE(std::filesystem::exists(RecordingOf(game))) << RecordingOf(game);
    std::set<PlayEvent> seen;
    const platform::SessionOutcome outcome = Replay(game, RecordingOf(game), &seen);
    EXPECT_TRUE(outcome.matched) << outcome.report;
    std::cout << game.name << " reaches:";
    for (const PlayEvent event : seen) {
        std::cout << " " << static_cast<int>(event);
    }
    std::cout << '\n';
    for (const PlayEvent event : game.reaches) {
        EXPECT_TRUE(seen.count(event) > 0) << "the replay never showed " << EventName(event);
    }
}

INSTANTIATE_TEST_SUITE_P(Games, RecordedGameReplay, ::testing::ValuesIn(RecordedGames()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(RecordedGames, TogetherTheyReachEveryEventOfPlay) {
    std::set<PlayEvent> reached;
    for (const RecordedGame& game : RecordedGames()) {
        reached.insert(game.reaches.begin(), game.reaches.end());
    }
    for (int e = 0; e <= static_cast<int>(PlayEvent::LostSurfaces); ++e) {
        EXPECT_TRUE(reached.count(static_cast<PlayEvent>(e)) > 0)
            << "no recorded game reaches " << EventName(static_cast<PlayEvent>(e));
    }
    EXPECT_GE(RecordedGames().size(), 20u);
}

// A dump's reals are written as std::to_chars writes them, in every build: the shortest text
// that reads back as the same double. Doubles of every exponent, and of a few digits.
TEST(DumpTextTest, RealsAreTheShortestTextThatReadsBack) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.5,
                                  0.1,
                                  1e-7,
                                  1e16,
                                  1e21,
                                  5e-324,
                                  1e308,
                                  100.0,
                                  0.001,
                                  26.61616418330574};
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        values.push_back(std::isfinite(value) ? value : 0.5);
        values.push_back(static_cast<double>(bits % 100000) / 1000);
    }
    for (const double value : values) {
        char text[40];
        const auto [end, error] = std::to_chars(text, text + sizeof text, value);
        ASSERT_EQ(platform::ShortestText(value), std::string(text, end));
    }
}

// ---- A record altered, cut short or damaged.

class AlteredRecordTest : public RecordedGameTest {
  protected:
    const RecordedGame& Game() const { return RecordedGames().front(); }

    // Writes the first game's record with the first line of the kind after the frame changed,
    // or every line of the kind from there on, and gives the number of the frame recorded next:
    // where the change first matters.
    int Alter(const std::string& kind, const std::function<std::string(std::string)>& change,
              int after = 300, bool fromThereOn = false) {
        std::istringstream text(RecordText(RecordingOf(Game())));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        std::size_t at = 0;
        const std::string frame = " frame " + std::to_string(after) + " ";
        while (at < lines.size() && lines[at].find(frame) == std::string::npos) {
            ++at;
        }
        while (at < lines.size() && lines[at].find(" " + kind + " ") == std::string::npos) {
            ++at;
        }
        EXPECT_LT(at, lines.size()) << "no " << kind << " after" << frame;
        for (std::size_t i = at; i < lines.size() && (i == at || fromThereOn); ++i) {
            if (lines[i].find(" " + kind + " ") != std::string::npos) {
                lines[i] = change(lines[i]);
            }
        }
        // "<pass> frame <number> <digest>"
        int next = 0;
        for (std::size_t i = at + 1; i < lines.size() && next == 0; ++i) {
            std::istringstream words(lines[i]);
            std::string pass, what;
            if (words >> pass >> what && what == "frame") {
                words >> next;
            }
        }
        std::string altered;
        for (const std::string& line : lines) {
            altered += line + "\n";
        }
        folder.Write("altered.rec", altered);
        return next;
    }

    platform::SessionOutcome ReplayAltered() {
        return Replay(Game(), (folder.Path() / "altered.rec").string());
    }

    // The altered record replays up to the frame and parts there, among others on the group;
    // the replay goes on to the record's next full dump, and gives its report.
    std::string ExpectPartingAt(int frame, const std::string& group) {
        const platform::SessionOutcome outcome = ReplayAltered();
        EXPECT_FALSE(outcome.matched);
        const std::string parted =
            "The replay parted from its record at frame " + std::to_string(frame) + " (pass ";
        EXPECT_EQ(outcome.report.rfind(parted, 0), 0u) << outcome.report;
        const std::size_t on = outcome.report.find(") on ");
        const std::string groups = outcome.report.substr(on, outcome.report.find(';') - on);
        EXPECT_NE(groups.find(" " + group), std::string::npos) << outcome.report;
        const int dumped = (frame + 59) / 60 * 60;
        EXPECT_NE(outcome.report.find("; at frame " + std::to_string(dumped) + ": "),
                  std::string::npos)
            << outcome.report;
        return outcome.report;
    }
};

// "<pass> cursor <x> <y>": the paddle is sent 40 pixels away from where it went.
std::string CursorMoved(const std::string& line) {
    std::istringstream words(line);
    std::string pass, kind;
    int x = 0, y = 0;
    words >> pass >> kind >> x >> y;
    return pass + " cursor " + std::to_string(x < 320 ? x + 40 : x - 40) + " " + std::to_string(y);
}

TEST_F(AlteredRecordTest, ACursorPositionMovedFailsAtTheFrameThatReadIt) {
    const std::string report = ExpectPartingAt(Alter("cursor", CursorMoved), "paddle");
    EXPECT_NE(report.find(" on paddle"), std::string::npos) << report;
}

TEST_F(AlteredRecordTest, CursorReadingsShiftedNameThePaddleAndABallWithBothValues) {
    const std::string report = ExpectPartingAt(Alter("cursor", CursorMoved, 1100, true), "paddle");
    // "...; at frame 1200: paddle.x recorded 192, replayed 232; balls[0].x recorded 203.66..."
    const std::string dumped = report.substr(report.find("; at frame "));
    const std::regex paddle(R"(: paddle\.x recorded -?[0-9.e-]+, replayed -?[0-9.e-]+; )");
    const std::regex ball(
        R"(; balls\[[0-9]+\]\.[a-z]+ recorded -?[0-9.e-]+, replayed -?[0-9.e-]+)");
    std::smatch paddleAt, ballAt;
    ASSERT_TRUE(std::regex_search(dumped, paddleAt, paddle)) << report;
    ASSERT_TRUE(std::regex_search(dumped, ballAt, ball)) << report;
    EXPECT_LT(paddleAt.position(), ballAt.position()) << report;
}

TEST_F(AlteredRecordTest, AClockReadingMovedFailsAtTheFrameItTimed) {
    const int frame = Alter("clock", [](std::string line) {
        const std::size_t value = line.rfind(' ') + 1;
        return line.substr(0, value) + std::to_string(std::stoull(line.substr(value)) + 3000);
    });
    ExpectPartingAt(frame, "timers");
}

TEST_F(AlteredRecordTest, ARecordCutShortSaysWhereItStops) {
    // A run that crashed leaves its record up to the last frame it played.
    const std::string text = RecordText(RecordingOf(Game()));
    const std::size_t cut = text.find('\n', text.find(" frame 500 "));
    folder.Write("altered.rec", text.substr(0, cut + 1));
    const platform::SessionOutcome outcome = ReplayAltered();
    EXPECT_FALSE(outcome.matched);
    EXPECT_NE(outcome.report.find("without the program's end"), std::string::npos)
        << outcome.report;
}

TEST_F(AlteredRecordTest, APartedReplayThatRunsOutOfItsRecordComparesTheDumpItDidNotReach) {
    // The cursor shifted from frame 1100 on parts the replay at frame 1184; the clock's
    // readings end at frame 1190, before the dump of frame 1200.
    Alter("cursor", CursorMoved, 1100, true);
    std::istringstream text(folder.Read("altered.rec"));
    std::string kept;
    bool late = false;
    for (std::string line; std::getline(text, line);) {
        late = late || line.find(" frame 1190 ") != std::string::npos;
        if (!late || line.find(" clock ") == std::string::npos) {
            kept += line + "\n";
        }
    }
    folder.Write("altered.rec", kept);
    const platform::SessionOutcome outcome = ReplayAltered();
    EXPECT_FALSE(outcome.matched);
    const std::regex report(
        "The replay parted from its record at frame 1184 \\(pass [0-9]+\\) on paddle; then, at "
        "frame 1190, at pass [0-9]+ the game read its clock more often than the record has "
        "readings; the record's next dump, of frame 1200, against frame 1190: paddle\\.x "
        "recorded .*");
    EXPECT_TRUE(std::regex_match(outcome.report, report)) << outcome.report;
}

// The Hall of Fame beside a replay is not the one that decided the recorded game's name entry.
TEST_F(AlteredRecordTest, TheRecordedHallOfFameDecidesTheNameEntry) {
    const auto named = std::find_if(
        RecordedGames().begin(), RecordedGames().end(),
        [](const RecordedGame& game) { return game.reaches.count(PlayEvent::NameEntry) > 0; });
    ASSERT_NE(named, RecordedGames().end());
    std::string best;
    for (int place = 0; place < 24; ++place) {
        best += "999999 Champion\r\n";
    }
    folder.Write("znscore.hof", best);
    std::set<PlayEvent> seen;
    const platform::SessionOutcome outcome = Replay(*named, RecordingOf(*named), &seen);
    EXPECT_TRUE(outcome.matched) << outcome.report;
    EXPECT_TRUE(seen.count(PlayEvent::NameEntry) > 0);
    EXPECT_EQ(folder.Read("znscore.hof"), best) << "a replay leaves the Hall of Fame as it is";
}

TEST_F(AlteredRecordTest, ARecordWhoseLastLineIsCutSaysItIsTruncatedThere) {
    // A run that crashed while it wrote a line leaves the line's beginning.
    const std::string text = RecordText(RecordingOf(Game()));
    const std::size_t frame = text.find(" frame 500 ");
    const std::string kept = text.substr(0, frame + 20);
    folder.Write("altered.rec", kept);
    const auto lines = std::count(kept.begin(), kept.end(), '\n') + 1;
    const platform::SessionOutcome outcome = ReplayAltered();
    EXPECT_FALSE(outcome.matched);
    EXPECT_TRUE(outcome.incomplete) << "a record cut short is not a game that parted";
    EXPECT_EQ(outcome.report.rfind("The record is truncated at line " + std::to_string(lines) +
                                       ", cut in the middle; the replay matched it up to pass ",
                                   0),
              0u)
        << outcome.report;
}

// The level sets and tunes a replay's folders hold besides the recorded ones change nothing:
// the game finds what the recorded game found.
TEST_F(AlteredRecordTest, LevelFilesAndTunesBesideTheRecordedOnesChangeNothing) {
    const auto shipped =
        std::find_if(RecordedGames().begin(), RecordedGames().end(),
                     [](const RecordedGame& game) { return game.levels == "shipped"; });
    ASSERT_NE(shipped, RecordedGames().end());
    // The recorded game took the second of its two level sets; here it would be another.
    WriteLevels("Aaa.znl", {"1,1,1\nGull=100,80,-90,0,0,0,0"});
    WriteLevels("Abb.znl", {"1,1,1\nGull=200,80,-90,0,0,0,0"});
    folder.Write("aaa.mid", "MThd");
    const platform::SessionOutcome outcome = Replay(*shipped, RecordingOf(*shipped));
    EXPECT_TRUE(outcome.matched) << outcome.report;
}

// The record's game played another pack of the same name, or showed a picture that is not
// here: the replay is refused before its first frame, naming the file.
TEST_F(AlteredRecordTest, WhatARecordCannotCarryIsCheckedBeforeTheFirstFrame) {
    const auto refusal = [&] {
        try {
            platform::StartReplay(RecordingOf(Game()));
        } catch (const Exception& error) {
            return error.Message();
        }
        platform::EndSession();
        return std::string("accepted");
    };
    ASSERT_EQ(Game().levels, "pack");
    CopyShipped("GullCoast.znk");
    EXPECT_EQ(refusal(), "accepted");
    std::string pack = folder.Read("GullCoast.znk");
    pack[pack.size() / 2] ^= 1;
    folder.Write("GullCoast.znk", pack);
    const std::string other = refusal();
    EXPECT_NE(other.find("GullCoast.znk is another level pack than the recorded game played"),
              std::string::npos)
        << other;
    std::filesystem::remove(folder.Path() / "GullCoast.znk");
    EXPECT_EQ(refusal(),
              "The recorded game played the level pack GullCoast.znk, which is not in the game's "
              "folders.");
    CopyShipped("GullCoast.znk");
    std::filesystem::remove(folder.Path() / "ZNTitle.jpg");
    EXPECT_EQ(refusal(),
              "The recorded game showed the picture ZNTitle.jpg, which is not in the game's "
              "folders.");
}

TEST_F(AlteredRecordTest, WhatIsNotARecordIsRefusedWithItsReason) {
    const auto refusal = [&](const std::string& contents) {
        folder.Write("damaged.rec", contents);
        try {
            platform::StartReplay((folder.Path() / "damaged.rec").string());
        } catch (const Exception& error) {
            return error.Message();
        }
        platform::EndSession();
        return std::string("accepted");
    };
    EXPECT_NE(refusal("").find("is not a record of a Zintrel game"), std::string::npos);
    EXPECT_NE(refusal("zintrel record 1\n12 end\n")
                  .find("damaged.rec is a record of format version 1; this version of Zintrel "
                        "replays records of format version 2."),
              std::string::npos);
    EXPECT_NE(refusal(std::string("\x1f\x8b\x08\0garbage", 12)).find("Cannot read the record"),
              std::string::npos);
    EXPECT_NE(refusal("zintrel record 2\nseed 5\n12 jump 3\n")
                  .find("line 3: this is not an event of a recorded game: 12 jump 3"),
              std::string::npos);
    EXPECT_NE(refusal("zintrel record 2\n12 clock 5\n11 clock 6\n").find("line 3"),
              std::string::npos)
        << "passes never go back";
    EXPECT_NE(refusal("zintrel record 2\n12 cursor 5\n").find("line 2"), std::string::npos);
    EXPECT_NE(refusal("zintrel record 2\n12 frame 1 score\n").find("line 2"), std::string::npos);
    EXPECT_NE(refusal("zintrel record 2\ncarry a%2Fb x\n").find("line 2"), std::string::npos)
        << "a carried file's name is never a path";
    EXPECT_NE(refusal("zintrel record 2\ncarry a.znl %G0\n").find("line 2"), std::string::npos);
    EXPECT_EQ(refusal("zintrel record 2\n# a note\n12 char 65\n12 end\n"), "accepted");
    try {
        platform::StartReplay((folder.Path() / "missing.rec").string());
        ADD_FAILURE() << "a missing record was accepted";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("Cannot read the record"), std::string::npos);
    }
}

}  // namespace
