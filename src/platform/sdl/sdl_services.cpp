// The real services over SDL.
#include "platform/sdl/sdl_services.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <tuple>

#include "platform/api/debug.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/display.h"
#include "platform/sdl/screenshot.h"
#include "platform/sdl/video_driver.h"

namespace platform {

std::uint64_t SdlClock::NowMicros() {
    static const std::uint64_t frequency = SDL_GetPerformanceFrequency();
    const std::uint64_t count = SDL_GetPerformanceCounter();
    return count / frequency * 1'000'000 + count % frequency * 1'000'000 / frequency;
}

void SdlClock::SleepMicros(std::uint64_t micros) {
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

void SdlClock::WaitUntilMicros(std::uint64_t micros) {
    // Sleeping, not spinning: the system wakes the thread within a fraction of a millisecond.
    if (const std::uint64_t now = NowMicros(); micros > now) {
        SleepMicros(micros - now);
    }
}

std::int64_t SdlClock::CounterFrequency() {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

std::int64_t SdlClock::Counter() {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::time_t SdlClock::WallClock() {
    return std::time(nullptr);
}

namespace {

WPARAM VirtualKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_F1:
            return VK_F1;
        default:
            break;
    }
    if (key >= 'a' && key <= 'z') {
        return static_cast<WPARAM>(key - 'a' + 'A');
    }
    return (key >= 0x20 && key < 0x7F) ? static_cast<WPARAM>(key) : 0;
}

TMouseButton MouseButton(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_RIGHT:
            return TMouseButton::mbRight;
        case SDL_BUTTON_MIDDLE:
            return TMouseButton::mbMiddle;
        default:
            return TMouseButton::mbLeft;
    }
}

// Text input arrives as UTF-8; the game takes 8-bit characters, so Latin-1 is kept.
void QueueText(const char* utf8, std::deque<InputEvent>& queue) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p != 0) {
        unsigned code = *p++;
        if (code >= 0xC0 && code < 0xE0 && (*p & 0xC0) == 0x80) {
            code = ((code & 0x1F) << 6) | (*p++ & 0x3F);
        } else if (code >= 0x80) {
            while ((*p & 0xC0) == 0x80) {
                ++p;
            }
            continue;
        }
        if (code < 0x100) {
            queue.push_back(MessageEvent(WM_CHAR, code));
        }
    }
}

// A focus that comes back before the game has seen it go was never taken from the player: sway
// takes it and gives it back at once whenever a keyboard is added (an on-screen keyboard, a
// typing tool), and the game would pause. Drops the loss that waits in the queue.
bool GivenBack(std::deque<InputEvent>& queue) {
    const auto last = std::find_if(queue.rbegin(), queue.rend(), [](const InputEvent& event) {
        return event.kind == InputEvent::Kind::Focus;
    });
    if (last == queue.rend() || last->active) {
        return false;
    }
    queue.erase(std::next(last).base());
    return true;
}

