// The session under way, a recording or a replay, and the hooks through which the platform's
// services meet it.

#include "platform/session/session.h"

#include <algorithm>
#include <memory>

#include "platform/session/sessions.h"

namespace platform {

namespace {

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

// Where the replay's own clock stood when the game last read the record's clock.
std::uint64_t g_lastReadingAt = 0;

}  // namespace

int Pass() {
    return System().pass;
}

void StartRecording(const std::string& path) {
    Active() = MakeRecorder(path);
}

void StartReplay(const std::string& path) {
    Active() = MakeReplayer(path);
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

std::uint64_t ReplayMicros() {
    if (!Active() || !ActiveReplayClock()) {
        return 0;
    }
    const RecordReadings readings = Active()->Readings();
    const std::uint64_t since = ActiveReplayClock()->NowMicros() - g_lastReadingAt;
    return readings.next ? std::min(readings.last + since, *readings.next) : readings.last;
}

std::uint64_t ReplayEndMicros() {
    return Active() ? Active()->Readings().end : 0;
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
    if (!Active()) {
        return live;
    }
    if (ActiveReplayClock()) {
        g_lastReadingAt = ActiveReplayClock()->NowMicros();
    }
    return Active()->Clock(live);
}

POINT SessionCursor(POINT live) {
    return Active() ? Active()->Cursor(live) : live;
}

PlayOptions SessionPlayOptions(PlayOptions live) {
    return Active() ? Active()->Play(live) : live;
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
