// The services in place and the clock primitives over them.
#include "platform/api/services.h"

namespace platform {

Services& System() {
    static Services services;
    return services;
}

void UseServices(Clock& clock, InputSource& input, WindowSystem& windows, AudioDevice& audio) {
    Services& sys = System();
    sys = Services{};
    sys.clock = &clock;
    sys.input = &input;
    sys.windows = &windows;
    sys.audio = &audio;
}

void UseAudio(AudioDevice& audio) {
    System().audio = &audio;
}

InputEvent MessageEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    InputEvent event;
    event.message = TMessage{message, wParam, lParam, 0};
    return event;
}

std::uint64_t NowMicros() {
    return System().clock->NowMicros();
}

void SleepMicros(std::uint64_t micros) {
    System().clock->SleepMicros(micros);
}

void WaitUntilMicros(std::uint64_t micros) {
    System().clock->WaitUntilMicros(micros);
}

}  // namespace platform
