// The recorder and the replayer behind the session hooks.
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
//   815 flipped                 a flip that does not wait showed its frame
//   815 frame 12 paddle=...     the game's digest after its 12th frame of play
//   815 dump 60 paddle.x=300 .. the game's full dump after its 60th frame of play: written
//                               every kDumpEvery frames, and for the last frame at the end
//   9140 end                    the program ended
#include "platform/session/recording.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "platform/api/files.h"
#include "platform/api/forms.h"
#include "platform/api/gamefolders.h"
#include "platform/session/session.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// The first line of a record names its format's version.
constexpr const char* kHeaderStart = "zintrel record ";
constexpr int kFormatVersion = 2;
// Frames of play between two full dumps in a record: about a second.
constexpr int kDumpEvery = 60;
// The values a parted replay names at most.
constexpr std::size_t kDifferencesShown = 12;

// Folds values, by their exact bits, into a short hash shown as eight hex digits.
class DigestHash {
  public:
    void Add(std::int64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF)) *
                    1099511628211ull;
        }
    }
    void Add(double value) {
        std::int64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Add(bits);
    }
    std::string Text() const { return Hex(static_cast<std::uint32_t>((hash_ >> 32) ^ hash_)); }
    static std::string Hex(std::uint32_t value) {
        char text[9];
        std::snprintf(text, sizeof text, "%08x", value);
        return text;
    }

  private:
    std::uint64_t hash_ = 14695981039346656037ull;
};

// A line of name=value pairs, as a frame's digest and a dump are written.
std::string FieldsText(const FrameDigest& fields) {
    std::string text;
    for (const DigestField& field : fields) {
        text += " " + field.name + "=" + field.value;
    }
    return text;
}

// The values of two dumps that differ, in the order the game enumerates them: a value only one
// of them holds is shown against "nothing".
std::string DumpDifferences(const FrameDigest& recorded, const FrameDigest& replayed) {
    std::map<std::string, const std::string*> was, is;
    for (const DigestField& field : recorded) {
        was.emplace(field.name, &field.value);
    }
    for (const DigestField& field : replayed) {
        is.emplace(field.name, &field.value);
    }
    std::vector<std::string> differences;
    std::set<std::string> compared;
    const auto compare = [&](const std::string& name) {
        if (!compared.insert(name).second) {
            return;
        }
        const auto recordedValue = was.find(name);
        const auto replayedValue = is.find(name);
        const std::string a = recordedValue == was.end() ? "nothing" : *recordedValue->second;
        const std::string b = replayedValue == is.end() ? "nothing" : *replayedValue->second;
        if (a != b) {
            differences.push_back(name + " recorded " + a + ", replayed " + b);
        }
    };
    // Both dumps come from the same enumeration: what one of them lacks (a sprite more in a
    // list) takes its place between the names they share.
    std::size_t r = 0;
    std::size_t p = 0;
    while (r < recorded.size() || p < replayed.size()) {
        if (r < recorded.size() && (p == replayed.size() || !is.count(recorded[r].name))) {
            compare(recorded[r++].name);
        } else if (p < replayed.size() && (r == recorded.size() || !was.count(replayed[p].name))) {
            compare(replayed[p++].name);
        } else {
            compare(recorded[r++].name);
            compare(replayed[p++].name);
        }
    }
    if (differences.empty()) {
        return "every value matches the record";
    }
    std::string text;
    for (std::size_t i = 0; i < std::min(differences.size(), kDifferencesShown); ++i) {
        text += (i == 0 ? "" : "; ") + differences[i];
    }
    if (differences.size() > kDifferencesShown) {
        text += "; and " + std::to_string(differences.size() - kDifferencesShown) + " more";
    }
    return text;
}

std::string ButtonName(TMouseButton button) {
    switch (button) {
        case TMouseButton::mbRight:
            return "right";
        case TMouseButton::mbMiddle:
            return "middle";
        default:
            return "left";
    }
}

// The record's text of a delivered event; empty for motion, which the game sees only through
// the cursor positions it reads.
std::string EventText(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::Message: {
            const TMessage& m = event.message;
            switch (m.Msg) {
                case WM_KEYDOWN:
                    return "key " + std::to_string(m.WParam);
                case WM_CHAR:
                    return "char " + std::to_string(m.WParam);
                case WM_CLOSE:
                    return "close";
                default:
                    return "message " + std::to_string(m.Msg) + " " + std::to_string(m.WParam) +
                           " " + std::to_string(m.LParam);
            }
        }
        case InputEvent::Kind::MouseDown:
            return "down " + ButtonName(event.button);
        case InputEvent::Kind::MouseUp:
            return "up " + ButtonName(event.button);
        case InputEvent::Kind::Focus:
            return event.active ? "focus 1" : "focus 0";
        case InputEvent::Kind::SurfacesLost:
            return "lost";
        case InputEvent::Kind::MouseMove:
            break;
    }
    return {};
}

