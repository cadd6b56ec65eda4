// The recorded games replayed frame for frame, the faults a replay finds, and making the
// recordings anew.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>

#include <gmock/gmock.h>

#include "platform/api/forms.h"
#include "platform/session/dumps.h"
#include "platform/session/recording.h"
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
    ASSERT_TRUE(std::filesystem::exists(RecordingOf(GetParam()))) << RecordingOf(GetParam());
    const platform::SessionOutcome outcome = Replay(GetParam(), RecordingOf(GetParam()));
    EXPECT_TRUE(outcome.matched) << outcome.report;
}

INSTANTIATE_TEST_SUITE_P(Games, RecordedGameReplay, ::testing::ValuesIn(RecordedGames()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// A dump's reals are written as std::to_chars writes them, in every build: the shortest text
// that reads back as the same double. Doubles of every exponent, and of a few digits.
TEST(DumpTextTest, RealsAreTheShortestTextThatReadsBack) {
    std::vector<double> values = {0.0, -0.0, 1.0, -1.5, 0.1, 1e-7, 1e16};
    values.insert(values.end(), {1e21, 5e-324, 1e308, 100.0, 0.001, 26.61616418330574});
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

    // What starting the replay of the record says, or "accepted".
    static std::string Refusal(const std::filesystem::path& record) {
        try {
            platform::StartReplay(record.string());
        } catch (const Exception& error) {
            return error.Message();
        }
        platform::EndSession();
        return "accepted";
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

// Cursor readings shifted: the replay parts at the frame that read the first of them, and names
// the paddle and a ball with both values. A clock reading moved parts at the frame it timed.
TEST_F(AlteredRecordTest, AReadingAlteredPartsTheReplayAtTheFrameThatTookIt) {
    const std::string report = ExpectPartingAt(Alter("cursor", CursorMoved, 1100, true), "paddle");
    // "...; at frame 1200: paddle.x recorded 192, replayed 232; balls[0].x recorded 203.66..."
    const std::string dumped = report.substr(report.find("; at frame "));
    EXPECT_THAT(dumped,
                testing::ContainsRegex(
                    R"(: paddle\.x recorded -?[0-9.e-]+, replayed -?[0-9.e-]+; .*; )"
                    R"(balls\[[0-9]+\]\.[a-z]+ recorded -?[0-9.e-]+, replayed -?[0-9.e-]+)"));
    const int frame = Alter("clock", [](std::string line) {
        const std::size_t value = line.rfind(' ') + 1;
        return line.substr(0, value) + std::to_string(std::stoull(line.substr(value)) + 3000);
    });
    ExpectPartingAt(frame, "timers");
}

TEST_F(AlteredRecordTest, ARecordCutShortOrLongerThanTheGameSaysWhereItStops) {
    // A run that crashed leaves its record up to the last frame it played.
    const std::string text = RecordText(RecordingOf(Game()));
    const std::size_t cut = text.find('\n', text.find(" frame 500 "));
    folder.Write("altered.rec", text.substr(0, cut + 1));
    platform::SessionOutcome outcome = ReplayAltered();
    EXPECT_FALSE(outcome.matched);
    EXPECT_NE(outcome.report.find("without the program's end"), std::string::npos)
        << outcome.report;
    // The last frame recorded twice: the game ends a frame before its record.
    const std::size_t last = text.rfind(" frame ");
    const std::size_t from = text.rfind('\n', last) + 1;
    const std::size_t to = text.find('\n', last) + 1;
    folder.Write("altered.rec", text.substr(0, to) + text.substr(from));
    outcome = ReplayAltered();
    EXPECT_FALSE(outcome.matched);
    EXPECT_NE(outcome.report.find(" frames of play; the record ends at pass "), std::string::npos)
        << outcome.report;
}

// A game on a level file whose name holds a space and '%', with the focus lost and back, is
// recorded, and its record, which carries the file, replays.
TEST_F(AlteredRecordTest, AGameOnALevelFileOfAnyNameIsRecordedAndReplays) {
    RecordedGame game = Game();
    game.levels = "my levels 100%";
    game.frames = 300;
    game.focusAtPass = 1500;
    const std::string record = (folder.Path() / "made.rec").string();
    const platform::SessionOutcome made = Record(game, record);
    ASSERT_TRUE(made.matched) << made.report;
    const platform::SessionOutcome outcome = Replay(game, record);
    EXPECT_TRUE(outcome.matched) << outcome.report;
}

// A parted replay names at most twelve of the values that differ, and counts the rest.
TEST(DumpDifferencesTest, TwelveValuesAreNamedAndTheRestCounted) {
    for (const int differing : {12, 13}) {
        platform::FrameDigest recorded;
        platform::FrameDigest replayed;
        for (int i = 0; i < differing; ++i) {
            recorded.push_back({"v" + std::to_string(i), "0"});
            replayed.push_back({"v" + std::to_string(i), "1"});
        }
        const std::string report = platform::DumpDifferences(recorded, replayed);
        EXPECT_EQ(std::count(report.begin(), report.end(), ';'), differing == 12 ? 11 : 12)
            << report;
        EXPECT_EQ(report.ends_with("v11 recorded 0, replayed 1; and 1 more"), differing == 13)
            << report;
    }
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
    EXPECT_THAT(outcome.report,
                testing::MatchesRegex(
                    "The replay parted from its record at frame 1184 \\(pass [0-9]+\\) on paddle; "
                    "then, at frame 1190, at pass [0-9]+ the game read its clock more often than "
                    "the record has readings; the record's next dump, of frame 1200, against frame "
                    "1190: paddle\\.x recorded .*"));
}

// What a replay's folder holds beside the recorded files changes nothing: a full Hall of Fame
// (the recorded one decided the name entry, and the replay leaves it as it is), and level sets
// and a tune that the game would have found before the recorded ones.
TEST_F(AlteredRecordTest, TheFilesBesideTheRecordedOnesChangeNothing) {
    const auto game = [](const std::function<bool(const RecordedGame&)>& which) {
        return *std::find_if(RecordedGames().begin(), RecordedGames().end(), which);
    };
    const RecordedGame named = game([](const RecordedGame& g) { return g.name == "flock-30"; });
    const RecordedGame shipped = game([](const RecordedGame& g) { return g.levels == "shipped"; });
    std::string best;
    for (int place = 0; place < 24; ++place) {
        best += "999999 Champion\r\n";
    }
    folder.Write("znscore.hof", best);
    // The recorded game took the second of its two level sets; here it would be another.
    WriteLevels("Aaa.znl", {"1,1,1\nGull=100,80,-90,0,0,0,0"});
    WriteLevels("Abb.znl", {"1,1,1\nGull=200,80,-90,0,0,0,0"});
    folder.Write("aaa.mid", "MThd");
    platform::SessionOutcome outcome = Replay(named, RecordingOf(named));
    EXPECT_TRUE(outcome.matched) << outcome.report;
    EXPECT_EQ(folder.Read("znscore.hof"), best) << "a replay leaves the Hall of Fame as it is";
    outcome = Replay(shipped, RecordingOf(shipped));
    EXPECT_TRUE(outcome.matched) << outcome.report;
}

TEST_F(AlteredRecordTest, WhatIsNotARecordIsRefusedWithItsReason) {
    const std::pair<std::string, const char*> records[] = {
        {"", "is not a record of a Zintrel game"},
        {std::string("\x1f\x8b\x08\0garbage", 12), "Cannot read the record"},
        {"zintrel record 2\nseed 5\n", "holds no recorded game"},
        {"zintrel record 2\nseed 5\n12 jump 3\n",
         "line 3: this is not an event of a recorded game: 12 jump 3"},
        {"zintrel record 2\n12 clock 5\n11 clock 6\n", "line 3"},  // passes never go back
        {"zintrel record 2\n12 cursor 5\n", "line 2"},
        {"zintrel record 2\n12 frame 1 score\n", "line 2"},
        {"zintrel record 2\ncarry a%2Fb x\n", "line 2"},  // a carried name is never a path
        {"zintrel record 2\ncarry a.znl %G0\n", "line 2"},
        {"zintrel record 2\n# a note\n12 char 65\n12 end\n", "accepted"},
    };
    for (const auto& [contents, reason] : records) {
        folder.Write("damaged.rec", contents);
        EXPECT_NE(Refusal(folder.Path() / "damaged.rec").find(reason), std::string::npos)
            << contents;
    }
}

}  // namespace
