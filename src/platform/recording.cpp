// The recorder and the replayer behind the session hooks.
//
// A record is text, one event per line, each line but the first two starting with the pass of
// the message pump it happened at:
//   zintrel record 1            the format
//   seed 1733541234             the random generator's seed
//   frequency 1000000000        the performance counter's ticks per second (0: none)
//   812 char 32                 input delivered: key VK, char CODE, down|up BUTTON, focus 0|1,
//                               close, message MSG WPARAM LPARAM, lost (the surfaces were lost)
//   812 clock 81234567          a reading of the game's clock
//   812 cursor 320 401          a cursor position read, when it differs from the last one
//   815 flipped                 a flip that does not wait showed its frame
//   815 frame 12 score=50 ...   the game's digest after its 12th frame of play
//   9140 end                    the program ended
#include "platform/recording.h"

#include <SDL.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/forms.h"
#include "platform/session.h"

namespace platform {

namespace {

constexpr const char* kHeader = "zintrel record 1";

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
    virtual void Frame(const FrameDigest& digest) = 0;
    virtual SessionOutcome End() = 0;
};

std::unique_ptr<Session>& Active() {
    static std::unique_ptr<Session> session;
    return session;
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
        out_ << kHeader << '\n';
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
    void Frame(const FrameDigest& digest) override {
        std::string line = "frame " + std::to_string(++frames_);
        for (const DigestField& field : digest) {
            line += " " + field.name + "=" + field.value;
        }
        Write(line);
        // A run that crashes keeps its record up to the last frame.
        out_.flush();
        if (!out_ && !warned_) {
            std::cerr << "Zintrel: the record " << path_
                      << " cannot be written; the game goes on without it\n";
            warned_ = true;
        }
    }
    SessionOutcome End() override {
        Write("end");
        out_.close();
        if (!out_) {
            return {false, "The record " + path_ + " could not be written completely."};
        }
        return {true, "Recorded " + std::to_string(frames_) + " frames of play in " + path_ + "."};
    }

  private:
    void Write(const std::string& text) { out_ << Pass() << ' ' << text << '\n'; }

    std::string path_;
    std::ofstream out_;
    std::optional<std::int64_t> frequency_;
    std::optional<POINT> cursor_;
    int frames_ = 0;
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

// The lines of a record, plain or compressed with gzip.
std::vector<std::string> ReadLines(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw Exception("Cannot read the record " + path + ": " + std::strerror(errno));
    }
    std::vector<std::string> lines;
    std::string line;
    char buffer[4096];
    while (gzgets(file, buffer, sizeof buffer) != nullptr) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            lines.push_back(std::move(line));
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
        lines.push_back(std::move(line));
    }
    return lines;
}

struct RecordedFrame {
    int pass = 0;
    FrameDigest digest;
};

class Replayer final : public Session {
  public:
    explicit Replayer(const std::string& path) {
        const std::vector<std::string> lines = ReadLines(path);
        if (lines.empty() || lines[0] != kHeader) {
            throw Exception(path + " is not a record of a Zintrel game.");
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
    }

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
            Part(stopped_ ? "The record stops at pass " + std::to_string(*endPass_) +
                                " without the program's end; the replay went on past it."
                          : "The game went on past the end of the record at pass " +
                                std::to_string(*endPass_) + ".");
        }
        queue.clear();
        if (const auto events = inputs_.find(pass); events != inputs_.end()) {
            queue.assign(events->second.begin(), events->second.end());
        }
    }
    void Delivered(const InputEvent&) override {}
    void Frame(const FrameDigest& digest) override {
        const std::string which =
            "Frame " + std::to_string(frameAt_ + 1) + " (pass " + std::to_string(Pass()) + ")";
        if (frameAt_ >= frames_.size()) {
            Part(which + " is past the last frame of the record.");
        }
        const RecordedFrame& recorded = frames_[frameAt_++];
        std::string differences;
        const auto differ = [&](const std::string& name, const std::string& was,
                                const std::string& is) {
            differences += (differences.empty() ? "" : ", ") + name + " (recorded " + was +
                           ", replayed " + is + ")";
        };
        if (recorded.pass != Pass()) {
            differ("pass", std::to_string(recorded.pass), std::to_string(Pass()));
        }
        for (const DigestField& field : digest) {
            const auto was =
                std::find_if(recorded.digest.begin(), recorded.digest.end(),
                             [&](const DigestField& f) { return f.name == field.name; });
            const std::string wasValue = was == recorded.digest.end() ? "nothing" : was->value;
            if (wasValue != field.value) {
                differ(field.name, wasValue, field.value);
            }
        }
        if (!differences.empty()) {
            Part(which + " differs from the record: " + differences + ".");
        }
    }
    SessionOutcome End() override {
        if (!parted_.empty()) {
            return {false, parted_};
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
            RecordedFrame frame{*pass, {}};
            for (std::size_t i = 3; i < w.size(); ++i) {
                const std::size_t equals = w[i].find('=');
                if (equals == std::string::npos) {
                    return false;
                }
                frame.digest.push_back({w[i].substr(0, equals), w[i].substr(equals + 1)});
            }
            frames_.push_back(std::move(frame));
            return true;
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
            const char* driver = SDL_GetCurrentVideoDriver();
            realTime_ = driver != nullptr && std::strcmp(driver, "dummy") != 0 &&
                        std::strcmp(driver, "offscreen") != 0;
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

    [[noreturn]] void Part(const std::string& report) {
        parted_ = report;
        throw ReplayParted{};
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
    std::size_t frameAt_ = 0;
    int lastPass_ = 0;
    std::optional<int> endPass_;
    bool stopped_ = false;
    std::string parted_;
    bool paceDecided_ = false;
    bool realTime_ = false;
    std::chrono::steady_clock::time_point startedAt_;
    std::uint64_t firstReading_ = 0;
};

}  // namespace

DigestHash& DigestHash::Add(std::int64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash_ =
            (hash_ ^ ((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF)) * 1099511628211ull;
    }
    return *this;
}

DigestHash& DigestHash::Add(double value) {
    std::int64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return Add(bits);
}

std::string DigestHash::Text() const {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>((hash_ >> 32) ^ hash_));
    return text;
}

void StartRecording(const std::string& path) {
    Active() = std::make_unique<Recorder>(path);
}

void StartReplay(const std::string& path) {
    Active() = std::make_unique<Replayer>(path);
    // The recorded clock stands in for the real one: waits and sleeps take no time.
    Services& sys = System();
    sys.manualClock = true;
    sys.manualMicros = std::max<std::uint64_t>(sys.manualMicros, 1'000'000);
}

bool SessionActive() {
    return Active() != nullptr;
}

void NoteFrame(const FrameDigest& digest) {
    if (Active()) {
        Active()->Frame(digest);
    }
}

SessionOutcome EndSession() {
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

}  // namespace platform
