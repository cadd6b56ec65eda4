// The platform's one state object and the clock primitives built on it.
#include "platform/services.h"

#include <SDL.h>

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
        SDL_Delay(static_cast<Uint32>((micros + 999) / 1000));
    }
}

void WaitUntilMicros(std::uint64_t micros) {
    Services& sys = System();
    if (sys.manualClock) {
        sys.manualMicros = std::max(sys.manualMicros, micros);
        return;
    }
    const std::uint64_t now = NowMicros();
    if (micros > now) {
        SDL_Delay(static_cast<Uint32>((micros - now) / 1000));
        while (NowMicros() < micros) {
        }
    }
}

}  // namespace platform
