// The platform's state behind the Win32-style functions: clock, input queue, cursor, faults.
// Internal to the platform layer; tests reach it through platform::Harness.
#pragma once

#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/wintypes.h"

namespace platform {

// The operations whose failure tests can inject.
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

struct ShownBox {
    std::string caption;
    std::string text;
};

struct Services {
    // Clock: real (SDL's counter) or manual (advanced only by waits and sleeps).
    bool manualClock = false;
    std::uint64_t manualMicros = 0;
    std::int64_t manualFrequency = 1'000'000;  // 0: no performance counter
    std::time_t wallClock = 0;                 // manual clock only
    double frameIntervalMicros = 1'000'000.0 / 60.0;
    std::uint64_t nextFrameSlot = 0;  // when the next flip may show a frame

    // Message boxes: shown as dialogs only when allowed; always recorded and logged.
    bool dialogs = true;
    std::vector<ShownBox> shownBoxes;

    // Input.
    std::deque<InputEvent> queue;
    int pass = 0;
    std::multimap<int, std::function<void()>> scheduled;
    std::function<void(int)> everyPass;
    int passLimit = 0;  // 0: none
    bool passLimitReached = false;

    // Cursor: a virtual position in screen pixels.
    int cursorCount = 0;
    POINT cursor{320, 240};
    bool clipped = false;
    RECT clip{0, 0, 640, 480};
    bool failClipCursor = false;

    // Display.
    bool presents = true;  // false when there is no screen to show frames on
    DWORD videoMemory = 16 * 1024 * 1024;

    // Faults: how many of the next calls of each operation fail, and with which result.
    std::map<Fault, int> failures;
    int stillDrawingBlits = 0;
    int failedFlips = 0;
    HRESULT failedFlipResult = 0;
    bool noMusic = false;

    bool Take(Fault fault);

    // ---- The display's pacing and the window's settings.
    // The frame interval follows the display's refresh rate; false while a test sets it.
    bool refreshFromDisplay = true;
    // The window's settings file. Unset: the player's own, found from the environment; empty:
    // the settings are not kept.
    std::optional<std::string> settingsFile;
};

Services& System();

// Time in microseconds on the active clock.
std::uint64_t NowMicros();
// Gives up the processor; on the manual clock, time simply moves on.
void SleepMicros(std::uint64_t micros);
void WaitUntilMicros(std::uint64_t micros);

}  // namespace platform
