// The headless test harness: a manual clock, scripted input, fault injection and observations.
//
// A Harness puts headless services in place for its lifetime (SDL's dummy drivers, message
// boxes kept and never shown, a clock that moves only when the program waits or sleeps, a silent
// audio device on that clock) and
// the real ones back when it goes. Input is queued and delivered at the next pass of the message
// pump, exactly where the window system would deliver it; actions can be scheduled at given
// passes. Only tests, benchmarks and fuzz targets link it: the program carries none of it.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/api/forms.h"
#include "platform/api/services.h"
#include "platform/api/wintypes.h"
#include "platform/sdl/settings.h"

namespace platform {

class HeadlessAudio;

struct ShownBox {
    std::string caption;
    std::string text;
};

class Harness {
  public:
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // ---- Input, delivered at the next pass of the message pump.
    void Char(char c);
    void Type(const std::string& text);                      // one WM_CHAR per character
    void Key(WPARAM virtualKey);                             // WM_KEYDOWN only
    void Click(TMouseButton button = TMouseButton::mbLeft);  // down, then up
    void Press(TMouseButton button = TMouseButton::mbLeft);
    void Release(TMouseButton button = TMouseButton::mbLeft);
    void MoveMouse(int dx, int dy);
    void Focus(bool active);  // the application gains or loses the focus
    void CloseWindow();       // the window manager's close button
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- Scheduling. Passes count calls of the message pump, from 1.
    void At(int pass, std::function<void()> action);
    // Runs the action at the next pass after this one.
    void Next(std::function<void()> action) { At(Pass() + 1, std::move(action)); }
    void EveryPass(std::function<void(int)> action);
    int Pass() const;
    // After this many passes the harness presses Esc at every pass until the program ends.
    void SetPassLimit(int passes);
    bool PassLimitReached() const;

    // ---- The clock.
    void SetFrameInterval(double milliseconds);    // the display's refresh slot
    void SetCounterFrequency(std::int64_t hertz);  // 0: no performance counter
    void AdvanceClock(double milliseconds);
    std::uint64_t ClockMicros() const;
    void SetWallClock(std::time_t seconds);

    // ---- The display and its faults.
    void SetVideoMemory(DWORD bytes);
    void LoseSurfaces();
    // Kills every off-screen surface object: Restore answers the result until it is recreated.
    void KillSurfaces(HRESULT answer = DDERR_WRONGMODE);
    void FailFlips(int count, HRESULT result);
    void FailAsyncBlits(int count);  // non-waiting blits answer DDERR_WASSTILLDRAWING
    void Fail(Fault operation, int count = 1);
    void FailClipCursor(bool fail);
    void NoMusic(bool none);

    // ---- Observations.
    const std::vector<ShownBox>& MessageBoxes() const;
    int PresentedFrames() const;
    bool Fullscreen() const;
    POINT Cursor() const;
    RECT CursorClip() const;
    bool CursorClipped() const;
    int CursorCount() const;

    // ---- The display's pacing, keys the window itself takes, the mouse's grab, the window's
    // settings and screenshots.
    void SetRefreshRate(double hertz);  // the frame interval of a display refreshing so often
    // A key pressed on the keyboard, by its SDL name ("F12", "Return"), with Alt held or not:
    // it comes through the window system's events, where the window's own keys are taken.
    void PressKey(const std::string& name, bool alt = false);
    void ReleaseKey(const std::string& name);
    // A key pressed with Ctrl held, as "S" for Ctrl+S.
    void PressCtrlKey(const std::string& name);

    // ---- The other controls, through the window system's events as the devices give them.
    // A game controller is plugged in (a virtual one with the standard layout); its number.
    int AttachPad();
    void DetachPad(int pad);
    enum class PadControl { South, East, Back, Start, Up, Down, Left, Right };
    void PadButton(int pad, PadControl control, bool down);
    // The left stick's deflection across, from -1 (full left) to 1 (full right).
    void PadStick(int pad, double across);
    // A finger touches, moves on or leaves the window, at a point given as fractions of the
    // window's width and height.
    enum class FingerPhase { Down, Move, Up };
    void Touch(FingerPhase phase, double x, double y);
    // The desktop's pointer moves to a point of the window, in the window's pixels.
    void PointAt(int x, int y);
    // A click, or a tap, on a point of the game's 640 by 480 picture wherever the window shows
    // it: the pointer or the finger goes there, and the button or the finger goes down and up.
    void ClickAt(int x, int y);
    void TapAt(int x, int y);
    // A click quicker than a frame: the button's press and release both wait for the same poll.
    void QuickClick();
    // The mouse moves across by dx, as the window system gives it (in play, relative motion).
    void SlideMouse(int dx);
    // The mouse's wheel turns by notches, positive away from the player.
    void TurnWheel(int notches);
    // The player moves the window and changes its size.
    void MoveWindow(const DesktopRect& place);
    // The window system asks for the window to be drawn again, as when it is uncovered.
    void ExposeWindow();
    // The window's settings are kept in this file; by default the harness keeps none.
    void SetSettingsFile(const std::string& path);
    bool MouseGrabbed() const;
    // The window's place and size on the desktop; all 0 while there is no window.
    DesktopRect WindowPlace() const;
    // The frames of PresentedFrames that were uploaded and scaled, not equal to the one before.
    int DrawnFrames() const;
    // Whether the system's text input is on.
    bool TextInputOn() const;

    // ---- The headless audio device, timed by the clock.
    HeadlessAudio& Audio();

  private:
    struct HeadlessServices;
    std::unique_ptr<HeadlessServices> services_;
};

}  // namespace platform
