// The real services over SDL: the performance counter and the system's sleeps, the window
// system's events as input, the window and its dialogs, and the audio device (sdl_audio.h).
#pragma once

#include <deque>
#include <memory>

#include "platform/api/services.h"
#include "platform/sdl/short_clicks.h"

namespace platform {

class Controls;

class SdlClock : public Clock {
  public:
    std::uint64_t NowMicros() override;
    void SleepMicros(std::uint64_t micros) override;
    void WaitUntilMicros(std::uint64_t micros) override;
    std::int64_t CounterFrequency() override;
    std::int64_t Counter() override;
    std::time_t WallClock() override;
};

// The window system's events, translated into the messages the form takes, with the game
// controllers, the arrow keys and touch as the controls make them, and short clicks held until
// play has seen them. Alt+Enter and F12 are the window's own keys: they switch full screen and
// take a screen shot, and the form never sees them.
class SdlInput : public InputSource {
  public:
    SdlInput();
    ~SdlInput() override;
    void Poll(int pass, std::deque<InputEvent>& queue) override;

  private:
    std::unique_ptr<Controls> controls_;
    ShortClicks shortClicks_;
    std::deque<InputEvent> waiting_;
};

class SdlWindowSystem : public WindowSystem {
  public:
    // Off the screen: SDL's dummy video driver whatever the environment says, and messages on
    // standard error alone.
    void SetOnScreen(bool onScreen) { onScreen_ = onScreen; }
    void Start() override;
    void Open(const std::string& caption) override;
    void Close() override;
    void FocusChanged(bool active) override;
    void DropSurfaces() override;
    void SetGameInPlay(bool inPlay) override;
    void CursorShown(bool shown) override;
    void TextEntry(bool taking) override;
    // Always on standard error; as a dialog too on the screen, unless dialogs are off
    // (ZINTREL_NO_DIALOGS=1).
    void ShowMessage(const std::string& caption, const std::string& text) override;
    // Not on SDL's dummy and offscreen drivers.
    bool Watched() const override;

  private:
    bool onScreen_ = true;
};

// The real services, put in place for the rest of the program's run: these on the desktop, and
// in the browser those of web_services.cpp, which give the browser its turn.
void UseSdlServices();
// The same off the screen, with no window settings read or written: a video is made of a replay
// on them.
void UseHeadlessSdlServices();

}  // namespace platform
