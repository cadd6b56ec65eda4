// The real services on the desktop.
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_services.h"

namespace platform {

namespace {

void UseSdl(bool onScreen) {
    static SdlClock clock;
    static SdlInput input;
    static SdlWindowSystem windows;
    windows.SetOnScreen(onScreen);
    UseServices(clock, input, windows, SdlAudio());
}

}  // namespace

void UseSdlServices() {
    UseSdl(true);
}

void UseHeadlessSdlServices() {
    UseSdl(false);
    System().settingsFile = "";
}

}  // namespace platform
