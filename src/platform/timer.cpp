// The performance counter, the millisecond clock and the wall clock over the active clock.
#include "platform/timer.h"

#include <SDL.h>

#include "platform/services.h"

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    const auto& sys = platform::System();
    const std::int64_t hz = sys.manualClock
                                ? sys.manualFrequency
                                : static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
    frequency->QuadPart = hz;
    return hz != 0 ? TRUE : FALSE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    const auto& sys = platform::System();
    if (!sys.manualClock) {
        count->QuadPart = static_cast<std::int64_t>(SDL_GetPerformanceCounter());
        return TRUE;
    }
    if (sys.manualFrequency == 0) {
        count->QuadPart = 0;
        return FALSE;
    }
    // Ticks of the manual counter at its frequency, exact for whole microseconds.
    const auto micros = static_cast<std::int64_t>(sys.manualMicros);
    count->QuadPart = micros / 1'000'000 * sys.manualFrequency +
                      micros % 1'000'000 * sys.manualFrequency / 1'000'000;
    return TRUE;
}

DWORD timeGetTime() {
    return static_cast<DWORD>(platform::NowMicros() / 1000);
}

void Sleep(DWORD milliseconds) {
    platform::SleepMicros(std::uint64_t{milliseconds} * 1000);
}

std::time_t platform::WallClockSeconds() {
    const auto& sys = System();
    return sys.manualClock ? sys.wallClock : std::time(nullptr);
}