// Names and file contents are written with every byte that is not a printable character but
// one, '%' and '=', as '%' and two hex digits, so that they hold no space.
std::string Escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7F || c == '%' || c == '=') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> Unescape(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        unsigned value = 0;
        const char* digits = text.data() + i + 1;
        if (i + 3 > text.size() ||
            std::from_chars(digits, digits + 2, value, 16).ptr != digits + 2) {
            return std::nullopt;
        }
        plain += static_cast<char>(value);
        i += 2;
    }
    return plain;
}

// The bytes of a file; none when it cannot be read.
std::optional<std::string> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// A level pack's fingerprint: its size and a 64-bit hash of its bytes.
std::string Fingerprint(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(bytes.size()) + " " + text;
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The text with its first letter in lower case, to follow on in a sentence.
std::string LowerFirst(std::string text) {
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What of a file the game opens decides a recorded game. A pack is too large to carry, and a
// picture only shows: a replay checks that they are there.
enum class FileRole { Carried, Pack, Picture };

FileRole RoleOf(const std::string& name) {
    const std::string lower = LowerCase(name);
    if (EndsWith(lower, ".znk")) {
        return FileRole::Pack;
    }
    for (const char* picture : {".bmp", ".jpg", ".jpeg", ".jpe", ".jfif"}) {
        if (EndsWith(lower, picture)) {
            return FileRole::Picture;
        }
    }
    return FileRole::Carried;
}

// A MIDI file of one empty track: what a replay plays for a recorded tune it does not have.
constexpr char kSilentTune[] =
    "MThd\0\0\0\6\0\0\0\1\0\x60"
    "MTrk\0\0\0\4\0\xFF\x2F\0";

class Session {
  public:
    virtual ~Session() = default;
    virtual std::uint32_t Seed(std::uint32_t live) = 0;
    virtual std::int64_t Frequency(std::int64_t live) = 0;
    virtual std::uint64_t Clock(std::uint64_t live) = 0;
    virtual POINT Cursor(POINT live) = 0;
    virtual bool FlipShows(bool live) = 0;
    virtual bool LosesSurfaces() = 0;
    virtual void Input(std::deque<InputEvent>& queue) = 0;
    virtual void Delivered(const InputEvent& event) = 0;
    virtual void Frame(const FrameRecord& record) = 0;
    virtual std::string FileOpened(const std::string& name, std::string live) = 0;
    virtual std::vector<std::string> FilesFound(const std::string& pattern,
                                                std::vector<std::string> live) = 0;
    virtual SessionOutcome End() = 0;
};

std::unique_ptr<Session>& Active() {
    static std::unique_ptr<Session> session;
    return session;
}

// A replay's clock: the recorded readings stand in for the live counter, so waits and sleeps
// take no time. The wall clock is the live one's.
class ReplayClock : public Clock {
  public:
    explicit ReplayClock(Clock& live)
        : live_(live), micros_(std::max<std::uint64_t>(live.NowMicros(), 1'000'000)) {}
    Clock& Live() const { return live_; }
    std::uint64_t NowMicros() override { return micros_; }
    void SleepMicros(std::uint64_t micros) override { micros_ += micros; }
    void WaitUntilMicros(std::uint64_t micros) override { micros_ = std::max(micros_, micros); }
    std::int64_t CounterFrequency() override { return live_.CounterFrequency(); }
    std::int64_t Counter() override {
        const auto micros = static_cast<std::int64_t>(micros_);
        const std::int64_t hz = CounterFrequency();
        return micros / 1'000'000 * hz + micros % 1'000'000 * hz / 1'000'000;
    }
    std::time_t WallClock() override { return live_.WallClock(); }

  private:
    Clock& live_;
    std::uint64_t micros_;
};

std::unique_ptr<ReplayClock>& ActiveReplayClock() {
    static std::unique_ptr<ReplayClock> clock;
    return clock;
}

int Pass() {
    return System().pass;
}

// ---- Recording.

class Recorder final : public Session {
  public:
    explicit Recorder(const std::string& path) : path_(path), out_(path, std::ios::trunc) {
        if (!out_) {
            throw Exception("Cannot write the record " + path + ": " + std::strerror(errno));
        }
        out_ << kHeaderStart << kFormatVersion << '\n';
    }

    std::uint32_t Seed(std::uint32_t live) override {
        out_ << "seed " << live << '\n';
        return live;
    }
    std::int64_t Frequency(std::int64_t live) override {
        if (!frequency_ || *frequency_ != live) {
            out_ << "frequency " << live << '\n';
            frequency_ = live;
        }
        return live;
    }
    std::uint64_t Clock(std::uint64_t live) override {
        Write("clock " + std::to_string(live));
        return live;
    }
    POINT Cursor(POINT live) override {
        if (!cursor_ || cursor_->x != live.x || cursor_->y != live.y) {
            Write("cursor " + std::to_string(live.x) + " " + std::to_string(live.y));
            cursor_ = live;
        }
        return live;
    }
    bool FlipShows(bool live) override {
        if (live) {
            Write("flipped");
        }
        return live;
    }
    bool LosesSurfaces() override {
        Write("lost");
        return true;
    }
    void Input(std::deque<InputEvent>&) override {}
    void Delivered(const InputEvent& event) override {
        if (const std::string text = EventText(event); !text.empty()) {
            Write(text);
        }
    }
    void Frame(const FrameRecord& record) override {
        Write("frame " + std::to_string(++frames_) + FieldsText(record.Digest()));
        if (frames_ % kDumpEvery == 0) {
            WriteDump(record);
        } else {
            last_ = record;
        }
        // A run that crashes keeps its record up to the last frame.
        out_.flush();
        if (!out_ && !warned_) {
            std::cerr << "Zintrel: the record " << path_
                      << " cannot be written; the game goes on without it\n";
            warned_ = true;
        }
    }
    std::string FileOpened(const std::string& name, std::string live) override {
        if (!opened_.insert(LowerCase(name)).second) {
            return live;
        }
        const std::optional<std::string> bytes = FileBytes(live);
        switch (RoleOf(name)) {
            case FileRole::Pack:
                if (bytes) {
                    out_ << "pack " << Escape(name) << ' ' << Fingerprint(*bytes) << '\n';
                }
                break;
            case FileRole::Picture:
                if (bytes) {
                    out_ << "needs " << Escape(name) << '\n';
                }
                break;
            case FileRole::Carried:
                out_ << "carry " << Escape(name) << ' ' << Escape(bytes.value_or("")) << '\n';
                break;
        }
        return live;
    }
    std::vector<std::string> FilesFound(const std::string& pattern,
                                        std::vector<std::string> live) override {
        out_ << "files " << Escape(pattern);
        for (const std::string& name : live) {
            out_ << ' ' << Escape(name);
        }
        out_ << '\n';
        return live;
    }
    SessionOutcome End() override {
        if (last_) {
            WriteDump(*last_);
        }
        Write("end");
        out_.close();
        if (!out_) {
            return {false, "The record " + path_ + " could not be written completely."};
        }
        return {true, "Recorded " + std::to_string(frames_) + " frames of play in " + path_ + "."};
    }

  private:
    void Write(const std::string& text) { out_ << Pass() << ' ' << text << '\n'; }
    void WriteDump(const FrameRecord& record) {
        Write("dump " + std::to_string(frames_) + FieldsText(record.Dump()));
        last_.reset();
    }

    std::string path_;
    std::ofstream out_;
    std::optional<std::int64_t> frequency_;
    std::optional<POINT> cursor_;
    int frames_ = 0;
    std::optional<FrameRecord> last_;  // the last frame's, when it has no dump yet
    std::set<std::string> opened_;     // the files noted, by their names in lower case
    bool warned_ = false;
};

// ---- Replaying.

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

// The lines of a record, plain or compressed with gzip, and whether the last one was cut
// before its line end (by a run that crashed while writing it, say).
struct RecordLines {
    std::vector<std::string> lines;
    bool cut = false;
};

RecordLines ReadLines(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw Exception("Cannot read the record " + path + ": " + std::strerror(errno));
    }
    RecordLines read;
    std::string line;
    char buffer[4096];
    while (gzgets(file, buffer, sizeof buffer) != nullptr) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            read.lines.push_back(std::move(line));
            line.clear();
        }
    }
    int error = Z_OK;
    const std::string problem = gzerror(file, &error);
    gzclose(file);
    if (error != Z_OK && error != Z_STREAM_END) {
        throw Exception("Cannot read the record " + path + ": " + problem);
    }
    if (!line.empty()) {
        read.lines.push_back(std::move(line));
        read.cut = true;
    }
    return read;
}

