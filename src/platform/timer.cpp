// The performance counter, the millisecond clock and the wall clock over the active clock.
#include "platform/timer.h"

#include <SDL.h>

#include "platform/services.h"
#include "platform/session.h"

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    const auto& sys = platform::System();
    const std::int64_t hz = platform::SessionFrequency(
        sys.manualClock ? sys.manualFrequency
                        : static_cast<std::int64_t>(SDL_GetPerformanceFrequency()));
    frequency->QuadPart = hz;
    return hz != 0 ? TRUE : FALSE;
}

namespace {

std::int64_t LiveCounter() {
    const auto& sys = platform::System();
    if (!sys.manualClock) {
        return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
    }
    // Ticks of the manual counter at its frequency, exact for whole microseconds.
    const auto micros = static_cast<std::int64_t>(sys.manualMicros);
    return micros / 1'000'000 * sys.manualFrequency +
           micros % 1'000'000 * sys.manualFrequency / 1'000'000;
}

}  // namespace

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    const auto& sys = platform::System();
    if (sys.manualClock && sys.manualFrequency == 0) {
        count->QuadPart = 0;
        return FALSE;
    }
    count->QuadPart = static_cast<std::int64_t>(
        platform::SessionClock(static_cast<std::uint64_t>(LiveCounter())));
    return TRUE;
}

DWORD timeGetTime() {
    return static_cast<DWORD>(platform::SessionClock(platform::NowMicros() / 1000));
}

void Sleep(DWORD milliseconds) {
    platform::SleepMicros(std::uint64_t{milliseconds} * 1000);
}

std::time_t platform::WallClockSeconds() {
    const auto& sys = System();
    return sys.manualClock ? sys.wallClock : std::time(nullptr);
}
