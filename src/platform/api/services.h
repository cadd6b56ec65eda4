// The services the stand-ins rest on, each behind an interface: the clock, the input source, the
// window system, the audio device (audio.h) and fault injection; and the state the stand-ins share
// (the message queue, the cursor, the display's pacing). The program entry assembles the real
// services over SDL; a test assembles headless ones of its own. Internal to the platform layer.
#pragma once

#include <cstdint>
#include <ctime>
#include <deque>
#include <optional>
#include <string>

#include "platform/api/forms.h"
#include "platform/api/wintypes.h"

namespace platform {

class AudioDevice;

// The operations that fault injection can make fail.
enum class Fault {
    CoInitialize,
    DirectDrawCreate,
    DirectDrawQuery,
    CooperativeLevel,
    DisplayMode,
    VideoMemoryQuery,
    PrimarySurface,
    SurfaceQuery,
    AttachedSurface,
    OffscreenSurface,
    GetDC,
    DirectSoundCreate,
    SoundCooperativeLevel,
    PrimarySoundBuffer,
    SoundFormat,
    SoundBuffer,
    DuplicateSoundBuffer,
    MusicPerformance,
    MusicInit,
    MusicPort,
    MusicLoader,
    CursorPosition,
    ClipCursor,
    AsyncBlit,  // a blit that does not wait answers DDERR_WASSTILLDRAWING
    Flip,       // a flip answers the injected result
};

// One input event, queued until the message pump delivers it.
struct InputEvent {
    // SurfacesLost: a recorded loss of every surface, replayed where it happened.
    enum class Kind { Message, MouseDown, MouseUp, MouseMove, Focus, SurfacesLost };
    Kind kind = Kind::Message;
    TMessage message;  // Kind::Message
    TMouseButton button = TMouseButton::mbLeft;
    int dx = 0;  // Kind::MouseMove: relative motion in screen pixels
    int dy = 0;
    bool active = false;  // Kind::Focus
};

InputEvent MessageEvent(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Time: the platform's own time line in microseconds (frame pacing, sleeps), the performance
// counter the game reads, and the wall clock.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::uint64_t NowMicros() = 0;
    virtual void SleepMicros(std::uint64_t micros) = 0;
    virtual void WaitUntilMicros(std::uint64_t micros) = 0;
    // Ticks a second of the performance counter; 0 when there is none.
    virtual std::int64_t CounterFrequency() = 0;
    virtual std::int64_t Counter() = 0;
    virtual std::time_t WallClock() = 0;
};

// Where the player's input comes from: called at every pass of the message pump (counted from
// 1), it adds what has arrived since the last pass to the queue.
class InputSource {
  public:
    virtual ~InputSource() = default;
    virtual void Poll(int pass, std::deque<InputEvent>& queue) = 0;
};

// The window system behind the application and its form: the window's life, the focus, the
// mouse's grab and message boxes.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // Starts the video and event services; throws Exception when they cannot start.
    virtual void Start() = 0;
    virtual void Open(const std::string& caption) = 0;
    virtual void Close() = 0;
    virtual void FocusChanged(bool active) = 0;
    // Every surface is lost, as when a recorded loss is replayed.
    virtual void DropSurfaces() = 0;
    // Whether a game is being played, and whether the game hides the pointer: together they
    // decide the mouse's grab.
    virtual void SetGameInPlay(bool inPlay) = 0;
    virtual void CursorShown(bool shown) = 0;
    // A message box: on standard error, and as a dialog where one can be shown.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // Whether the frames reach a screen that someone can watch.
    virtual bool Watched() const = 0;
};

// Makes chosen operations fail, so that every failure path can be tried.
class FaultInjection {
  public:
    virtual ~FaultInjection() = default;
    // Whether this call of the operation fails; a failing flip answers *answer.
    virtual bool Fails(Fault operation, HRESULT* answer) = 0;
};

struct Services {
    Clock* clock = nullptr;
    InputSource* input = nullptr;
    WindowSystem* windows = nullptr;
    AudioDevice* audio = nullptr;
    FaultInjection* faults = nullptr;  // none: nothing fails

    bool Fails(Fault operation, HRESULT* answer = nullptr) const {
        return faults != nullptr && faults->Fails(operation, answer);
    }

    // ---- The state the stand-ins share.
    std::deque<InputEvent> queue;
    int pass = 0;
    // What the input is for: a game in play (the paddle), typed text, or else the screens.
    bool gameInPlay = false;
    bool textEntry = false;
    // Whether the last button or key pressed was a game controller's.
    bool padInput = false;

    // Cursor: a virtual position in screen pixels.
    int cursorCount = 0;
    POINT cursor{320, 240};
    bool clipped = false;
    RECT clip{0, 0, 640, 480};

    // Display.
    bool presents = true;  // false when there is no screen to show frames on
    DWORD videoMemory = 16 * 1024 * 1024;
    double frameIntervalMicros = 1'000'000.0 / 60.0;
    std::uint64_t nextFrameSlot = 0;  // when the next flip may show a frame
    // The frame interval follows the display's refresh rate; false while a test sets it.
    bool refreshFromDisplay = true;
    // The window's settings file. Unset: the player's own, found from the environment; empty:
    // the settings are not kept.
    std::optional<std::string> settingsFile;
};

Services& System();
// Puts the services in place, with no faults injected; the state they share starts afresh.
void UseServices(Clock& clock, InputSource& input, WindowSystem& windows, AudioDevice& audio);
// Puts another audio device in place, for the sounds and music made from now on; those made
// before keep the device they were made on. A test plays on the real device with it.
void UseAudio(AudioDevice& audio);
// Makes the faults' operations fail from now on; null: none fail. Only tests call it.
void InjectFaults(FaultInjection* faults);

// Time in microseconds on the services' clock.
std::uint64_t NowMicros();
void SleepMicros(std::uint64_t micros);
void WaitUntilMicros(std::uint64_t micros);

}  // namespace platform
