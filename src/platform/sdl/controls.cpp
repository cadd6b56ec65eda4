// Game controllers, the keys of play, touch and the mouse's sensitivity, as the game's cursor,
// mouse button and keys.
#include "platform/sdl/controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl/display.h"
#include "platform/sdl/remap.h"

namespace platform {

namespace {

constexpr double kStickTravel = 32767.0;
// The d-pad's and the arrow keys' speed rises to three times its first while held this long.
constexpr std::uint64_t kRiseMicros = 500'000;
// A stall longer than this (a slow frame, the window dragged) moves the paddle no further.
constexpr std::uint64_t kLongestStepMicros = 100'000;
// On the screens a stick pushed this far steps as an arrow key, again after a while held and
// then at a steady pace.
constexpr double kStickStep = 0.5;
constexpr std::uint64_t kStickFirstRepeatMicros = 400'000;
constexpr std::uint64_t kStickRepeatMicros = 150'000;

DeviceKind g_lastPad = DeviceKind::XboxPad;

InputEvent Mouse(InputEvent::Kind kind) {
    InputEvent event;
    event.kind = kind;
    event.button = TMouseButton::mbLeft;
    return event;
}

bool Held(SDL_GameController* pad, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(pad, button) != 0;
}

DeviceKind KindOfPad(SDL_JoystickID id) {
    switch (SDL_GameControllerGetType(SDL_GameControllerFromInstanceID(id))) {
        case SDL_CONTROLLER_TYPE_PS3:
        case SDL_CONTROLLER_TYPE_PS4:
        case SDL_CONTROLLER_TYPE_PS5:
            return DeviceKind::PlayStationPad;
        default:
            return DeviceKind::XboxPad;
    }
}

}  // namespace

void QueueKey(WPARAM virtualKey, std::deque<InputEvent>& queue) {
    queue.push_back(MessageEvent(WM_KEYDOWN, virtualKey));
    // These keys also type their character, as the keyboard's do.
    if (virtualKey == VK_BACK || virtualKey == VK_RETURN || virtualKey == VK_ESCAPE) {
        queue.push_back(MessageEvent(WM_CHAR, virtualKey));
    }
}

DeviceKind LastPadKind() {
    return g_lastPad;
}

std::string ButtonLabel(std::int32_t button, DeviceKind kind) {
    struct Label {
        SDL_GameControllerButton button;
        const char* xbox;
        const char* playStation;
    };
    static constexpr Label kLabels[] = {
        {SDL_CONTROLLER_BUTTON_A, "A", "Cross"},
        {SDL_CONTROLLER_BUTTON_B, "B", "Circle"},
        {SDL_CONTROLLER_BUTTON_X, "X", "Square"},
        {SDL_CONTROLLER_BUTTON_Y, "Y", "Triangle"},
        {SDL_CONTROLLER_BUTTON_BACK, "Back", "Share"},
        {SDL_CONTROLLER_BUTTON_GUIDE, "Guide", "PS"},
        {SDL_CONTROLLER_BUTTON_START, "Start", "Options"},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, "LS", "L3"},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, "RS", "R3"},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, "LB", "L1"},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, "RB", "R1"},
        {SDL_CONTROLLER_BUTTON_TOUCHPAD, "Touchpad", "Touchpad"},
    };
    for (const Label& label : kLabels) {
        if (label.button == button) {
            return kind == DeviceKind::PlayStationPad ? label.playStation : label.xbox;
        }
    }
    return ButtonName(button);
}

Controls::~Controls() {
    Reset();
}

void Controls::Start() {
    // Game controllers are opened and closed as the settings turn them on and off.
    const bool pads = Display::Get().Controls().pads;
    if (pads && !padsOpen_ && !padsFailed_) {
        padsOpen_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        padsFailed_ = !padsOpen_;
        if (padsFailed_) {
            std::fprintf(stderr, "zintrel: game controllers cannot be used: %s\n", SDL_GetError());
        }
        // Those plugged in already, when they were closed before.
        for (int device = 0; padsOpen_ && device < SDL_NumJoysticks(); ++device) {
            OpenPad(device);
        }
    } else if (!pads && padsOpen_) {
        ClosePads();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        padsOpen_ = false;
    }
}