void Translate(const SDL_Event& e, Controls& controls, std::deque<InputEvent>& queue) {
    if (controls.Take(e, queue)) {
        return;
    }
    InputEvent event;
    switch (e.type) {
        case SDL_QUIT:
            queue.push_back(MessageEvent(WM_CLOSE, 0));
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                event.kind = InputEvent::Kind::Focus;
                event.active = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                if (!event.active || !GivenBack(queue)) {
                    queue.push_back(event);
                }
            }
            break;
        case SDL_KEYDOWN: {
            const SDL_Keycode key = e.key.keysym.sym;
            if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (e.key.keysym.mod & KMOD_ALT)) {
                if (e.key.repeat == 0) {
                    Display::Get().ToggleFullscreen();
                }
                break;
            }
            if (key == SDLK_F12) {
                if (e.key.repeat == 0) {
                    SaveScreenshot();
                }
                break;
            }
            if (const WPARAM vk = VirtualKey(key); vk != 0) {
                QueueKey(vk, queue);
                const Uint16 mod = e.key.keysym.mod;
                if ((mod & KMOD_ALT) != 0) {
                    break;
                }
                // Ctrl and a letter type its control character, as the keyboard's translation
                // did: Ctrl+S is 19. The text input has none for it.
                if (vk >= 'A' && vk <= 'Z' && (mod & KMOD_CTRL) != 0) {
                    queue.push_back(MessageEvent(WM_CHAR, vk - 'A' + 1));
                } else if (key >= 0x20 && key < 0x7F && (mod & KMOD_CTRL) == 0 &&
                           SDL_IsTextInputActive() == SDL_FALSE) {
                    // Where no text is typed, text input is off: the keys the screens take as
                    // characters (Space, H, S, A, P) type theirs here.
                    const bool upper = ((mod & KMOD_SHIFT) != 0) != ((mod & KMOD_CAPS) != 0);
                    queue.push_back(MessageEvent(
                        WM_CHAR, static_cast<WPARAM>(upper && vk >= 'A' && vk <= 'Z' ? vk : key)));
                }
            }
            break;
        }
        case SDL_TEXTINPUT:
            QueueText(e.text.text, queue);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown
                                                       : InputEvent::Kind::MouseUp;
            event.button = MouseButton(e.button.button);
            queue.push_back(event);
            break;
        case SDL_MOUSEMOTION:
            event.kind = InputEvent::Kind::MouseMove;
            std::tie(event.dx, event.dy) = controls.Motion(e.motion.xrel, e.motion.yrel);
            queue.push_back(event);
            // Where the desktop's pointer is free and shown, the screens also learn what it
            // points at.
            if (!Display::Get().MouseGrabbed()) {
                const POINT at = Display::Get().GamePoint(e.motion.x, e.motion.y);
                queue.push_back(MessageEvent(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y)));
            }
            break;
        case SDL_MOUSEWHEEL: {
            const int notches =
                e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            if (notches != 0) {
                const auto turn = static_cast<WORD>(notches * WHEEL_DELTA);
                queue.push_back(MessageEvent(WM_MOUSEWHEEL, static_cast<WPARAM>(turn) << 16));
            }
            break;
        }
        default:
            break;
    }
}

// A termination request (SIGTERM, as at logout, or SIGINT) reaches the form as WM_ENDSESSION
// at the next pass of the message pump, not as the quit event of the window's close button.
volatile std::sig_atomic_t g_terminationRequested = 0;

extern "C" void NoteTerminationRequest(int) {
    g_terminationRequested = 1;
}

// While a dialog is shown, the dialog's own loop holds the program, and a termination request
// (noted for a message pump that does not run) would be held off until someone clicks. It then
// ends the program at once instead, and a process the dialog runs in ends with it.
volatile std::sig_atomic_t g_dialogShown = 0;
pid_t g_dialogOwner = 0;

extern "C" void EndOnTerminationRequest(int) {
    _exit(1);
}

extern "C" void EndWithTheDialogOwner() {
    if (g_dialogShown != 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != g_dialogOwner) {
            _exit(1);
        }
    }
}

class TerminationEndsTheDialog {
  public:
    TerminationEndsTheDialog() {
        static const bool registered = pthread_atfork(nullptr, nullptr, EndWithTheDialogOwner) == 0;
        (void)registered;
        g_dialogOwner = getpid();
        struct sigaction ending {};
        ending.sa_handler = EndOnTerminationRequest;
        sigemptyset(&ending.sa_mask);
        sigaction(SIGTERM, &ending, &previousTerm_);
        sigaction(SIGINT, &ending, &previousInt_);
        g_dialogShown = 1;
    }
    ~TerminationEndsTheDialog() {
        g_dialogShown = 0;
        sigaction(SIGTERM, &previousTerm_, nullptr);
        sigaction(SIGINT, &previousInt_, nullptr);
    }
    TerminationEndsTheDialog(const TerminationEndsTheDialog&) = delete;
    TerminationEndsTheDialog& operator=(const TerminationEndsTheDialog&) = delete;

