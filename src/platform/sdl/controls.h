// The controls besides the mouse: game controllers, the keyboard's arrow keys and touch, turned
// into what the game already takes from a mouse player: motion of the virtual cursor (which the
// paddle follows), the mouse button, and the keys and characters of its screens. The game learns
// only whether a game controller gave the last press, so that its prompts can name the
// controller's button; a record holds what it took, as for the mouse.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/api/services.h"

namespace platform {

// Queues a key press as the keyboard gives it: the key, and the character of the keys that type
// one (Backspace, Enter, Esc).
void QueueKey(WPARAM virtualKey, std::deque<InputEvent>& queue);

class Controls {
  public:
    Controls() = default;
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // Opens the game controllers unless the settings turn them off; once, at the first input.
    void Start();
    // Takes an event of the controls' devices and queues what it means; false leaves the event
    // to the window system's own translation.
    bool Take(const SDL_Event& event, std::deque<InputEvent>& queue);
    // While a game is in play, moves the cursor by what the sticks, d-pads and arrow keys hold,
    // for the time since the last call.
    void Step(std::deque<InputEvent>& queue);
    // Closes every game controller and forgets what is held.
    void Reset();

  private:
    void Button(SDL_GameControllerButton button, bool down, std::deque<InputEvent>& queue);
    void Finger(const SDL_TouchFingerEvent& finger, Uint32 type, std::deque<InputEvent>& queue);
    // The speed the paddle is driven at, in pixels a second; negative to the left.
    double Speed(std::uint64_t now);

    bool started_ = false;
    std::vector<SDL_GameController*> pads_;
    bool leftKey_ = false;
    bool rightKey_ = false;
    int heldDirection_ = 0;        // of the d-pads and keys: -1, 0 or 1
    std::uint64_t heldSince_ = 0;  // when that direction was first held
    std::uint64_t lastStep_ = 0;   // 0: no step yet
    double carried_ = 0;           // the part of a pixel not moved yet
    std::int64_t finger_ = -1;     // the finger that acts as the mouse; -1: none
};

}  // namespace platform
