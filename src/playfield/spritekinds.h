// The states of the single sprites, kept in their Kind: what the Bazzle, the shots, the
// umbrella burst and the cannon are doing.
#pragma once

#include <cstdint>

inline constexpr std::int32_t BazzleAbsent = 2;  // the Bazzle is out of the sky
inline constexpr std::int32_t ShotIdle = 2;      // the shot waits in its barrel
inline constexpr std::int32_t BurstIdle = 2;     // no umbrella burst is showing
inline constexpr std::int32_t CannonAbsent = 2;  // the cannon waits off screen
