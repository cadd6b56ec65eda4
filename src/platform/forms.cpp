// The application object, the form and the message pump that turns SDL's events into messages.
#include "platform/forms.h"

#include <new>

#include <SDL.h>

#include "platform/display.h"
#include "platform/msgbox.h"
#include "platform/recording.h"
#include "platform/screenshot.h"
#include "platform/services.h"
#include "platform/session.h"

TApplication Application;

struct WindowHandle {};

namespace {

WindowHandle g_window;

WPARAM VirtualKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_BACKSPACE:
            return VK_BACK;
        default:
            break;
    }
    if (key >= 'a' && key <= 'z') {
        return static_cast<WPARAM>(key - 'a' + 'A');
    }
    return (key >= 0x20 && key < 0x7F) ? static_cast<WPARAM>(key) : 0;
}

platform::InputEvent MessageEvent(UINT msg, WPARAM wParam) {
    platform::InputEvent event;
    event.message.Msg = msg;
    event.message.WParam = wParam;
    return event;
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
void QueueText(const char* utf8, std::deque<platform::InputEvent>& queue) {
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

void Translate(const SDL_Event& e, std::deque<platform::InputEvent>& queue) {
    platform::InputEvent event;
    switch (e.type) {
        case SDL_QUIT:
            queue.push_back(MessageEvent(WM_CLOSE, 0));
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                event.kind = platform::InputEvent::Kind::Focus;
                event.active = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                queue.push_back(event);
            }
            break;
        case SDL_KEYDOWN: {
            const SDL_Keycode key = e.key.keysym.sym;
            if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (e.key.keysym.mod & KMOD_ALT)) {
                if (e.key.repeat == 0) {
                    platform::Display::Get().ToggleFullscreen();
                }
                break;
            }
            if (key == SDLK_F12) {
                if (e.key.repeat == 0) {
                    platform::SaveScreenshot();
                }
                break;
            }
            if (const WPARAM vk = VirtualKey(key); vk != 0) {
                queue.push_back(MessageEvent(WM_KEYDOWN, vk));
                if (vk == VK_BACK || vk == VK_RETURN || vk == VK_ESCAPE) {
                    queue.push_back(MessageEvent(WM_CHAR, vk));
                }
            }
            break;
        }
        case SDL_TEXTINPUT:
            QueueText(e.text.text, queue);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.kind = e.type == SDL_MOUSEBUTTONDOWN ? platform::InputEvent::Kind::MouseDown
                                                       : platform::InputEvent::Kind::MouseUp;
            event.button = MouseButton(e.button.button);
            queue.push_back(event);
            break;
        case SDL_MOUSEMOTION:
            event.kind = platform::InputEvent::Kind::MouseMove;
            event.dx = e.motion.xrel;
            event.dy = e.motion.yrel;
            queue.push_back(event);
            break;
        default:
            break;
    }
}

}  // namespace

namespace platform {

void MoveCursor(int dx, int dy) {
    Services& sys = System();
    sys.cursor.x = std::clamp<LONG>(sys.cursor.x + dx, sys.clip.left, sys.clip.right - 1);
    sys.cursor.y = std::clamp<LONG>(sys.cursor.y + dy, sys.clip.top, sys.clip.bottom - 1);
}

}  // namespace platform

TForm::TForm() = default;
TForm::~TForm() = default;

HWND TForm::Handle() const {
    return &g_window;
}

void TForm::Close() {
    closeRequested_ = true;
}

void TForm::CreateParams(TCreateParams&) {}

void TForm::DefaultHandler(TMessage& message) {
    message.Result = 0;
}

void TApplication::Initialize() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_MODE_WARP, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        throw Exception(std::string("Cannot start the display: ") + SDL_GetError());
    }
}

void TApplication::Run(TForm& form) {
    form_ = &form;
    form.CreateParams(form.params_);
    platform::Display::Get().Open(form.params_.Caption);
    SDL_StartTextInput();
    // The window system activates the application when its window first shows.
    platform::System().queue.push_front(MessageEvent(WM_ACTIVATEAPP, 1));
    deactivated_ = false;
    try {
        form.FormActivate();
        while (!form.CloseRequested()) {
            ProcessMessages();
        }
    } catch (const platform::ReplayParted&) {
        // A replay that parted from its record ends here; its session holds the report.
    } catch (const std::exception& error) {
        if (OnException) {
            OnException(error);
        } else {
            ShowException(error);
        }
    }
    SDL_StopTextInput();
    platform::Display::Get().Close();
    form_ = nullptr;
}

void TApplication::ShowException(const std::exception& error) {
    if (dynamic_cast<const EAbort*>(&error) != nullptr) {
        return;
    }
    const bool outOfMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
    MessageBoxA(nullptr, outOfMemory ? "Out of memory error" : error.what(), "Zintrel", MB_OK);
}

void TApplication::ProcessMessages() {
    platform::Services& sys = platform::System();
    const int pass = ++sys.pass;
    while (!sys.scheduled.empty() && sys.scheduled.begin()->first <= pass) {
        auto action = std::move(sys.scheduled.begin()->second);
        sys.scheduled.erase(sys.scheduled.begin());
        action();
    }
    if (sys.everyPass) {
        sys.everyPass(pass);
    }
    if (sys.passLimit > 0 && pass > sys.passLimit && (pass - sys.passLimit) % 16 == 1) {
        // A run that should long have ended: press Esc now and then until it does, leaving
        // each screen the passes to take the key.
        sys.passLimitReached = true;
        sys.queue.push_back(MessageEvent(WM_CHAR, VK_ESCAPE));
    }
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        SDL_Event e;
        while (SDL_PollEvent(&e) != 0) {
            Translate(e, sys.queue);
        }
    }
    platform::SessionInput(sys.queue);
    while (!sys.queue.empty() && form_ != nullptr) {
        platform::InputEvent event = sys.queue.front();
        sys.queue.pop_front();
        platform::SessionDelivered(event);
        const POINT& at = sys.cursor;
        switch (event.kind) {
            case platform::InputEvent::Kind::Message:
                form_->WndProc(event.message);
                break;
            case platform::InputEvent::Kind::MouseDown:
                form_->FormMouseDown(event.button, at.x, at.y);
                break;
            case platform::InputEvent::Kind::MouseUp:
                form_->FormMouseUp(event.button, at.x, at.y);
                break;
            case platform::InputEvent::Kind::MouseMove:
                platform::MoveCursor(event.dx, event.dy);
                break;
            case platform::InputEvent::Kind::Focus: {
                platform::Display::Get().FocusChanged(event.active);
                TMessage message{WM_ACTIVATEAPP, event.active ? 1u : 0u, 0, 0};
                form_->WndProc(message);
                // Coming back from another application activates the form again.
                if (event.active && deactivated_) {
                    form_->FormActivate();
                }
                deactivated_ = !event.active;
                break;
            }
            case platform::InputEvent::Kind::SurfacesLost:
                platform::Display::Get().DropSurfaces();
                break;
        }
    }
}
