// The headless test harness: for its lifetime SDL's dummy drivers, message boxes kept and never
// shown, a clock that moves only when the program waits or sleeps or a test moves it, and a
// silent audio device on that clock; the real services back when it goes. Input is queued for
// the next pass of the message pump, where the window system would deliver it; actions can be
// scheduled at given passes. Only tests, benchmarks and fuzz targets link it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/api/forms.h"
#include "platform/api/services.h"
#include "platform/api/wintypes.h"
#include "platform/sdl/sdl_services.h"
#include "platform/sdl/settings.h"
#include "support/headless_audio.h"

namespace platform {

struct ShownBox {
    std::string caption;
    std::string text;
};

class ManualClock : public Clock {
  public:
    std::uint64_t NowMicros() override { return micros; }
    void SleepMicros(std::uint64_t duration) override { micros += duration; }
    void WaitUntilMicros(std::uint64_t until) override { micros = std::max(micros, until); }
    std::int64_t CounterFrequency() override { return frequency; }
    std::int64_t Counter() override;  // exact for whole microseconds
    std::time_t WallClock() override { return wall; }

    std::uint64_t micros = 1'000'000;
    std::int64_t frequency = 1'000'000;  // 0: no performance counter
    std::time_t wall = 1'000'000'000;
};

// At every pass the scheduled actions run, then the window system's own events follow. A run
// past its pass limit has Esc pressed now and then until it ends.
class ScriptedInput : public InputSource {
  public:
    void Poll(int pass, std::deque<InputEvent>& queue) override;

    std::multimap<int, std::function<void()>> scheduled;
    std::function<void(int)> everyPass;
    int passLimit = 1'000'000;
    bool passLimitReached = false;
    SdlInput windowSystem;
};

// The real window on SDL's dummy driver; message boxes kept and written on standard error.
class HeadlessWindows : public SdlWindowSystem {
  public:
    void ShowMessage(const std::string& caption, const std::string& text) override;
    std::vector<ShownBox> boxes;
};

// The next calls of an operation that fail, counted; the cursor's clip can fail for good.
class InjectedFaults : public FaultInjection {
  public:
    bool Fails(Fault operation, HRESULT* answer) override;

    std::map<Fault, int> counts;
    HRESULT flipAnswer = 0;
    bool failClipCursor = false;
};

class Harness {
  public:
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // ---- Input, delivered at the next pass of the message pump.
    void Char(char c) { Send(WM_CHAR, static_cast<unsigned char>(c)); }
    void Type(const std::string& text) {
        for (char c : text) {
            Char(c);
        }
    }
    void Key(WPARAM virtualKey) { Send(WM_KEYDOWN, virtualKey); }  // WM_KEYDOWN only
    void Click(TMouseButton button = TMouseButton::mbLeft) {
        Press(button);
        Release(button);
    }
    void Press(TMouseButton button = TMouseButton::mbLeft) {
        Push({.kind = InputEvent::Kind::MouseDown, .message = {}, .button = button});
    }
    void Release(TMouseButton button = TMouseButton::mbLeft) {
        Push({.kind = InputEvent::Kind::MouseUp, .message = {}, .button = button});
    }
    void MoveMouse(int dx, int dy) {
        Push({.kind = InputEvent::Kind::MouseMove, .message = {}, .dx = dx, .dy = dy});
    }
    void Focus(bool active) {
        Push({.kind = InputEvent::Kind::Focus, .message = {}, .active = active});
    }
    void CloseWindow() { Send(WM_CLOSE); }  // the window manager's close button

    // ---- Scheduling. Passes count calls of the message pump, from 1.
    void At(int pass, std::function<void()> action) {
        input_.scheduled.emplace(pass, std::move(action));
    }
    void EveryPass(std::function<void(int)> action) { input_.everyPass = std::move(action); }
    int Pass() const { return System().pass; }
    // After this many passes the harness presses Esc now and then until the program ends.
    void SetPassLimit(int passes) { input_.passLimit = passes; }
    bool PassLimitReached() const { return input_.passLimitReached; }