struct RecordedFrame {
    int pass = 0;
    FrameDigest digest;
};

class Replayer final : public Session {
  public:
    explicit Replayer(const std::string& path) : folders_(ActiveGameFolders()) {
        RecordLines read = ReadLines(path);
        std::vector<std::string>& lines = read.lines;
        const std::string header = lines.empty() ? "" : lines[0];
        if (header.rfind(kHeaderStart, 0) != 0) {
            throw Exception(path + " is not a record of a Zintrel game.");
        }
        if (header != kHeaderStart + std::to_string(kFormatVersion)) {
            throw Exception(path + " is a record of format version " +
                            header.substr(std::strlen(kHeaderStart)) +
                            "; this version of Zintrel replays records of format version " +
                            std::to_string(kFormatVersion) + ".");
        }
        if (read.cut && lines.size() > 1) {
            // A run that crashed while writing its last line: the replay goes as far as the
            // lines before it.
            cutLine_ = lines.size();
            lines.pop_back();
        }
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (!line.empty() && line[0] != '#' && !Read(line)) {
                throw Exception(path + " line " + std::to_string(i + 1) +
                                ": this is not an event of a recorded game: " + line);
            }
        }
        if (!endPass_) {
            // A run that stopped without ending, by a crash say: the replay goes as far.
            endPass_ = lastPass_;
            stopped_ = true;
        }
        CheckFiles();
        ServeFiles();
    }
    ~Replayer() override { UseGameFolders(folders_); }
    Replayer(const Replayer&) = delete;
    Replayer& operator=(const Replayer&) = delete;

    std::uint32_t Seed(std::uint32_t live) override { return seed_.value_or(live); }
    std::int64_t Frequency(std::int64_t live) override { return frequency_.value_or(live); }
    std::uint64_t Clock(std::uint64_t) override {
        if (clockAt_ >= clocks_.size()) {
            Part("At pass " + std::to_string(Pass()) +
                 " the game read its clock more often than the record has readings.");
        }
        const std::uint64_t value = clocks_[clockAt_++];
        Pace(value);
        return value;
    }
    POINT Cursor(POINT live) override {
        while (cursorAt_ < cursors_.size() && cursors_[cursorAt_].first <= Pass()) {
            cursor_ = cursors_[cursorAt_++].second;
        }
        return cursor_.value_or(live);
    }
    bool FlipShows(bool) override {
        const auto due = flips_.find(Pass());
        if (due == flips_.end() || due->second == 0) {
            return false;
        }
        --due->second;
        return true;
    }
    bool LosesSurfaces() override { return false; }
    void Input(std::deque<InputEvent>& queue) override {
        const int pass = Pass();
        if (pass > *endPass_) {
            if (stopped_) {
                // What is there of the record matched, unless the replay parted from it first.
                incomplete_ = parting_.empty();
                Part(cutLine_ ? "The record is truncated at line " + std::to_string(cutLine_) +
                                    ", cut in the middle; the replay matched it up to pass " +
                                    std::to_string(*endPass_) + "."
                              : "The record stops at pass " + std::to_string(*endPass_) +
                                    " without the program's end; the replay went on past it.");
            }
            Part("The game went on past the end of the record at pass " +
                 std::to_string(*endPass_) + ".");
        }
        queue.clear();
        if (const auto events = inputs_.find(pass); events != inputs_.end()) {
            queue.assign(events->second.begin(), events->second.end());
        }
    }
    void Delivered(const InputEvent&) override {}
    void Frame(const FrameRecord& record) override {
        ++frameAt_;
        if (!parting_.empty()) {
            PlayOn(record);
            return;
        }
        if (frameAt_ > frames_.size()) {
            Part("Frame " + std::to_string(frameAt_) + " (pass " + std::to_string(Pass()) +
                 ") is past the last frame of the record.");
        }
        const RecordedFrame& recorded = frames_[frameAt_ - 1];
        std::string differences;
        const auto differ = [&](const std::string& name, const std::string& was,
                                const std::string& is, bool hashed) {
            differences += (differences.empty() ? "" : ", ") + name +
                           (hashed ? "" : " (recorded " + was + ", replayed " + is + ")");
        };
        if (recorded.pass != Pass()) {
            differ("pass", std::to_string(recorded.pass), std::to_string(Pass()), false);
        }
        for (const DigestField& field : record.Digest()) {
            const auto was =
                std::find_if(recorded.digest.begin(), recorded.digest.end(),
                             [&](const DigestField& f) { return f.name == field.name; });
            const std::string wasValue = was == recorded.digest.end() ? "nothing" : was->value;
            if (wasValue != field.value) {
                differ(field.name, wasValue, field.value, field.hashed);
            }
        }
        if (differences.empty()) {
            return;
        }
        // The digest names the groups that differ; the next full dump of the record names the
        // values. The game plays on to it with the record's input, unchecked.
        partedAt_ = frameAt_;
        parting_ = "The replay parted from its record at frame " + std::to_string(frameAt_) +
                   " (pass " + std::to_string(Pass()) + ") on " + differences;
        last_ = record;
        if (dumps_.lower_bound(frameAt_) == dumps_.end()) {
            Finish(parting_ + "; the record holds no full dump from there on.");
        }
        PlayOn(record);
    }
    SessionOutcome End() override {
        if (parted_.empty() && !parting_.empty()) {
            parted_ = PartingAtTheEnd("the game ended");
        }
        if (!parted_.empty()) {
            return {false, parted_, incomplete_};
        }
        if (frameAt_ < frames_.size() || Pass() != *endPass_) {
            return {false, "The game ended at pass " + std::to_string(Pass()) + " after " +
                               std::to_string(frameAt_) +
                               " frames of play; the record ends at pass " +
                               std::to_string(*endPass_) + " after " +
                               std::to_string(frames_.size()) + "."};
        }
        return {true,
                "All " + std::to_string(frames_.size()) + " frames of play matched the record."};
    }

    std::string FileOpened(const std::string&, std::string live) override { return live; }
    std::vector<std::string> FilesFound(const std::string& pattern,
                                        std::vector<std::string> live) override {
        const auto found = found_.find(pattern);
        if (found == found_.end() || found->second.empty()) {
            return live;
        }
        std::vector<std::string> names = std::move(found->second.front());
        found->second.pop_front();
        return names;
    }

  private:
    // Refuses the replay, before its first frame, when the game's folders lack what the record
    // cannot carry: a picture the recorded game showed, or the level pack it played as it was.
    void CheckFiles() const {
        for (const std::string& name : pictures_) {
            if (!FileExists(name)) {
                throw Exception("The recorded game showed the picture " + name +
                                ", which is not in the game's folders.");
            }
        }
        for (const auto& [name, fingerprint] : packs_) {
            const std::string path = ResolveFileName(name, FolderHolding(name));
            const std::optional<std::string> bytes = FileBytes(path);
            if (!FileExists(name) || !bytes) {
                throw Exception("The recorded game played the level pack " + name +
                                ", which is not in the game's folders.");
            }
            if (Fingerprint(*bytes) != fingerprint) {
                throw Exception(path + " is another level pack than the recorded game played (" +
                                "size and fingerprint " + Fingerprint(*bytes) + "; recorded " +
                                fingerprint + ").");
            }
        }
    }

    // Puts the files the record carries, and a silent tune for each recorded tune the game's
    // folders lack, in a folder of the replay's own that is searched first.
    void ServeFiles() {
        std::vector<std::pair<std::string, std::string>> served = carried_;
        for (const auto& [pattern, searches] : found_) {
            if (pattern != "*.mid" && pattern != "*.rmi") {
                continue;
            }
            for (const std::vector<std::string>& names : searches) {
                for (const std::string& name : names) {
                    if (!FileExists(name)) {
                        served.emplace_back(name, std::string(kSilentTune, sizeof kSilentTune - 1));
                    }
                }
            }
        }
        if (served.empty()) {
            return;
        }
        std::error_code error;
        std::string folder = (fs::temp_directory_path(error) / "zintrel-replay-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            throw Exception("Cannot make a folder for the record's files: " +
                            std::string(std::strerror(errno)));
        }
        served_.path = folder;
        for (const auto& [name, bytes] : served) {
            std::ofstream file(fs::path(folder) / name, std::ios::binary | std::ios::trunc);
            file << bytes;
            if (!file) {
                throw Exception("Cannot write the record's file " + name + " to " + folder + ".");
            }
        }
        GameFolders folders = folders_;
        folders.search.insert(folders.search.begin(), folder);
        UseGameFolders(folders);
    }

    // Takes one line of the record; false when it is not an event.
    bool Read(const std::string& line) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) {
            w.push_back(word);
        }
        if (w.size() == 2 && w[0] == "seed") {
            seed_ = ParseNumber<std::uint32_t>(w[1]);
            return seed_.has_value();
        }
        if (w.size() == 2 && w[0] == "frequency") {
            frequency_ = ParseNumber<std::int64_t>(w[1]);
            return frequency_.has_value();
        }
        if (!w.empty() &&
            (w[0] == "carry" || w[0] == "pack" || w[0] == "needs" || w[0] == "files")) {
            return ReadFile(w);
        }
        const auto pass = w.size() >= 2 ? ParseNumber<int>(w[0]) : std::nullopt;
        if (!pass || *pass < lastPass_) {
            return false;
        }
        lastPass_ = *pass;
        const std::string& kind = w[1];
        const std::size_t args = w.size() - 2;
        if (kind == "clock" && args == 1) {
            const auto value = ParseNumber<std::uint64_t>(w[2]);
            clocks_.push_back(value.value_or(0));
            return value.has_value();
        }
        if (kind == "cursor" && args == 2) {
            const auto x = ParseNumber<LONG>(w[2]);
            const auto y = ParseNumber<LONG>(w[3]);
            cursors_.emplace_back(*pass, POINT{x.value_or(0), y.value_or(0)});
            return x && y;
        }
        if (kind == "flipped" && args == 0) {
            ++flips_[*pass];
            return true;
        }
        if (kind == "frame" && args >= 1) {
            std::optional<FrameDigest> fields = ReadFields(w);
            if (fields) {
                frames_.push_back({*pass, std::move(*fields)});
            }
            return fields.has_value();
        }
        if (kind == "dump" && args >= 1) {
            const auto frame = ParseNumber<std::size_t>(w[2]);
            std::optional<FrameDigest> fields = ReadFields(w);
            if (frame && fields) {
                dumps_[*frame] = std::move(*fields);
            }
            return frame && fields;
        }
        if (kind == "end" && args == 0) {
            endPass_ = *pass;
            return true;
        }
        const std::optional<InputEvent> event = ReadEvent(kind, w);
        if (event) {
            inputs_[*pass].push_back(*event);
        }
        return event.has_value();
    }

    // A line of what the recorded game read or found in its folders.
    bool ReadFile(const std::vector<std::string>& w) {
        std::vector<std::string> plain;
        for (std::size_t i = 1; i < w.size(); ++i) {
            const std::optional<std::string> text = Unescape(w[i]);
            if (!text) {
                return false;
            }
            plain.push_back(*text);
        }
        // Names are of files in a folder, never a path.
        const bool carry = w[0] == "carry";
        for (std::size_t i = 0; i < plain.size() && !(carry && i == 1); ++i) {
            if (plain[i].empty() || plain[i].find('/') != std::string::npos) {
                return false;
            }
        }
        if (carry && (plain.size() == 1 || plain.size() == 2)) {
            carried_.emplace_back(plain[0], plain.size() == 2 ? plain[1] : "");
            return true;
        }
        if (w[0] == "pack" && plain.size() == 3) {
            packs_.emplace_back(plain[0], plain[1] + " " + plain[2]);
            return true;
        }
        if (w[0] == "needs" && plain.size() == 1) {
            pictures_.push_back(plain[0]);
            return true;
        }
        if (w[0] == "files" && !plain.empty()) {
            found_[plain[0]].emplace_back(plain.begin() + 1, plain.end());
            return true;
        }
        return false;
    }

    // The name=value pairs after "<pass> <kind> <frame>".
    static std::optional<FrameDigest> ReadFields(const std::vector<std::string>& w) {
        FrameDigest fields;
        for (std::size_t i = 3; i < w.size(); ++i) {
            const std::size_t equals = w[i].find('=');
            if (equals == std::string::npos) {
                return std::nullopt;
            }
            fields.push_back({w[i].substr(0, equals), w[i].substr(equals + 1)});
        }
        return fields;
    }

    static std::optional<InputEvent> ReadEvent(const std::string& kind,
                                               const std::vector<std::string>& w) {
        InputEvent event;
        const std::size_t args = w.size() - 2;
        const auto number = [&](std::size_t i) {
            return i < w.size() ? ParseNumber<std::uint32_t>(w[i]) : std::nullopt;
        };
        if ((kind == "key" || kind == "char") && args == 1 && number(2)) {
            event.message.Msg = kind == "key" ? WM_KEYDOWN : WM_CHAR;
            event.message.WParam = *number(2);
            return event;
        }
        if (kind == "close" && args == 0) {
            event.message.Msg = WM_CLOSE;
            return event;
        }
        const auto lParam = args == 3 ? ParseNumber<std::int64_t>(w[4]) : std::nullopt;
        if (kind == "message" && number(2) && number(3) && lParam) {
            event.message = TMessage{*number(2), *number(3), static_cast<LPARAM>(*lParam), 0};
            return event;
        }
        if ((kind == "down" || kind == "up") && args == 1) {
            event.kind = kind == "down" ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
            for (const auto button :
                 {TMouseButton::mbLeft, TMouseButton::mbRight, TMouseButton::mbMiddle}) {
                if (ButtonName(button) == w[2]) {
                    event.button = button;
                    return event;
                }
            }
            return std::nullopt;
        }
        if (kind == "focus" && args == 1 && (w[2] == "0" || w[2] == "1")) {
            event.kind = InputEvent::Kind::Focus;
            event.active = w[2] == "1";
            return event;
        }
        if (kind == "lost" && args == 0) {
            event.kind = InputEvent::Kind::SurfacesLost;
            return event;
        }
        return std::nullopt;
    }

    // With a screen to watch, the replay keeps the recorded run's pace; without one it runs as
    // fast as it can.
    void Pace(std::uint64_t reading) {
        using Clock = std::chrono::steady_clock;
        if (!paceDecided_) {
            paceDecided_ = true;
            realTime_ = System().windows->Watched();
            startedAt_ = Clock::now();
            firstReading_ = reading;
        }
        if (!realTime_ || reading < firstReading_) {
            return;
        }
        const double perSecond =
            frequency_.value_or(0) > 0 ? static_cast<double>(*frequency_) : 1000.0;
        const auto since =
            std::chrono::duration<double>(static_cast<double>(reading - firstReading_) / perSecond);
        std::this_thread::sleep_until(startedAt_ +
                                      std::chrono::duration_cast<Clock::duration>(since));
    }

    // A frame of a replay that parted: at the record's next dump the replay ends, naming the
    // values that differ.
    void PlayOn(const FrameRecord& record) {
        last_ = record;
        if (const auto dump = dumps_.find(frameAt_); dump != dumps_.end()) {
            Finish(parting_ + "; at frame " + std::to_string(frameAt_) + ": " +
                   DumpDifferences(dump->second, record.Dump()) + ".");
        }
        if (frameAt_ > frames_.size()) {
            Part("Frame " + std::to_string(frameAt_) + " is past the last frame of the record.");
        }
    }

    // Ends the replay with the report; after a parting, with the parting's report.
    [[noreturn]] void Part(const std::string& report) {
        Finish(parting_.empty() ? report : PartingAtTheEnd(report));
    }
    [[noreturn]] void Finish(const std::string& report) {
        parted_ = report;
        throw ReplayParted{};
    }

    // What a parted replay that ran out of its record before the next dump says: the reason,
    // and the values of its last frame against the record's dump it did not reach.
    std::string PartingAtTheEnd(const std::string& reason) const {
        std::string report =
            parting_ + "; then, at frame " + std::to_string(frameAt_) + ", " + LowerFirst(reason);
        if (!reason.empty() && reason.back() == '.') {
            report.pop_back();
        }
        const auto dump = dumps_.lower_bound(partedAt_);
        if (dump == dumps_.end() || !last_) {
            return report + ".";
        }
        return report + "; the record's next dump, of frame " + std::to_string(dump->first) +
               ", against frame " + std::to_string(frameAt_) + ": " +
               DumpDifferences(dump->second, last_->Dump()) + ".";
    }

    std::optional<std::uint32_t> seed_;
    std::optional<std::int64_t> frequency_;
    std::map<int, std::vector<InputEvent>> inputs_;
    std::vector<std::uint64_t> clocks_;
    std::size_t clockAt_ = 0;
    std::vector<std::pair<int, POINT>> cursors_;
    std::size_t cursorAt_ = 0;
    std::optional<POINT> cursor_;
    std::map<int, int> flips_;
    std::vector<RecordedFrame> frames_;
    std::map<std::size_t, FrameDigest> dumps_;  // by the number of their frame
    std::size_t frameAt_ = 0;                   // the frames of play replayed
    std::string parting_;              // where the digest parted, while the game plays on to a dump
    std::size_t partedAt_ = 0;         // the frame it parted at
    std::optional<FrameRecord> last_;  // the last frame's record after a parting
    int lastPass_ = 0;
    std::optional<int> endPass_;
    bool stopped_ = false;
    std::size_t cutLine_ = 0;  // the number of the last line, when it was cut in the middle
    bool incomplete_ = false;
    GameFolders folders_;  // the game's folders before the replay
    std::vector<std::pair<std::string, std::string>> carried_;  // names and contents
    std::vector<std::pair<std::string, std::string>> packs_;    // names and fingerprints
    std::vector<std::string> pictures_;
    std::map<std::string, std::deque<std::vector<std::string>>> found_;  // by pattern
    // The replay's folder of the record's files, removed with the replay, or when it is
    // refused while the files are being written.
    struct ServedFolder {
        std::string path;
        ServedFolder() = default;
        ServedFolder(const ServedFolder&) = delete;
        ServedFolder& operator=(const ServedFolder&) = delete;
        ~ServedFolder() {
            std::error_code error;
            if (!path.empty()) {
                fs::remove_all(path, error);
            }
        }
    } served_;
    std::string parted_;
    bool paceDecided_ = false;
    bool realTime_ = false;
    std::chrono::steady_clock::time_point startedAt_;
    std::uint64_t firstReading_ = 0;
};

}  // namespace

