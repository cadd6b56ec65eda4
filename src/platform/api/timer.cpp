// The performance counter, the millisecond clock and the wall clock over the services' clock.
#include "platform/api/timer.h"

#include "platform/api/services.h"
#include "platform/session/session.h"

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    const std::int64_t hz =
        platform::SessionFrequency(platform::System().clock->CounterFrequency());
    frequency->QuadPart = hz;
    return hz != 0 ? TRUE : FALSE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    platform::Clock& clock = *platform::System().clock;
    if (clock.CounterFrequency() == 0) {
        count->QuadPart = 0;
        return FALSE;
    }
    count->QuadPart = static_cast<std::int64_t>(
        platform::SessionClock(static_cast<std::uint64_t>(clock.Counter())));
    return TRUE;
}

DWORD timeGetTime() {
    return static_cast<DWORD>(platform::SessionClock(platform::NowMicros() / 1000));
}

void Sleep(DWORD milliseconds) {
    platform::SleepMicros(std::uint64_t{milliseconds} * 1000);
}

std::time_t platform::WallClockSeconds() {
    return System().clock->WallClock();
}
