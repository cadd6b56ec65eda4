// The headless harness: its services and the faults, input and clock it controls.
#include "support/harness.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/sdl/display.h"
#include "platform/sdl/frame_pacing.h"
#include "platform/sdl/sdl_services.h"
#include "platform/sdl/surface_state.h"
#include "platform/session/recording.h"
#include "support/headless_audio.h"

namespace platform {

namespace {

InputEvent Mouse(InputEvent::Kind kind, TMouseButton button) {
    InputEvent event;
    event.kind = kind;
    event.button = button;
    return event;
}

// Time moves only when the program waits or sleeps, or when a test advances it.
class ManualClock : public Clock {
  public:
    std::uint64_t NowMicros() override { return micros; }
    void SleepMicros(std::uint64_t duration) override { micros += duration; }
    void WaitUntilMicros(std::uint64_t until) override { micros = std::max(micros, until); }
    std::int64_t CounterFrequency() override { return frequency; }
    std::int64_t Counter() override {
        // Ticks at the counter's frequency, exact for whole microseconds.
        const auto now = static_cast<std::int64_t>(micros);
        return now / 1'000'000 * frequency + now % 1'000'000 * frequency / 1'000'000;
    }
    std::time_t WallClock() override { return wall; }

    std::uint64_t micros = 1'000'000;
    std::int64_t frequency = 1'000'000;  // 0: no performance counter
    std::time_t wall = 1'000'000'000;
};

// The test queues its input itself; at every pass the scheduled actions run, then the window
// system's own events follow (the keys a test presses through SDL's queue, the window's events). A
// run that should long have ended has Esc pressed now and then until it does.
class ScriptedInput : public InputSource {
  public:
    void Poll(int pass, std::deque<InputEvent>& queue) override {
        while (!scheduled.empty() && scheduled.begin()->first <= pass) {
            auto action = std::move(scheduled.begin()->second);
            scheduled.erase(scheduled.begin());
            action();
        }
        if (everyPass) {
            everyPass(pass);
        }
        if (passLimit > 0 && pass > passLimit && (pass - passLimit) % 16 == 1) {
            // Leaves each screen the passes to take the key.
            passLimitReached = true;
            queue.push_back(MessageEvent(WM_CHAR, VK_ESCAPE));
        }
        windowSystem.Poll(pass, queue);
    }

    std::multimap<int, std::function<void()>> scheduled;
    std::function<void(int)> everyPass;
    int passLimit = 1'000'000;
    bool passLimitReached = false;
    SdlInput windowSystem;
};

// The real window on SDL's dummy driver; message boxes kept for the test and written on
// standard error, never shown as dialogs.
class HeadlessWindows : public SdlWindowSystem {
  public:
    void ShowMessage(const std::string& caption, const std::string& text) override {
        boxes.push_back({caption, text});
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    std::vector<ShownBox> boxes;
};

// The next calls of an operation that fail, counted; music and the cursor's clip can be
// switched off for good.
class InjectedFaults : public FaultInjection {
  public:
    bool Fails(Fault operation, HRESULT* answer) override {
        if ((operation == Fault::MusicPerformance && noMusic) ||
            (operation == Fault::ClipCursor && failClipCursor)) {
            return true;
        }
        auto found = counts.find(operation);
        if (found == counts.end() || found->second == 0) {
            return false;
        }
        --found->second;
        if (answer != nullptr) {
            *answer = flipAnswer;
        }
        return true;
    }