void FrameRecord::Show(const char* name, std::int64_t value, bool hex) {
    groups_.push_back({name, false});
    sprite_ = kNone;
    Append(name, hex ? Kind::Hex : Kind::Integer, value, 0);
}

void FrameRecord::Group(const char* name) {
    groups_.push_back({name, true});
    sprite_ = kNone;
}

void FrameRecord::Sprite(int index) {
    sprite_ = index;
}

void FrameRecord::Count(std::int64_t count) {
    entries_.push_back({groups_.size() - 1, kSingle, "count", Kind::Integer, count, 0});
}

void FrameRecord::Add(const char* name, std::int64_t value) {
    Append(name, Kind::Integer, value, 0);
}

void FrameRecord::Add(const char* name, double value) {
    Append(name, Kind::Real, 0, value);
}

void FrameRecord::Append(const char* name, Kind kind, std::int64_t integer, double real) {
    entries_.push_back({groups_.size() - 1, sprite_, name, kind, integer, real});
}

FrameDigest FrameRecord::Digest() const {
    FrameDigest digest;
    auto entry = entries_.begin();
    for (std::size_t group = 0; group < groups_.size(); ++group) {
        if (!groups_[group].hashed) {
            digest.push_back({groups_[group].name, Value(*entry++)});
            continue;
        }
        DigestHash hash;
        for (; entry != entries_.end() && entry->group == group; ++entry) {
            if (entry->kind == Kind::Real) {
                hash.Add(entry->real);
            } else {
                hash.Add(entry->integer);
            }
        }
        digest.push_back({groups_[group].name, hash.Text(), true});
    }
    return digest;
}

