// The recorded games kept with the tests: how each was played by the test bot.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/session/recording.h"
#include "support/play_fixture.h"

struct RecordedGame {
    std::string name;
    // "pack", "sky", "bazzle", "one", "bombs", "flock", or "shipped": the whole game folder when
    // recorded, its pictures alone when replayed
    std::string levels;
    long seed;         // the wall clock the game seeds its generator from
    double refreshHz;  // 0: the harness's own frame interval
    unsigned botSeed;
    int frames;  // frames of play before the bot leaves with Esc, unless the game ends
    // How the bot plays: "still" (never steers), "careless" (never dodges), "shooting", "pad"
    // (a game controller's stick and button), "second" (takes the second level set offered).
    std::string how;
    // The passes where the bot pauses (and resumes), the game loses the focus (and has it back),
    // and every surface is lost; 0: never.
    int pauseAtPass = 0, focusAtPass = 0, lostAtPass = 0;
    // The player's settings file while the game is recorded; a replay has the defaults.
    std::string settings = {};

    bool Plays(const char* way) const { return how.find(way) != std::string::npos; }
};

const std::vector<RecordedGame>& RecordedGames();
// Names a game in the tests' messages.
inline void PrintTo(const RecordedGame& game, std::ostream* out) {
    *out << game.name;
}

// The folder the recordings are kept in, in the source tree.
std::string RecordingsFolder();
// The text of a record, plain or compressed.
std::string RecordText(const std::string& path);

class RecordedGameTest : public PlayTest {
  protected:
    // Plays the game with the bot, recording it to the file.
    platform::SessionOutcome Record(const RecordedGame& game, const std::string& path);
    // Replays the record of the game.
    platform::SessionOutcome Replay(const RecordedGame& game, const std::string& path);

  private:
    void Prepare(const RecordedGame& game, bool replaying);
};
