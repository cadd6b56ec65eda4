// THighScore and the 24-place Hall of Fame table, shown by the screens and kept by the game.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct THighScore {
    std::int32_t Score = 0;
    std::string Name;
};

inline constexpr int kHallOfFameSize = 24;
using THallOfFame = std::array<THighScore, kHallOfFameSize>;
