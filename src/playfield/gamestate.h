// The game states: which handler runs and what the keys and clicks do.
#pragma once

#include <cstdint>

enum TGameState : std::int32_t {
    gsQuit = -1,
    gsTitle = 0,
    gsPlaying = 1,
    gsLosingLife = 2,
    gsPaused = 4,
    gsLevelStart = 5,
    gsGameOver = 6,
    gsHallOfFame = 7,
    gsNameEntry = 8,
    gsScoring = 9,
    gsSelectPack = 11,
    gsAbout = 12,
    gsOptions = 13,  // the Options screen, from the title
};

// The states served by the play handler.
constexpr bool IsInPlay(TGameState state) {
    return state == gsPlaying || state == gsLosingLife || state == gsPaused ||
           state == gsLevelStart || state == gsGameOver;
}