    std::map<Fault, int> counts;
    HRESULT flipAnswer = 0;
    bool noMusic = false;
    bool failClipCursor = false;
};

}  // namespace

struct Harness::HeadlessServices {
    ManualClock clock;
    ScriptedInput input;
    HeadlessWindows windows;
    InjectedFaults faults;
    HeadlessAudio audio{clock};
    std::vector<SDL_Joystick*> pads;  // the virtual controllers attached; null once detached
};

Harness::Harness() : services_(std::make_unique<HeadlessServices>()) {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    UseServices(services_->clock, services_->input, services_->windows, services_->audio);
    InjectFaults(&services_->faults);
    Services& sys = System();
    sys.refreshFromDisplay = false;
    sys.settingsFile = "";
}

Harness::~Harness() {
    for (int pad = 0; pad < static_cast<int>(services_->pads.size()); ++pad) {
        if (services_->pads[static_cast<std::size_t>(pad)] != nullptr) {
            DetachPad(pad);
        }
    }
    EndSession();
    Display::Get().Close();
    UseSdlServices();
}

void Harness::Char(char c) {
    Send(WM_CHAR, static_cast<unsigned char>(c));
}

void Harness::Type(const std::string& text) {
    for (char c : text) {
        Char(c);
    }
}

void Harness::Key(WPARAM virtualKey) {
    Send(WM_KEYDOWN, virtualKey);
}

void Harness::Click(TMouseButton button) {
    Press(button);
    Release(button);
}

void Harness::Press(TMouseButton button) {
    System().queue.push_back(Mouse(InputEvent::Kind::MouseDown, button));
}

void Harness::Release(TMouseButton button) {
    System().queue.push_back(Mouse(InputEvent::Kind::MouseUp, button));
}

void Harness::MoveMouse(int dx, int dy) {
    InputEvent event;
    event.kind = InputEvent::Kind::MouseMove;
    event.dx = dx;
    event.dy = dy;
    System().queue.push_back(event);
}

void Harness::Focus(bool active) {
    InputEvent event;
    event.kind = InputEvent::Kind::Focus;
    event.active = active;
    System().queue.push_back(event);
}

void Harness::CloseWindow() {
    Send(WM_CLOSE);
}

void Harness::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    System().queue.push_back(MessageEvent(message, wParam, lParam));
}

void Harness::At(int pass, std::function<void()> action) {
    services_->input.scheduled.emplace(pass, std::move(action));
}

void Harness::EveryPass(std::function<void(int)> action) {
    services_->input.everyPass = std::move(action);
}

int Harness::Pass() const {
    return System().pass;
}

void Harness::SetPassLimit(int passes) {
    services_->input.passLimit = passes;
}

bool Harness::PassLimitReached() const {
    return services_->input.passLimitReached;
}

void Harness::SetFrameInterval(double milliseconds) {
    System().frameIntervalMicros = milliseconds * 1000.0;
}

void Harness::SetCounterFrequency(std::int64_t hertz) {
    services_->clock.frequency = hertz;
}

void Harness::AdvanceClock(double milliseconds) {
    services_->clock.micros += static_cast<std::uint64_t>(milliseconds * 1000.0);
}

std::uint64_t Harness::ClockMicros() const {
    return services_->clock.micros;
}

void Harness::SetWallClock(std::time_t seconds) {
    services_->clock.wall = seconds;
}

void Harness::SetVideoMemory(DWORD bytes) {
    System().videoMemory = bytes;
}

void Harness::LoseSurfaces() {
    Display::Get().LoseAllSurfaces();
}

void Harness::KillSurfaces(HRESULT answer) {
    for (SurfaceState* surface : Display::Get().surfaces) {
        if (surface->role == SurfaceRole::Offscreen) {
            surface->Lose();
            surface->deadAnswer = answer;
        }
    }
}

void Harness::FailFlips(int count, HRESULT result) {
    services_->faults.counts[Fault::Flip] = count;
    services_->faults.flipAnswer = result;
}

void Harness::FailAsyncBlits(int count) {
    services_->faults.counts[Fault::AsyncBlit] = count;
}

void Harness::Fail(Fault operation, int count) {
    services_->faults.counts[operation] = count;
}

void Harness::FailClipCursor(bool fail) {
    services_->faults.failClipCursor = fail;
}

void Harness::NoMusic(bool none) {
    services_->faults.noMusic = none;
}

const std::vector<ShownBox>& Harness::MessageBoxes() const {
    return services_->windows.boxes;
}

int Harness::PresentedFrames() const {
    return Display::Get().PresentedFrames();
}

bool Harness::Fullscreen() const {
    return Display::Get().Fullscreen();
}

POINT Harness::Cursor() const {
    return System().cursor;
}

RECT Harness::CursorClip() const {
    return System().clip;
}

bool Harness::CursorClipped() const {
    return System().clipped;
}

int Harness::CursorCount() const {
    return System().cursorCount;
}

void Harness::SetRefreshRate(double hertz) {
    System().frameIntervalMicros = RefreshInterval(hertz);
}

namespace {

void PushEvent(SDL_Event& event) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        SDL_InitSubSystem(SDL_INIT_EVENTS);
    }
    SDL_PushEvent(&event);
}

void PushKey(Uint32 type, const std::string& name, Uint16 mod) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = SDL_GetKeyFromName(name.c_str());
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    event.key.keysym.mod = mod;
    PushEvent(event);
}

SDL_Joystick* PadOf(const std::vector<SDL_Joystick*>& pads, int pad) {
    return pads.at(static_cast<std::size_t>(pad));
}

}  // namespace

void Harness::PressKey(const std::string& name, bool alt) {
    PushKey(SDL_KEYDOWN, name, alt ? KMOD_LALT : KMOD_NONE);
}

void Harness::PressCtrlKey(const std::string& name) {
    PushKey(SDL_KEYDOWN, name, KMOD_LCTRL);
}

void Harness::ReleaseKey(const std::string& name) {
    PushKey(SDL_KEYUP, name, KMOD_NONE);
}

