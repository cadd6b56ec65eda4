// The real services on the desktop.
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_services.h"

namespace platform {

void UseSdlServices() {
    static SdlClock clock;
    static SdlInput input;
    static SdlWindowSystem windows;
    UseServices(clock, input, windows, SdlAudio());
}

}  // namespace platform
