// The recorder: a record of the run written as the game consumes it, line by line.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>

#include "platform/api/forms.h"
#include "platform/session/carried_files.h"
#include "platform/session/record_text.h"
#include "platform/session/sessions.h"

namespace platform {

namespace {

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
    PlayOptions Play(PlayOptions live) override {
        Write(PlayOptionsText(live));
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
            std::cerr << "zintrel: the record " << path_
                      << " cannot be written; the game goes on without it\n";
            warned_ = true;
        }
    }
    std::string FileOpened(const std::string& name, std::string live) override {
        if (const std::optional<std::string> note = files_.Opened(name, live)) {
            out_ << *note << '\n';
        }
        return live;
    }
    std::vector<std::string> FilesFound(const std::string& pattern,
                                        std::vector<std::string> live) override {
        out_ << FileNotes::Found(pattern, live) << '\n';
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
    FileNotes files_;
    bool warned_ = false;
};

}  // namespace

std::unique_ptr<Session> MakeRecorder(const std::string& path) {
    return std::make_unique<Recorder>(path);
}

}  // namespace platform