void Controls::ClosePads() {
    for (SDL_GameController* pad : pads_) {
        SDL_GameControllerClose(pad);
    }
    pads_.clear();
}

void Controls::OpenPad(int device) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    const bool known = std::any_of(pads_.begin(), pads_.end(), [id](auto* pad) {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
    });
    if (SDL_GameController* pad = known || SDL_IsGameController(device) == SDL_FALSE
                                      ? nullptr
                                      : SDL_GameControllerOpen(device)) {
        pads_.push_back(pad);
    }
}

void Controls::Reset() {
    ClosePads();
    leftKey_ = rightKey_ = false;
    heldDirection_ = 0;
    lastStep_ = 0;
    carried_ = 0;
    finger_ = -1;
    stickKey_ = 0;
}

void Controls::Spoke(DeviceKind kind, std::deque<InputEvent>& queue) {
    if (kind != DeviceKind::Keys) {
        g_lastPad = kind;
    }
    if (kind != device_) {
        device_ = kind;
        queue.push_back(MessageEvent(WM_INPUTDEVICE, static_cast<WPARAM>(kind)));
    }
}

std::pair<int, int> Controls::Motion(int dx, int dy) {
    const double sensitivity = Display::Get().Controls().mouseSensitivity / 100.0;
    motionX_ += dx * sensitivity;
    motionY_ += dy * sensitivity;
    const auto x = static_cast<int>(motionX_);
    const auto y = static_cast<int>(motionY_);
    motionX_ -= x;
    motionY_ -= y;
    return {x, y};
}

bool Controls::Take(const SDL_Event& event, std::deque<InputEvent>& queue) {
    switch (event.type) {
        case SDL_KEYDOWN:
            if (OfferKey(event.key.keysym.sym)) {
                return true;
            }
            [[fallthrough]];
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEWHEEL:
        case SDL_MOUSEMOTION:
        case SDL_FINGERDOWN:
            Spoke(DeviceKind::Keys, queue);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (OfferButton(event.cbutton.button)) {
                return true;
            }
            Spoke(KindOfPad(event.cbutton.which), queue);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (std::abs(event.caxis.value) > kStickStep * kStickTravel) {
                Spoke(KindOfPad(event.caxis.which), queue);
            }
            break;
        default:
            break;
    }
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (padsOpen_) {
                OpenPad(event.cdevice.which);
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED: {
            const auto gone = std::find_if(pads_.begin(), pads_.end(), [&](auto* pad) {
                return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) ==
                       event.cdevice.which;
            });
            if (gone != pads_.end()) {
                SDL_GameControllerClose(*gone);
                pads_.erase(gone);
                // A pad that goes in play pauses the game, as a player who walks away would.
                queue.push_back(Mouse(InputEvent::Kind::MouseUp));
                if (System().gameInPlay) {
                    queue.push_back(MessageEvent(WM_CHAR, 'p'));
                }
            }
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            Button(static_cast<SDL_GameControllerButton>(event.cbutton.button),
                   event.type == SDL_CONTROLLERBUTTONDOWN, queue);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            // The sticks are read where they drive the paddle.
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return Key(event.key, queue);
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                leftKey_ = rightKey_ = false;
            }
            return false;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP:
            Finger(event.tfinger, event.type, queue);
            return true;
        default:
            return false;
    }
}

