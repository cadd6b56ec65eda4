// The text of a record: its format's version, the escaping of names and file contents, and the
// lines of delivered input and of a frame's values, written and read back.
//
// A record is text, one event per line, each line but the first two starting with the pass of
// the message pump it happened at:
//   zintrel record 2            the format
//   seed 1733541234             the random generator's seed
//   frequency 1000000000        the performance counter's ticks per second (0: none)
//   carry Harbour.znl Zintrel%20Level...  a file the game read, whole, escaped: the level file
//                               played, the Hall of Fame (empty when there was none)
//   pack GullCoast.znk 81234 5f3c...      a level pack read: its size and fingerprint
//   needs harbour01.jpg         a picture the game showed, which a replay needs beside it
//   files *.mid breakers.mid .. the names a search of the game's folders found, escaped
//   812 char 32                 input delivered: key VK, char CODE, down|up BUTTON, focus 0|1,
//                               close, message MSG WPARAM LPARAM, lost (the surfaces were lost)
//   812 clock 81234567          a reading of the game's clock
//   812 cursor 320 401          a cursor position read, when it differs from the last one
//   812 play 50 press           the options that change play, as a game began: the game speed
//                               in per cent, and the launch by a hold or a press
//   815 flipped                 a flip that does not wait showed its frame
//   815 frame 12 paddle=...     the game's digest after its 12th frame of play
//   815 dump 60 paddle.x=300 .. the game's full dump after its 60th frame of play: written
//                               every kDumpEvery frames, and for the last frame at the end
//   9140 end                    the program ended
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/options.h"
#include "platform/api/services.h"
#include "platform/session/recording.h"

namespace platform {

// The first line of a record names its format's version. Records of the version before, which
// carry no options of play, replay with the defaults.
inline constexpr const char* kHeaderStart = "zintrel record ";
inline constexpr int kFormatVersion = 3;
inline constexpr int kOldestFormatVersion = 2;
// Frames of play between two full dumps in a record: about a second.
inline constexpr int kDumpEvery = 60;

// The number a whole word holds; none when it holds anything else.
template <typename Number>
std::optional<Number> ParseNumber(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

// Names and file contents are written with every byte that is not a printable character but
// one, '%' and '=', as '%' and two hex digits, so that they hold no space.
std::string Escape(const std::string& text);
std::optional<std::string> Unescape(const std::string& text);

// The record's text of a delivered event; empty for motion, which the game sees only through
// the cursor positions it reads.
std::string EventText(const InputEvent& event);
// The event of a line's words after its pass ("<pass> <kind> ..."); none when it is no event.
std::optional<InputEvent> ReadEvent(const std::vector<std::string>& words);

// The options of play as a record's line writes them after "<pass> play", and read back from
// a line's words; none when they are not.
std::string PlayOptionsText(const PlayOptions& options);
std::optional<PlayOptions> ReadPlayOptions(const std::vector<std::string>& words);

// A line of name=value pairs, as a frame's digest and a dump are written.
std::string FieldsText(const FrameDigest& fields);
// The name=value pairs after "<pass> <kind> <frame>"; none when a word is not a pair.
std::optional<FrameDigest> ReadFields(const std::vector<std::string>& words);

}  // namespace platform
