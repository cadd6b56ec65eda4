// A test bot that plays through the headless harness as a player would: it moves the mouse (or
// a game controller's stick, the arrow keys, a finger) to put the paddle under the ball that
// will land first, holds the button down to launch, and keeps a referee's tally of what
// happened on the field.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "game/znform.h"
#include "support/harness.h"

class PlayBot {
  public:
    // What the bot saw happen, counted from the field's changes.
    struct Tally {
        int strikes = 0;  // strikes on gulls that score (balls and shots)
        int eggsCaught = 0;
        int bazzleStrikes = 0;
        int bazzleStrikesByBall = 0;  // the rest were by shots
        std::set<std::int32_t> powersCaught;
        int cannonShots = 0;
        int livesLost = 0;
        // How lives were lost: by a bomb, a falling gull or the last ball missed.
        int livesLostByBomb = 0;
        int livesLostByGull = 0;
        int livesLostByLastBall = 0;
        int umbrellasUsed = 0;
        int levelsStarted = 0;
        std::set<TGameState> statesSeen;
        bool levelPastLast = false;  // a level of random values past the set's last

        // The points these events are worth.
        int Points() const { return strikes * 25 + eggsCaught * 50 + bazzleStrikes * 100; }
    };

    PlayBot(platform::Harness& harness, unsigned seed);

    // The bot's turn at one pass of the message pump: watch the game, then queue input.
    void OnPass(TKestovForm& form);

    bool playing = true;    // false: only the referee's tally is kept; no input at all
    bool steering = true;   // false: the mouse is never moved, only the button is used
    bool dodging = true;    // false: bombs and falling gulls are not stepped away from
    bool shooting = false;  // hold the button down while the shotgun is held
    // What it plays with: the mouse; a game controller's stick and south button; the arrow
    // keys and Space; or a finger, kept down in play.
    enum class Hands { Mouse, Pad, Keys, Finger };
    Hands hands = Hands::Mouse;
    int pad = 0;  // the harness's game controller, for Hands::Pad
    Tally tally;

  private:
    // The paddle position (its left edge) the bot wants now.
    int TargetX();
    // True when a bomb or a falling gull is about to reach the paddle at x.
    bool Threatened(int x) const;
    int SafeNear(int wanted, int low, int high) const;
    void Referee();
    void Remember();
    void Launch();
    void Steer();
    void Hold(bool down);
    void HoldKey(int direction);

    TKestovForm* form_ = nullptr;
    platform::Harness& harness_;
    std::mt19937 random_;
    int aim_ = 0;  // where on the paddle the next ball should land, from its centre

    // The field as it was at the previous pass.
    bool watching_ = false;
    std::int32_t level_ = 0;
    std::int32_t lives_ = 0;
    std::int32_t umbrellas_ = 0;
    std::int32_t step_ = 0;
    TGameState state_ = gsTitle;
    std::vector<std::int32_t> gulls_;
    std::int32_t bazzle_ = 0;
    double cannonDX_ = 0;
    bool down_ = false;  // the button is held
    int keyHeld_ = 0;    // the arrow key held: -1 left, 1 right, 0 none
    int holding_ = 0;    // passes it stays down at least
};