bool Controls::Key(const SDL_KeyboardEvent& key, std::deque<InputEvent>& queue) {
    const ControlSettings& settings = Display::Get().Controls();
    const SDL_Keycode code = key.keysym.sym;
    const bool down = key.type == SDL_KEYDOWN;
    // The keys of left and right drive the paddle while held, and still reach the game as keys.
    if (code == settings.Key(KeyControl::Left)) {
        leftKey_ = down;
    } else if (code == settings.Key(KeyControl::Right)) {
        rightKey_ = down;
    }
    const Services& sys = System();
    if (!down || !sys.playControls || sys.textEntry) {
        return false;
    }
    // In play the player's keys launch, pause and leave, as Space, P and Esc do on the screens;
    // those keys act there only when they are the player's.
    if (code == settings.Key(KeyControl::Launch)) {
        if (key.repeat == 0) {
            queue.push_back(MessageEvent(WM_CHAR, ' '));
        }
        return true;
    }
    if (code == settings.Key(KeyControl::Pause)) {
        if (key.repeat == 0) {
            queue.push_back(MessageEvent(WM_CHAR, 'p'));
        }
        return true;
    }
    if (code == settings.Key(KeyControl::Leave)) {
        if (key.repeat == 0) {
            QueueKey(VK_ESCAPE, queue);
        }
        return true;
    }
    return code == SDLK_SPACE || code == SDLK_p || code == SDLK_ESCAPE;
}

void Controls::Button(SDL_GameControllerButton button, bool down, std::deque<InputEvent>& queue) {
    const Services& sys = System();
    const ControlSettings& settings = Display::Get().Controls();
    if (sys.playControls && !sys.textEntry) {
        // In play the player's buttons: launching is the mouse's button, held; pausing and
        // leaving are P and Esc. The d-pad still gives its keys.
        if (button == settings.Button(ButtonControl::Launch)) {
            queue.push_back(Mouse(down ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp));
        } else if (down && button == settings.Button(ButtonControl::Pause)) {
            queue.push_back(MessageEvent(WM_CHAR, 'p'));
        } else if (down && button == settings.Button(ButtonControl::Leave)) {
            QueueKey(VK_ESCAPE, queue);
        } else if (down && button >= SDL_CONTROLLER_BUTTON_DPAD_UP &&
                   button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT) {
            QueueKey(button == SDL_CONTROLLER_BUTTON_DPAD_UP     ? VK_UP
                     : button == SDL_CONTROLLER_BUTTON_DPAD_DOWN ? VK_DOWN
                     : button == SDL_CONTROLLER_BUTTON_DPAD_LEFT ? VK_LEFT
                                                                 : VK_RIGHT,
                     queue);
        }
        return;
    }
    // The south button is the mouse's: a click on the screens. Its release lets the mouse
    // button go wherever it was pressed.
    if (button == SDL_CONTROLLER_BUTTON_A && (!down || !sys.textEntry)) {
        queue.push_back(Mouse(down ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp));
        return;
    }
    if (!down) {
        return;
    }
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:  // typing a name: takes the letter chosen
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            QueueKey(VK_RIGHT, queue);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            QueueKey(VK_LEFT, queue);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            QueueKey(VK_UP, queue);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            QueueKey(VK_DOWN, queue);
            break;
        case SDL_CONTROLLER_BUTTON_B:
        case SDL_CONTROLLER_BUTTON_BACK:
            // Leaves the screen, as Esc does.
            QueueKey(VK_ESCAPE, queue);
            break;
        case SDL_CONTROLLER_BUTTON_START:
            if (sys.textEntry) {
                QueueKey(VK_RETURN, queue);
            } else {
                queue.push_back(MessageEvent(WM_CHAR, 'p'));
            }
            break;
        default:
            break;
    }
}

