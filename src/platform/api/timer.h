// The clocks: the performance counter, the millisecond clock and the wall clock.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/api/wintypes.h"

union LARGE_INTEGER {
    std::int64_t QuadPart;
};

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
DWORD timeGetTime();
// Gives up the processor for a while.
void Sleep(DWORD milliseconds);

namespace platform {
// Seconds since 1970; the seed of the game's random generator.
std::time_t WallClockSeconds();
}  // namespace platform
