// The platform's one state object and the clock primitives built on it.
#include "platform/services.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace platform {

Services& System() {
    static Services services;
    return services;
}

bool Services::Take(Fault fault) {
    auto found = failures.find(fault);
    if (found == failures.end() || found->second == 0) {
        return false;
    }
    --found->second;
    return true;
}

std::uint64_t NowMicros() {
    const Services& sys = System();
    if (sys.manualClock) {
        return sys.manualMicros;
    }
    static const std::uint64_t frequency = SDL_GetPerformanceFrequency();
    const std::uint64_t count = SDL_GetPerformanceCounter();
    return count / frequency * 1'000'000 + count % frequency * 1'000'000 / frequency;
}

void SleepMicros(std::uint64_t micros) {
    Services& sys = System();
    if (sys.manualClock) {
        sys.manualMicros += micros;
    } else {
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
    }
}

void WaitUntilMicros(std::uint64_t micros) {
    Services& sys = System();
    if (sys.manualClock) {
        sys.manualMicros = std::max(sys.manualMicros, micros);
        return;
    }
    // Sleeping, not spinning: the system wakes the thread within a fraction of a millisecond.
    if (const std::uint64_t now = NowMicros(); micros > now) {
        std::this_thread::sleep_for(std::chrono::microseconds(micros - now));
    }
}

}  // namespace platform