void Controls::Finger(const SDL_TouchFingerEvent& finger, Uint32 type,
                      std::deque<InputEvent>& queue) {
    if (type == SDL_FINGERDOWN && finger_ < 0) {
        finger_ = finger.fingerId;
    } else if (finger.fingerId != finger_) {
        return;  // only the first finger down acts
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(Display::Get().Window(), &width, &height);
    const POINT at = Display::Get().GamePoint(finger.x * width, finger.y * height);
    // The cursor goes where the finger is, from where the queued motion leaves it.
    POINT cursor = System().cursor;
    for (const InputEvent& event : queue) {
        if (event.kind == InputEvent::Kind::MouseMove) {
            cursor.x += event.dx;
            cursor.y += event.dy;
        }
    }
    InputEvent move = Mouse(InputEvent::Kind::MouseMove);
    move.dx = at.x - cursor.x;
    move.dy = at.y - cursor.y;
    if (move.dx != 0 || move.dy != 0) {
        queue.push_back(move);
    }
    if (type == SDL_FINGERDOWN) {
        if (!System().gameInPlay) {
            // A tap on the screens points first, so that it chooses what it touches.
            queue.push_back(MessageEvent(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y)));
        }
        queue.push_back(Mouse(InputEvent::Kind::MouseDown));
    } else if (type == SDL_FINGERUP) {
        queue.push_back(Mouse(InputEvent::Kind::MouseUp));
        finger_ = -1;
    }
}

double Controls::Speed(std::uint64_t now) {
    const ControlSettings& settings = Display::Get().Controls();
    int direction = (rightKey_ ? 1 : 0) - (leftKey_ ? 1 : 0);
    bool byPad = false;
    double stick = 0;
    for (SDL_GameController* pad : pads_) {
        const int padDirection = (Held(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? 1 : 0) -
                                 (Held(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? 1 : 0);
        if (padDirection != 0) {
            direction = std::clamp(direction + padDirection, -1, 1);
            byPad = true;
        }
        const double deflection =
            SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX) / kStickTravel;
        if (std::abs(deflection) > std::abs(stick)) {
            stick = deflection;
        }
    }
    if (direction != heldDirection_) {
        heldDirection_ = direction;
        heldSince_ = now;
    }
    if (direction != 0) {
        const double rise =
            std::min(1.0, static_cast<double>(now - heldSince_) / static_cast<double>(kRiseMicros));
        return direction * (byPad ? settings.padSpeed : settings.keySpeed) * (1 + 2 * rise);
    }
    const double deadZone = settings.stickDeadZone / 100.0;
    const double beyond = std::abs(stick) - deadZone;
    if (beyond <= 0) {
        return 0;
    }
    return std::copysign(std::min(1.0, beyond / (1 - deadZone)) * settings.stickSpeed, stick);
}

void Controls::StickKeys(std::uint64_t now, std::deque<InputEvent>& queue) {
    WPARAM key = 0;
    for (SDL_GameController* pad : pads_) {
        const double x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX) / kStickTravel;
        const double y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY) / kStickTravel;
        if (std::max(std::abs(x), std::abs(y)) >= kStickStep) {
            key = std::abs(y) > std::abs(x) ? (y < 0 ? VK_UP : VK_DOWN)
                                            : (x < 0 ? VK_LEFT : VK_RIGHT);
            break;
        }
    }
    if (key != stickKey_) {
        stickKey_ = key;
        stickRepeat_ = now + kStickFirstRepeatMicros;
    } else if (key != 0 && now >= stickRepeat_) {
        stickRepeat_ = now + kStickRepeatMicros;
    } else {
        return;
    }
    if (key != 0) {
        QueueKey(key, queue);
    }
}

void Controls::Step(std::deque<InputEvent>& queue) {
    const std::uint64_t now = NowMicros();
    if (!System().gameInPlay) {
        lastStep_ = 0;
        carried_ = 0;
        heldDirection_ = 0;
        StickKeys(now, queue);
        return;
    }
    stickKey_ = 0;
    const std::uint64_t elapsed =
        lastStep_ != 0 ? std::min(now - lastStep_, kLongestStepMicros) : 0;
    lastStep_ = now;
    carried_ += Speed(now) * static_cast<double>(elapsed) / 1'000'000.0;
    const int move = static_cast<int>(carried_);
    carried_ -= move;
    if (move != 0) {
        InputEvent event = Mouse(InputEvent::Kind::MouseMove);
        event.dx = move;
        queue.push_back(event);
    }
}

}  // namespace platform
