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

// One named value: of a frame's digest, a number as text or the hash of a group of values; of a
// full dump, one value of the game record.
struct DigestField {
    std::string name;
    std::string value;
    bool hashed = false;  // the value is a group's hash
};
using FrameDigest = std::vector<DigestField>;

// The game record after a frame of play, value by value, as the game enumerates it once. From
// it come both the frame's digest (a value as it is, or a group as a hash of its values' exact
// bits, shown as eight hex digits) and its full dump (every value by its own name:
// `paddle.x`, `balls[1].dy`, `balls.count`, `bombtimer`).
class FrameRecord {
  public:
    // A value the digest shows as it is, under its own name; in hex digits when asked.
    void Show(const char* name, std::int64_t value, bool hex = false);
    // Starts a group the digest shows as a hash of the values added to it.
    void Group(const char* name);
    // The values added next belong to a sprite of the group under way: the sprite at the
    // index of a list, or the group's single sprite when there is no index.
    void Sprite(int index = kSingle);
    // The number of sprites of the group's list, named `<group>.count`.
    void Count(std::int64_t count);
    // A value of the group under way, named after the group's sprite when there is one.
    void Add(const char* name, std::int64_t value);
    void Add(const char* name, double value);

    FrameDigest Digest() const;
    FrameDigest Dump() const;

  private:
    static constexpr int kNone = -2;
    static constexpr int kSingle = -1;
    enum class Kind : std::uint8_t { Integer, Real, Hex };
    struct Entry {
        std::size_t group;
        int sprite;  // kNone, kSingle or the index in the group's list
        const char* name;
        Kind kind;
        std::int64_t integer;
        double real;
    };
    struct Grouping {
        const char* name;
        bool hashed;
    };
    void Append(const char* name, Kind kind, std::int64_t integer, double real);
    std::string Name(const Entry& entry) const;
    static std::string Value(const Entry& entry);

    std::vector<Grouping> groups_;
    std::vector<Entry> entries_;
    int sprite_ = kNone;
};

// Starts writing a record of this run to the file; throws Exception when it cannot be written.
void StartRecording(const std::string& path);
// Reads a record and feeds it to the game from now on: the input, clock and display timing of
// the recorded run replace the live ones, and the clock no longer waits when there is no screen
// to watch. The files the record carries (the level file played, the Hall of Fame) are served
// from a folder of the replay's own, searched first, with a silent tune for each recorded tune
// the game's folders lack; a search of the folders finds what it found in the recorded game.
// Throws Exception when the file cannot be read, is not a record of this format, or the game's
// folders lack what the record cannot carry (a picture shown, the level pack as it was played).
void StartReplay(const std::string& path);

// Whether a recording or a replay is under way.
bool SessionActive();

// The time of a replay on its record's clock, in microseconds from the first reading: the
// game's last reading, moved on by the replay's own waits and sleeps since (through stretches
// where the game reads no clock, such as name entry), never past the next reading. 0 without a
// replay.
std::uint64_t ReplayMicros();
// The time of the record's last reading, on the same clock: the length of the recorded game.
std::uint64_t ReplayEndMicros();

// The game record after a frame of play. A recording keeps its digest, and every so often its
// full dump. A replay that finds the digest different from the record's plays on to the next
// recorded dump and ends the game there, naming the values that differ.
void NoteFrame(const FrameRecord& record);

struct SessionOutcome {
    bool matched = true;
    std::string report;  // for the player: what was recorded, or where a replay parted
    // The record stops before the recorded game's end (a run that crashed): the replay played
    // what there is of it, but the game did not part from it.
    bool incomplete = false;
};
// Ends the recording or replay under way; a replay says whether every frame matched.
SessionOutcome EndSession();

// Thrown through the game when a replay parts from its record; the application then ends.
struct ReplayParted {};

}  // namespace platform
