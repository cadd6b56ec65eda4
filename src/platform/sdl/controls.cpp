// Game controllers, the arrow keys and touch, as the game's cursor, mouse button and keys.
#include "platform/sdl/controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl/display.h"

namespace platform {

namespace {

constexpr double kStickTravel = 32767.0;
// The d-pad's and the arrow keys' speed rises to three times its first while held this long.
constexpr std::uint64_t kRiseMicros = 500'000;
// A stall longer than this (a slow frame, the window dragged) moves the paddle no further.
constexpr std::uint64_t kLongestStepMicros = 100'000;

InputEvent Mouse(InputEvent::Kind kind) {
    InputEvent event;
    event.kind = kind;
    event.button = TMouseButton::mbLeft;
    return event;
}

bool Held(SDL_GameController* pad, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(pad, button) != 0;
}

}  // namespace

void QueueKey(WPARAM virtualKey, std::deque<InputEvent>& queue) {
    queue.push_back(MessageEvent(WM_KEYDOWN, virtualKey));
    // These keys also type their character, as the keyboard's do.
    if (virtualKey == VK_BACK || virtualKey == VK_RETURN || virtualKey == VK_ESCAPE) {
        queue.push_back(MessageEvent(WM_CHAR, virtualKey));
    }
}

Controls::~Controls() {
    Reset();
}

void Controls::Start() {
    if (started_) {
        return;
    }
    started_ = true;
    if (Display::Get().Controls().pads && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "zintrel: game controllers cannot be used: %s\n", SDL_GetError());
    }
}

void Controls::Reset() {
    for (SDL_GameController* pad : pads_) {
        SDL_GameControllerClose(pad);
    }
    pads_.clear();
    leftKey_ = rightKey_ = false;
    heldDirection_ = 0;
    lastStep_ = 0;
    carried_ = 0;
    finger_ = -1;
}

bool Controls::Take(const SDL_Event& event, std::deque<InputEvent>& queue) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (Display::Get().Controls().pads) {
                const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
                const bool known = std::any_of(pads_.begin(), pads_.end(), [id](auto* pad) {
                    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
                });
                if (SDL_GameController* pad =
                        known ? nullptr : SDL_GameControllerOpen(event.cdevice.which)) {
                    pads_.push_back(pad);
                }
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
            // The arrow keys drive the paddle while held, and still reach the game as keys.
            if (event.key.keysym.sym == SDLK_LEFT) {
                leftKey_ = event.type == SDL_KEYDOWN;
            } else if (event.key.keysym.sym == SDLK_RIGHT) {
                rightKey_ = event.type == SDL_KEYDOWN;
            }
            return false;
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

void Controls::Button(SDL_GameControllerButton button, bool down, std::deque<InputEvent>& queue) {
    Services& sys = System();
    sys.padInput = sys.padInput || down;
    // The south button is the mouse's: held in play, a click on the screens. Its release lets
    // the mouse button go wherever it was pressed.
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
            // Leaves the screens; in play it does nothing, so that a stray press ends no game.
            if (!sys.gameInPlay) {
                QueueKey(VK_ESCAPE, queue);
            }
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
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
        System().padInput = false;
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

void Controls::Step(std::deque<InputEvent>& queue) {
    const std::uint64_t now = NowMicros();
    if (!System().gameInPlay) {
        lastStep_ = 0;
        carried_ = 0;
        heldDirection_ = 0;
        return;
    }
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
