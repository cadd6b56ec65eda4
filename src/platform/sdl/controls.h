// The controls besides the mouse's button: game controllers, the keyboard's keys of play, touch
// and the mouse's motion at the player's sensitivity, turned into what the game already takes
// from a mouse player: motion of the virtual cursor (which the paddle follows), the mouse
// button, and the keys and characters of its screens. The game learns only which kind of device
// spoke last (WM_INPUTDEVICE), so that its prompts name that device's buttons; a record holds
// what it took, as for the mouse.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/api/options.h"
#include "platform/api/services.h"

namespace platform {

// Queues a key press as the keyboard gives it: the key, and the character of the keys that type
// one (Backspace, Enter, Esc).
void QueueKey(WPARAM virtualKey, std::deque<InputEvent>& queue);

// The kind of game controller last used; an Xbox-style pad until one speaks.
DeviceKind LastPadKind();
// The label of a game controller's button in the style of the kind of pad ("A" or "Cross").
std::string ButtonLabel(std::int32_t button, DeviceKind kind);

class Controls {
  public:
    Controls() = default;
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // Before each look at the input: opens the game controllers unless the settings turn them
    // off, and closes them when the settings do.
    void Start();
    // Takes an event of the controls' devices and queues what it means; false leaves the event
    // to the window system's own translation.
    bool Take(const SDL_Event& event, std::deque<InputEvent>& queue);
    // While a game is in play, moves the cursor by what the sticks, d-pads and keys of play
    // hold, for the time since the last call; on the screens, a stick pushed and held steps
    // as the arrow keys do.
    void Step(std::deque<InputEvent>& queue);
    // Closes every game controller and forgets what is held.
    void Reset();
    // The cursor's motion for the mouse's, at the player's sensitivity.
    std::pair<int, int> Motion(int dx, int dy);

  private:
    void Spoke(DeviceKind kind, std::deque<InputEvent>& queue);
    bool Key(const SDL_KeyboardEvent& key, std::deque<InputEvent>& queue);
    void Button(SDL_GameControllerButton button, bool down, std::deque<InputEvent>& queue);
    void Finger(const SDL_TouchFingerEvent& finger, Uint32 type, std::deque<InputEvent>& queue);
    // Opens the game controller of a device index, unless it is open.
    void OpenPad(int device);
    void ClosePads();
    // The speed the paddle is driven at, in pixels a second; negative to the left.
    double Speed(std::uint64_t now);
    // The arrow key a stick pushed on the screens stands for, repeated while held.
    void StickKeys(std::uint64_t now, std::deque<InputEvent>& queue);

    bool padsOpen_ = false;  // the game controller subsystem is up
    bool padsFailed_ = false;
    std::vector<SDL_GameController*> pads_;
    bool leftKey_ = false;
    bool rightKey_ = false;
    int heldDirection_ = 0;        // of the d-pads and keys: -1, 0 or 1
    std::uint64_t heldSince_ = 0;  // when that direction was first held
    std::uint64_t lastStep_ = 0;   // 0: no step yet
    double carried_ = 0;           // the part of a pixel not moved yet
    std::int64_t finger_ = -1;     // the finger that acts as the mouse; -1: none
    DeviceKind device_ = DeviceKind::Keys;
    double motionX_ = 0;  // the parts of a pixel of the mouse's motion not moved yet
    double motionY_ = 0;
    WPARAM stickKey_ = 0;            // the arrow key the stick stands for on the screens; 0: none
    std::uint64_t stickRepeat_ = 0;  // when it is pressed again
};

}  // namespace platform
