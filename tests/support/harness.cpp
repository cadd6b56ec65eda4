// The headless harness: its services, and the window system's events it makes.
#include "support/harness.h"

#include <SDL.h>

#include <cstdio>

#include "platform/sdl/display.h"
#include "platform/sdl/frame_pacing.h"
#include "platform/sdl/surface_state.h"
#include "platform/session/recording.h"

namespace platform {

std::int64_t ManualClock::Counter() {
    const auto now = static_cast<std::int64_t>(micros);
    return now / 1'000'000 * frequency + now % 1'000'000 * frequency / 1'000'000;
}

void ScriptedInput::Poll(int pass, std::deque<InputEvent>& queue) {
    while (!scheduled.empty() && scheduled.begin()->first <= pass) {
        auto action = std::move(scheduled.begin()->second);
        scheduled.erase(scheduled.begin());
        action();
    }
    if (everyPass) {
        everyPass(pass);
    }
    if (passLimit > 0 && pass > passLimit && (pass - passLimit) % 16 == 1) {
        passLimitReached = true;  // every 16 passes, so that each screen has time to take it
        queue.push_back(MessageEvent(WM_CHAR, VK_ESCAPE));
    }
    windowSystem.Poll(pass, queue);
}

void HeadlessWindows::ShowMessage(const std::string& caption, const std::string& text) {
    boxes.push_back({caption, text});
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

bool InjectedFaults::Fails(Fault operation, HRESULT* answer) {
    if (operation == Fault::ClipCursor && failClipCursor) {
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

Harness::Harness() {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    UseServices(clock_, input_, windows_, audio_);
    InjectFaults(&faults_);
    System().refreshFromDisplay = false;
    System().settingsFile = "";
}

Harness::~Harness() {
    for (int pad = 0; pad < static_cast<int>(pads_.size()); ++pad) {
        if (pads_[static_cast<std::size_t>(pad)] >= 0) {
            DetachPad(pad);
        }
    }
    EndSession();
    Display::Get().Close();
    UseSdlServices();
}

void Harness::SetRefreshRate(double hertz) {
    System().frameIntervalMicros = RefreshInterval(hertz);
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

int Harness::PresentedFrames() const {
    return Display::Get().PresentedFrames();
}

int Harness::DrawnFrames() const {
    return Display::Get().DrawnFrames();
}

bool Harness::Fullscreen() const {
    return Display::Get().Fullscreen();
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

namespace {

void PushEvent(SDL_Event event) {
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

}  // namespace

void Harness::PressKey(const std::string& name, bool alt) {
    PushKey(SDL_KEYDOWN, name, alt ? KMOD_LALT : KMOD_NONE);
}

void Harness::ReleaseKey(const std::string& name) {
    PushKey(SDL_KEYUP, name, KMOD_NONE);
}

void Harness::PressCtrlKey(const std::string& name) {
    PushKey(SDL_KEYDOWN, name, KMOD_LCTRL);
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
    pads_.push_back(SDL_JoystickInstanceID(pad));
    return static_cast<int>(pads_.size()) - 1;
}

void Harness::DetachPad(int pad) {
    int& id = pads_.at(static_cast<std::size_t>(pad));
    SDL_JoystickClose(SDL_JoystickFromInstanceID(id));
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
        }
    }
    id = -1;
}

void Harness::PadButton(int pad, PadControl control, bool down) {
    // The virtual controller's buttons are numbered as the standard layout's.
    static const std::map<PadControl, SDL_GameControllerButton> buttons{
        {PadControl::South, SDL_CONTROLLER_BUTTON_A},
        {PadControl::East, SDL_CONTROLLER_BUTTON_B},
        {PadControl::Back, SDL_CONTROLLER_BUTTON_BACK},
        {PadControl::Start, SDL_CONTROLLER_BUTTON_START},
        {PadControl::Up, SDL_CONTROLLER_BUTTON_DPAD_UP},
        {PadControl::Down, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
        {PadControl::Left, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
        {PadControl::Right, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}};
    SDL_JoystickSetVirtualButton(
        SDL_JoystickFromInstanceID(pads_.at(static_cast<std::size_t>(pad))), buttons.at(control),
        down ? 1 : 0);
}

void Harness::PadStick(int pad, double across) {
    SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(pads_.at(static_cast<std::size_t>(pad))),
                               SDL_CONTROLLER_AXIS_LEFTX,
                               static_cast<Sint16>(std::clamp(across, -1.0, 1.0) * 32767));
}

void Harness::Touch(FingerPhase phase, double x, double y, int finger) {
    SDL_Event event{};
    event.type = phase == FingerPhase::Down   ? SDL_FINGERDOWN
                 : phase == FingerPhase::Move ? SDL_FINGERMOTION
                                              : SDL_FINGERUP;
    event.tfinger.touchId = 1;
    event.tfinger.fingerId = finger;
    event.tfinger.x = static_cast<float>(x);
    event.tfinger.y = static_cast<float>(y);
    event.tfinger.pressure = phase == FingerPhase::Up ? 0.0F : 1.0F;
    PushEvent(event);
}

void Harness::QuickClick() {
    for (const Uint8 state : {SDL_PRESSED, SDL_RELEASED}) {
        SDL_Event event{};
        event.type = state == SDL_PRESSED ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = state;
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

void Harness::ClickAt(int x, int y) {
    // The middle of the window's pixels that show the picture's pixel.
    int width = 640;
    int height = 480;
    if (SDL_Window* window = Display::Get().Window()) {
        SDL_GetWindowSize(window, &width, &height);
    }
    const SDL_Rect picture =
        Display::Picture(width, height, Display::Get().PlayerSettings().scaling);
    PointAt(picture.x + (2 * x + 1) * picture.w / 1280, picture.y + (2 * y + 1) * picture.h / 960);
    QuickClick();
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
    PushEvent(event);
}

bool Harness::TextInputOn() const {
    return SDL_IsTextInputActive() == SDL_TRUE;
}

}  // namespace platform
