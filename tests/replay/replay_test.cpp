// The recorded games replayed frame for frame, the faults a replay finds, and making the
// recordings anew.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

#include "platform/forms.h"
#include "recorded_games.h"

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

// ---- A record altered, cut short or damaged.

class AlteredRecordTest : public RecordedGameTest {
  protected:
    const RecordedGame& Game() const { return RecordedGames().front(); }

    // Writes the first game's record with the first line of the kind after frame 300 changed,
    // and gives the number of the frame recorded next: where the change first matters.
    int Alter(const std::string& kind, const std::function<std::string(std::string)>& change) {
        std::istringstream text(RecordText(RecordingOf(Game())));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        std::size_t at = 0;
        while (at < lines.size() && lines[at].find(" frame 300 ") == std::string::npos) {
            ++at;
        }
        while (at < lines.size() && lines[at].find(" " + kind + " ") == std::string::npos) {
            ++at;
        }
        EXPECT_LT(at, lines.size()) << "no " << kind << " after frame 300";
        lines[at] = change(lines[at]);
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

    // The altered record replays up to the frame, and parts there on the field named.
    void ExpectPartingAt(int frame, const std::string& field) {
        const platform::SessionOutcome outcome = ReplayAltered();
        EXPECT_FALSE(outcome.matched);
        EXPECT_EQ(outcome.report.rfind("Frame " + std::to_string(frame) + " (pass ", 0), 0u)
            << outcome.report;
        EXPECT_NE(outcome.report.find(field + " (recorded "), std::string::npos) << outcome.report;
    }
};

TEST_F(AlteredRecordTest, ACursorPositionMovedFailsAtTheFrameThatReadIt) {
    const int frame = Alter("cursor", [](std::string line) {
        // "<pass> cursor <x> <y>": the paddle is sent 40 pixels away from where it went.
        std::istringstream words(line);
        std::string pass, kind;
        int x = 0, y = 0;
        words >> pass >> kind >> x >> y;
        return pass + " cursor " + std::to_string(x < 320 ? x + 40 : x - 40) + " " +
               std::to_string(y);
    });
    ExpectPartingAt(frame, "paddle");
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
    EXPECT_NE(refusal(std::string("\x1f\x8b\x08\0garbage", 12)).find("Cannot read the record"),
              std::string::npos);
    EXPECT_NE(refusal("zintrel record 1\nseed 5\n12 jump 3\n")
                  .find("line 3: this is not an event of a recorded game: 12 jump 3"),
              std::string::npos);
    EXPECT_NE(refusal("zintrel record 1\n12 clock 5\n11 clock 6\n").find("line 3"),
              std::string::npos)
        << "passes never go back";
    EXPECT_NE(refusal("zintrel record 1\n12 cursor 5\n").find("line 2"), std::string::npos);
    EXPECT_NE(refusal("zintrel record 1\n12 frame 1 score\n").find("line 2"), std::string::npos);
    EXPECT_EQ(refusal("zintrel record 1\n# a note\n12 char 65\n12 end\n"), "accepted");
    try {
        platform::StartReplay((folder.Path() / "missing.rec").string());
        ADD_FAILURE() << "a missing record was accepted";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("Cannot read the record"), std::string::npos);
    }
}

}  // namespace