  private:
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
};

}  // namespace

SdlInput::SdlInput() : controls_(std::make_unique<Controls>()) {}

SdlInput::~SdlInput() = default;

void SdlInput::Poll(int, std::deque<InputEvent>& queue) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return;
    }
    controls_->Start();
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) {
        Translate(e, *controls_, waiting_);
    }
    if (g_terminationRequested != 0) {
        g_terminationRequested = 0;
        waiting_.push_back(MessageEvent(WM_ENDSESSION, 1));
    }
    controls_->Step(waiting_);
    shortClicks_.Pass(waiting_, queue, Display::Get().PresentedFrames(), NowMicros(),
                      System().gameInPlay);
}

void SdlWindowSystem::Start() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_MODE_WARP, "0");
    // Touch is taken as touch, not as a mouse SDL would make of it.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    // Headless (a video made without a screen) SDL draws into memory; otherwise the driver is
    // chosen before SDL starts.
    const VideoDriverChoice choice = onScreen_ ? ChooseVideoDriver(std::getenv("SDL_VIDEODRIVER"),
                                                                   std::getenv("WAYLAND_DISPLAY"))
                                               : VideoDriverChoice{"dummy", "", false};
    if (!choice.drivers.empty()) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, choice.drivers.c_str());
    }
    // Termination requests are the program's own to take, not a quit event of SDL's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        const std::string why = choice.fallback.empty() ? "" : " (" + choice.fallback + ")";
        throw Exception(std::string("Cannot start the display: ") + SDL_GetError() + why);
    }
    const std::string driver = SDL_GetCurrentVideoDriver();
    if (!choice.fallback.empty()) {
        std::fprintf(stderr, "zintrel: %s; playing on %s\n", choice.fallback.c_str(),
                     driver.c_str());
    } else if (choice.wantsWayland && driver != "wayland") {
        std::fprintf(stderr, "zintrel: SDL's Wayland driver did not start; playing on %s\n",
                     driver.c_str());
    }
    OutputDebugStringA(("zintrel: video driver " + driver).c_str());
    // A request that already has a handler of the program's (the video's, which removes its
    // unfinished file and ends the program) keeps it.
    struct sigaction noting {};
    noting.sa_handler = NoteTerminationRequest;
    sigemptyset(&noting.sa_mask);
    for (const int request : {SIGTERM, SIGINT}) {
        struct sigaction current {};
        sigaction(request, nullptr, &current);
        if (current.sa_handler == SIG_DFL) {
            sigaction(request, &noting, nullptr);
        }
    }
}

void SdlWindowSystem::Open(const std::string& caption) {
    Display::Get().Open(caption);
    TextEntry(System().textEntry);
}

void SdlWindowSystem::Close() {
    SDL_StopTextInput();
    Display::Get().Close();
}

void SdlWindowSystem::TextEntry(bool taking) {
    if (taking) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

void SdlWindowSystem::FocusChanged(bool active) {
    Display::Get().FocusChanged(active);
}

void SdlWindowSystem::DropSurfaces() {
    Display::Get().DropSurfaces();
}

void SdlWindowSystem::SetGameInPlay(bool inPlay) {
    Display::Get().SetGameInPlay(inPlay);
}

void SdlWindowSystem::CursorShown(bool) {
    Display::Get().UpdateGrab();
}

void SdlWindowSystem::ShowMessage(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    const char* quiet = std::getenv("ZINTREL_NO_DIALOGS");
    if (onScreen_ && !(quiet != nullptr && std::strcmp(quiet, "1") == 0)) {
        const TerminationEndsTheDialog ending;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(),
                                 Display::Get().Window());
    }
}

bool SdlWindowSystem::Watched() const {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "dummy") != 0 &&
           std::strcmp(driver, "offscreen") != 0;
}

}  // namespace platform
