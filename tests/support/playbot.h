// A test bot that plays through the headless harness as a player would: it moves the mouse (or
// a game controller's stick) to put the paddle under the ball that will land first, and holds
// the button down to launch.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "game/znform.h"
#include "support/harness.h"

class PlayBot {
  public:
    PlayBot(platform::Harness& harness, unsigned seed);

    // The bot's turn at one pass of the message pump: queue input.
    void OnPass(TKestovForm& form);

    bool steering = true;   // false: the mouse is never moved, only the button is used
    bool dodging = true;    // false: bombs and falling gulls are not stepped away from
    bool shooting = false;  // hold the button down while the shotgun is held
    // What it plays with: the mouse, or a game controller's stick and south button.
    enum class Hands { Mouse, Pad };
    Hands hands = Hands::Mouse;
    int pad = 0;  // the harness's game controller, for Hands::Pad

  private:
    // The paddle position (its left edge) the bot wants now.
    int TargetX();
    // True when a bomb or a falling gull is about to reach the paddle at x.
    bool Threatened(int x) const;
    int SafeNear(int wanted, int low, int high) const;
    void Launch();
    void Steer();
    void Hold(bool down);

    TKestovForm* form_ = nullptr;
    platform::Harness& harness_;
    std::mt19937 random_;
    int aim_ = 0;  // where on the paddle the next ball should land, from its centre

    bool down_ = false;  // the button is held
    int holding_ = 0;    // passes it stays down at least
};