    // ---- The clock.
    void SetFrameInterval(double milliseconds) {  // the display's refresh slot
        System().frameIntervalMicros = milliseconds * 1000.0;
    }
    void SetRefreshRate(double hertz);  // the frame interval of a display refreshing so often
    void SetCounterFrequency(std::int64_t hertz) { clock_.frequency = hertz; }  // 0: none
    void AdvanceClock(double milliseconds) {
        clock_.micros += static_cast<std::uint64_t>(milliseconds * 1000.0);
    }
    std::uint64_t ClockMicros() const { return clock_.micros; }
    void SetWallClock(std::time_t seconds) { clock_.wall = seconds; }

    // ---- The display and its faults.
    void SetVideoMemory(DWORD bytes) { System().videoMemory = bytes; }
    void LoseSurfaces();
    // Kills every off-screen surface object: Restore answers the result until it is recreated.
    void KillSurfaces(HRESULT answer = DDERR_WRONGMODE);
    void FailFlips(int count, HRESULT result) {
        faults_.counts[Fault::Flip] = count;
        faults_.flipAnswer = result;
    }
    // Non-waiting blits answer DDERR_WASSTILLDRAWING.
    void FailAsyncBlits(int count) { faults_.counts[Fault::AsyncBlit] = count; }
    void Fail(Fault operation, int count = 1) { faults_.counts[operation] = count; }
    void FailClipCursor(bool fail) { faults_.failClipCursor = fail; }

    // ---- Observations.
    const std::vector<ShownBox>& MessageBoxes() const { return windows_.boxes; }
    int PresentedFrames() const;
    // The frames of PresentedFrames that were uploaded and scaled, not equal to the one before.
    int DrawnFrames() const;
    bool Fullscreen() const;
    POINT Cursor() const { return System().cursor; }
    RECT CursorClip() const { return System().clip; }
    bool CursorClipped() const { return System().clipped; }
    int CursorCount() const { return System().cursorCount; }
    bool MouseGrabbed() const;
    // The window's place and size on the desktop; all 0 while there is no window.
    DesktopRect WindowPlace() const;

    // ---- Through the window system's events, as the devices give them. A key by its SDL name
    // ("F12", "Return"), where the window's own keys are taken; PressCtrlKey("S") for Ctrl+S.
    void PressKey(const std::string& name, bool alt = false);
    void ReleaseKey(const std::string& name);
    void PressCtrlKey(const std::string& name);
    // A game controller plugged in (a virtual one with the standard layout); its number.
    int AttachPad();
    void DetachPad(int pad);
    enum class PadControl { South, East, Back, Start, Up, Down, Left, Right };
    void PadButton(int pad, PadControl control, bool down);
    void PadStick(int pad, double across);  // the left stick, from -1 (left) to 1 (right)
    // A finger on the window, at fractions of its width and height.
    enum class FingerPhase { Down, Move, Up };
    void Touch(FingerPhase phase, double x, double y, int finger = 1);
    // The desktop's pointer moves to a point of the window, in the window's pixels.
    void PointAt(int x, int y);
    // A click on a point of the game's 640 by 480 picture wherever the window shows it: the
    // pointer goes there, and the button goes down and up.
    void ClickAt(int x, int y);
    // A click quicker than a frame: the button's press and release both wait for the same poll.
    void QuickClick();
    void SlideMouse(int dx);      // relative motion across, as the window system gives it
    void TurnWheel(int notches);  // positive away from the player
    void MoveWindow(const DesktopRect& place);
    void ExposeWindow();  // the window is to be drawn again, as when it is uncovered
    // The window's settings are kept in this file; by default the harness keeps none.
    void SetSettingsFile(const std::string& path) { System().settingsFile = path; }
    // Whether the system's text input is on.
    bool TextInputOn() const;

    HeadlessAudio& Audio() { return audio_; }

  private:
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        Push(MessageEvent(message, wParam, lParam));
    }
    void Push(const InputEvent& event) { System().queue.push_back(event); }

    ManualClock clock_;
    ScriptedInput input_;
    HeadlessWindows windows_;
    InjectedFaults faults_;
    HeadlessAudio audio_{clock_};
    std::vector<int> pads_;  // the virtual controllers' instance ids; -1 once detached
};

}  // namespace platform
