// The replayer: a record read whole and fed back to the game in place of the player, the clock
// and the display's timing, every frame of play checked against it.
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/api/forms.h"
#include "platform/api/gamefolders.h"
#include "platform/session/carried_files.h"
#include "platform/session/dumps.h"
#include "platform/session/record_text.h"
#include "platform/session/sessions.h"

namespace platform {

namespace {

// The text with its first letter in lower case, to follow on in a sentence.
std::string LowerFirst(std::string text) {
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
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
        const std::optional<int> version =
            ParseNumber<int>(header.substr(std::strlen(kHeaderStart)));
        if (!version || *version < kOldestFormatVersion || *version > kFormatVersion) {
            throw Exception(path + " is a record of format version " +
                            header.substr(std::strlen(kHeaderStart)) +
                            "; this version of Zintrel replays records of format versions " +
                            std::to_string(kOldestFormatVersion) + " to " +
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
        if (!events_) {
            throw Exception(path + " holds no recorded game: it has no event after its heading.");
        }
        if (!endPass_) {
            // A run that stopped without ending, by a crash say: the replay goes as far.
            endPass_ = lastPass_;
            stopped_ = true;
        }
        files_.Serve(folders_);
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
    PlayOptions Play(PlayOptions) override {
        // The options of the last game begun at this pass or before; the defaults before any.
        PlayOptions options;
        for (const auto& [pass, recorded] : plays_) {
            if (pass > Pass()) {
                break;
            }
            options = recorded;
        }
        return options;
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
    RecordReadings Readings() const override {
        RecordReadings readings;
        if (clocks_.empty()) {
            return readings;
        }
        readings.end = Micros(clocks_.back());
        if (clockAt_ > 0) {
            readings.last = Micros(clocks_[clockAt_ - 1]);
        }
        if (clockAt_ < clocks_.size()) {
            readings.next = Micros(clocks_[clockAt_]);
        }
        return readings;
    }

    std::string FileOpened(const std::string&, std::string live) override { return live; }
    std::vector<std::string> FilesFound(const std::string& pattern,
                                        std::vector<std::string> live) override {
        return files_.Found(pattern, std::move(live));
    }

  private:
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
        if (!w.empty() && CarriedFiles::IsFileLine(w[0])) {
            return files_.Read(w);
        }
        const auto pass = w.size() >= 2 ? ParseNumber<int>(w[0]) : std::nullopt;
        if (!pass || *pass < lastPass_) {
            return false;
        }
        lastPass_ = *pass;
        ++events_;
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
        if (kind == "play") {
            const std::optional<PlayOptions> options = ReadPlayOptions(w);
            if (options) {
                plays_.emplace_back(*pass, *options);
            }
            return options.has_value();
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
        const std::optional<InputEvent> event = ReadEvent(w);
        if (event) {
            inputs_[*pass].push_back(*event);
        }
        return event.has_value();
    }

    // A reading of the record's clock in microseconds from its first: counter ticks at the
    // recorded frequency, or milliseconds where there was no counter.
    std::uint64_t Micros(std::uint64_t reading) const {
        if (reading < clocks_.front()) {
            return 0;
        }
        const double perSecond =
            frequency_.value_or(0) > 0 ? static_cast<double>(*frequency_) : 1000.0;
        return static_cast<std::uint64_t>(static_cast<double>(reading - clocks_.front()) *
                                          1'000'000.0 / perSecond);
    }

    // With a screen to watch, the replay keeps the recorded run's pace; without one it runs as
    // fast as it can.
    void Pace(std::uint64_t reading) {
        using Clock = std::chrono::steady_clock;
        if (!paceDecided_) {
            paceDecided_ = true;
            realTime_ = System().windows->Watched();
            startedAt_ = Clock::now();
        }
        if (realTime_) {
            std::this_thread::sleep_until(startedAt_ + std::chrono::microseconds(Micros(reading)));
        }
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
    std::vector<std::pair<int, PlayOptions>> plays_;
    std::map<int, int> flips_;
    std::vector<RecordedFrame> frames_;
    std::map<std::size_t, FrameDigest> dumps_;  // by the number of their frame
    std::size_t frameAt_ = 0;                   // the frames of play replayed
    std::string parting_;              // where the digest parted, while the game plays on to a dump
    std::size_t partedAt_ = 0;         // the frame it parted at
    std::optional<FrameRecord> last_;  // the last frame's record after a parting
    int lastPass_ = 0;
    std::size_t events_ = 0;  // the lines read at a pass
    std::optional<int> endPass_;
    bool stopped_ = false;
    std::size_t cutLine_ = 0;  // the number of the last line, when it was cut in the middle
    bool incomplete_ = false;
    GameFolders folders_;  // the game's folders before the replay
    CarriedFiles files_;
    std::string parted_;
    bool paceDecided_ = false;
    bool realTime_ = false;
    std::chrono::steady_clock::time_point startedAt_;
};

}  // namespace

std::unique_ptr<Session> MakeReplayer(const std::string& path) {
    return std::make_unique<Replayer>(path);
}

}  // namespace platform