FrameDigest FrameRecord::Dump() const {
    FrameDigest dump;
    dump.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        dump.push_back({Name(entry), Value(entry)});
    }
    return dump;
}

std::string FrameRecord::Name(const Entry& entry) const {
    if (entry.sprite == kNone) {
        return entry.name;
    }
    std::string name = groups_[entry.group].name;
    if (entry.sprite != kSingle) {
        name += "[" + std::to_string(entry.sprite) + "]";
    }
    return name + "." + entry.name;
}

std::string FrameRecord::Value(const Entry& entry) {
    switch (entry.kind) {
        case Kind::Hex:
            return DigestHash::Hex(static_cast<std::uint32_t>(entry.integer));
        case Kind::Real: {
            // The shortest text that reads back as the same double.
            char text[32];
            const auto [end, error] = std::to_chars(text, text + sizeof text, entry.real);
            return error == std::errc{} ? std::string(text, end) : "?";
        }
        case Kind::Integer:
            break;
    }
    return std::to_string(entry.integer);
}

void StartRecording(const std::string& path) {
    Active() = std::make_unique<Recorder>(path);
}

void StartReplay(const std::string& path) {
    Active() = std::make_unique<Replayer>(path);
    ActiveReplayClock() = std::make_unique<ReplayClock>(*System().clock);
    System().clock = ActiveReplayClock().get();
}

