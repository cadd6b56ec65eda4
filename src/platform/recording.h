// Recorded games. A recording writes, one line per event, what the game consumed from the
// platform (the random seed, the input delivered at each pass of the message pump, the clock
// readings, the cursor positions read, the frames shown) and a digest of the game after each
// frame of play. A replay feeds a record back to the game in place of the player, the clock and
// the display's timing, and checks every frame's digest against the record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One named value of a frame's digest: a number as text, or the hash of a group of values.
struct DigestField {
    std::string name;
    std::string value;
};
using FrameDigest = std::vector<DigestField>;

// Folds values, by their exact bits, into a short hash shown as eight hex digits.
class DigestHash {
  public:
    DigestHash& Add(std::int64_t value);
    DigestHash& Add(double value);
    std::string Text() const;

  private:
    std::uint64_t hash_ = 14695981039346656037ull;
};

// Starts writing a record of this run to the file; throws Exception when it cannot be written.
void StartRecording(const std::string& path);
// Reads a record and feeds it to the game from now on: the input, clock and display timing of
// the recorded run replace the live ones, and the clock no longer waits when there is no screen
// to watch. Throws Exception when the file cannot be read or is not a record.
void StartReplay(const std::string& path);

// Whether a recording or a replay is under way.
bool SessionActive();

// The game's digest after a frame of play. A replay that finds it different from the record's
// ends the game at once.
void NoteFrame(const FrameDigest& digest);

struct SessionOutcome {
    bool matched = true;
    std::string report;  // for the player: what was recorded, or where a replay parted
};
// Ends the recording or replay under way; a replay says whether every frame matched.
SessionOutcome EndSession();

// Thrown through the game when a replay parts from its record; the application then ends.
struct ReplayParted {};

}  // namespace platform
