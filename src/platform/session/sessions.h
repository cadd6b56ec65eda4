// The two kinds of session behind the hooks, the recorder and the replayer, as one interface.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/options.h"
#include "platform/api/services.h"
#include "platform/api/wintypes.h"
#include "platform/session/recording.h"

namespace platform {

// A replay's record clock, in microseconds from the first reading of the record: the reading the
// game took last, the one it takes next (none after the last), and the record's last.
struct RecordReadings {
    std::uint64_t last = 0;
    std::optional<std::uint64_t> next;
    std::uint64_t end = 0;
};

class Session {
  public:
    virtual ~Session() = default;
    virtual std::uint32_t Seed(std::uint32_t live) = 0;
    virtual std::int64_t Frequency(std::int64_t live) = 0;
    virtual std::uint64_t Clock(std::uint64_t live) = 0;
    virtual POINT Cursor(POINT live) = 0;
    virtual PlayOptions Play(PlayOptions live) = 0;
    virtual bool FlipShows(bool live) = 0;
    virtual bool LosesSurfaces() = 0;
    virtual void Input(std::deque<InputEvent>& queue) = 0;
    virtual void Delivered(const InputEvent& event) = 0;
    virtual void Frame(const FrameRecord& record) = 0;
    virtual std::string FileOpened(const std::string& name, std::string live) = 0;
    virtual std::vector<std::string> FilesFound(const std::string& pattern,
                                                std::vector<std::string> live) = 0;
    virtual SessionOutcome End() = 0;
    // A recording has no record clock to give: all zero.
    virtual RecordReadings Readings() const { return {}; }
};

// A recording to the file; throws Exception when it cannot be written.
std::unique_ptr<Session> MakeRecorder(const std::string& path);
// A replay of the record in the file; throws Exception when it cannot be replayed.
std::unique_ptr<Session> MakeReplayer(const std::string& path);

// The pass of the message pump under way, which every event of a record is written at.
int Pass();

}  // namespace platform