bool SessionActive() {
    return Active() != nullptr;
}

void NoteFrame(const FrameRecord& record) {
    if (Active()) {
        Active()->Frame(record);
    }
}

SessionOutcome EndSession() {
    if (std::unique_ptr<ReplayClock> clock = std::move(ActiveReplayClock())) {
        System().clock = &clock->Live();
    }
    std::unique_ptr<Session> session = std::move(Active());
    return session ? session->End() : SessionOutcome{};
}

std::uint32_t SessionSeed(std::uint32_t live) {
    return Active() ? Active()->Seed(live) : live;
}

std::int64_t SessionFrequency(std::int64_t live) {
    return Active() ? Active()->Frequency(live) : live;
}

std::uint64_t SessionClock(std::uint64_t live) {
    return Active() ? Active()->Clock(live) : live;
}

POINT SessionCursor(POINT live) {
    return Active() ? Active()->Cursor(live) : live;
}

bool SessionFlipShows(bool live) {
    return Active() ? Active()->FlipShows(live) : live;
}

bool SessionLosesSurfaces() {
    return Active() ? Active()->LosesSurfaces() : true;
}

void SessionInput(std::deque<InputEvent>& queue) {
    if (Active()) {
        Active()->Input(queue);
    }
}

void SessionDelivered(const InputEvent& event) {
    if (Active()) {
        Active()->Delivered(event);
    }
}

std::string SessionFileOpened(const std::string& name, std::string live) {
    return Active() ? Active()->FileOpened(name, std::move(live)) : live;
}

std::vector<std::string> SessionFilesFound(const std::string& pattern,
                                           std::vector<std::string> live) {
    return Active() ? Active()->FilesFound(pattern, std::move(live)) : live;
}

}  // namespace platform