int Harness::AttachPad() {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    const int device = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick* pad = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
    if (pad == nullptr) {
        throw Exception(std::string("Cannot attach a virtual game controller: ") + SDL_GetError());
    }
    services_->pads.push_back(pad);
    return static_cast<int>(services_->pads.size()) - 1;
}

void Harness::DetachPad(int pad) {
    SDL_Joystick*& joystick = services_->pads.at(static_cast<std::size_t>(pad));
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
        }
    }
}

void Harness::PadButton(int pad, PadControl control, bool down) {
    static const std::map<PadControl, SDL_GameControllerButton> buttons{
        {PadControl::South, SDL_CONTROLLER_BUTTON_A},
        {PadControl::East, SDL_CONTROLLER_BUTTON_B},
        {PadControl::Back, SDL_CONTROLLER_BUTTON_BACK},
        {PadControl::Start, SDL_CONTROLLER_BUTTON_START},
        {PadControl::Up, SDL_CONTROLLER_BUTTON_DPAD_UP},
        {PadControl::Down, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
        {PadControl::Left, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
        {PadControl::Right, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}};
    // The virtual controller's buttons are numbered as the standard layout's.
    SDL_JoystickSetVirtualButton(PadOf(services_->pads, pad), buttons.at(control), down ? 1 : 0);
}

void Harness::PadStick(int pad, double across) {
    const auto value = static_cast<Sint16>(std::clamp(across, -1.0, 1.0) * 32767);
    SDL_JoystickSetVirtualAxis(PadOf(services_->pads, pad), SDL_CONTROLLER_AXIS_LEFTX, value);
}

void Harness::Touch(FingerPhase phase, double x, double y) {
    SDL_Event event{};
    event.type = phase == FingerPhase::Down   ? SDL_FINGERDOWN
                 : phase == FingerPhase::Move ? SDL_FINGERMOTION
                                              : SDL_FINGERUP;
    event.tfinger.touchId = 1;
    event.tfinger.fingerId = 1;
    event.tfinger.x = static_cast<float>(x);
    event.tfinger.y = static_cast<float>(y);
    event.tfinger.pressure = phase == FingerPhase::Up ? 0.0F : 1.0F;
    PushEvent(event);
}

void Harness::QuickClick() {
    for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        PushEvent(event);
    }
}

void Harness::SlideMouse(int dx) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    PushEvent(event);
}

void Harness::PointAt(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    PushEvent(event);
}

namespace {

// The point of the window where a point of the game's picture is shown, as fractions of the
// window's size.
std::pair<double, double> InWindow(int x, int y) {
    int width = 640;
    int height = 480;
    if (SDL_Window* window = Display::Get().Window()) {
        SDL_GetWindowSize(window, &width, &height);
    }
    const SDL_Rect picture =
        Display::Picture(width, height, Display::Get().PlayerSettings().scaling);
    return {(picture.x + (x + 0.5) * picture.w / 640) / width,
            (picture.y + (y + 0.5) * picture.h / 480) / height};
}

}  // namespace

void Harness::ClickAt(int x, int y) {
    const auto [fx, fy] = InWindow(x, y);
    const DesktopRect window = WindowPlace();
    PointAt(static_cast<int>(fx * window.width), static_cast<int>(fy * window.height));
    QuickClick();
}

void Harness::TapAt(int x, int y) {
    const auto [fx, fy] = InWindow(x, y);
    Touch(FingerPhase::Down, fx, fy);
    Touch(FingerPhase::Up, fx, fy);
}

void Harness::TurnWheel(int notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    PushEvent(event);
}

void Harness::MoveWindow(const DesktopRect& place) {
    if (SDL_Window* window = Display::Get().Window()) {
        SDL_SetWindowSize(window, place.width, place.height);
        SDL_SetWindowPosition(window, place.x, place.y);
    }
}

void Harness::ExposeWindow() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&event);
}

void Harness::SetSettingsFile(const std::string& path) {
    System().settingsFile = path;
}

bool Harness::MouseGrabbed() const {
    return Display::Get().MouseGrabbed();
}

DesktopRect Harness::WindowPlace() const {
    DesktopRect place;
    if (SDL_Window* window = Display::Get().Window()) {
        SDL_GetWindowPosition(window, &place.x, &place.y);
        SDL_GetWindowSize(window, &place.width, &place.height);
    }
    return place;
}

int Harness::DrawnFrames() const {
    return Display::Get().DrawnFrames();
}

bool Harness::TextInputOn() const {
    return SDL_IsTextInputActive() == SDL_TRUE;
}

HeadlessAudio& Harness::Audio() {
    return services_->audio;
}

}  // namespace platform
