// The headless harness over the platform's services.
#include "platform/harness.h"

#include <SDL.h>

#include "platform/display.h"
#include "platform/frame_pacing.h"
#include "platform/recording.h"
#include "platform/surface_state.h"

namespace platform {

namespace {

InputEvent Message(UINT msg, WPARAM wParam, LPARAM lParam = 0) {
    InputEvent event;
    event.message = TMessage{msg, wParam, lParam, 0};
    return event;
}

InputEvent Mouse(InputEvent::Kind kind, TMouseButton button) {
    InputEvent event;
    event.kind = kind;
    event.button = button;
    return event;
}

}  // namespace

Harness::Harness() {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    Services& sys = System();
    sys = Services{};
    sys.manualClock = true;
    sys.manualMicros = 1'000'000;
    sys.wallClock = 1'000'000'000;
    sys.dialogs = false;
    sys.passLimit = 1'000'000;
    sys.refreshFromDisplay = false;
    sys.settingsFile = "";
}

Harness::~Harness() {
    EndSession();
    Display::Get().Close();
    System() = Services{};
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
    System().queue.push_back(Message(message, wParam, lParam));
}

void Harness::At(int pass, std::function<void()> action) {
    System().scheduled.emplace(pass, std::move(action));
}

void Harness::EveryPass(std::function<void(int)> action) {
    System().everyPass = std::move(action);
}

int Harness::Pass() const {
    return System().pass;
}

void Harness::SetPassLimit(int passes) {
    System().passLimit = passes;
}

bool Harness::PassLimitReached() const {
    return System().passLimitReached;
}

void Harness::SetFrameInterval(double milliseconds) {
    System().frameIntervalMicros = milliseconds * 1000.0;
}

void Harness::SetCounterFrequency(std::int64_t hertz) {
    System().manualFrequency = hertz;
}

void Harness::AdvanceClock(double milliseconds) {
    System().manualMicros += static_cast<std::uint64_t>(milliseconds * 1000.0);
}

std::uint64_t Harness::ClockMicros() const {
    return System().manualMicros;
}

void Harness::SetWallClock(std::time_t seconds) {
    System().wallClock = seconds;
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
    System().failedFlips = count;
    System().failedFlipResult = result;
}

void Harness::FailAsyncBlits(int count) {
    System().stillDrawingBlits = count;
}

void Harness::Fail(Fault operation, int count) {
    System().failures[operation] = count;
}

void Harness::FailClipCursor(bool fail) {
    System().failClipCursor = fail;
}

void Harness::NoMusic(bool none) {
    System().noMusic = none;
}

const std::vector<ShownBox>& Harness::MessageBoxes() const {
    return System().shownBoxes;
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

void Harness::PressKey(const std::string& name, bool alt) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        SDL_InitSubSystem(SDL_INIT_EVENTS);
    }
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDL_GetKeyFromName(name.c_str());
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    event.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    SDL_PushEvent(&event);
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

}  // namespace platform
