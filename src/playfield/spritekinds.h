// The states kept in a sprite's Kind: what the paddle, a ball, a gull, the Bazzle, a shot, the
// umbrella burst and the cannon are doing, and the power an egg carries.
#pragma once

#include <cstdint>

// The paddle.
inline constexpr std::int32_t PaddleAlive = 0;
inline constexpr std::int32_t PaddleExploding = 1;  // on ExplosionSheet, its frames running
inline constexpr std::int32_t PaddleGone = 2;       // explosion over; waits for the next life

// A ball's glue state.
inline constexpr std::int32_t BallFree = 0;
inline constexpr std::int32_t BallGlued = 1;     // rides on the paddle; X relative to the paddle
inline constexpr std::int32_t BallReleased = 2;  // freed from the glue; moves as a free ball

// A gull.
inline constexpr std::int32_t GullFlying = 0;
inline constexpr std::int32_t GullFalling = 1;   // struck, falling; can still hit the paddle
inline constexpr std::int32_t GullDead = 2;      // gone for the rest of the level
inline constexpr std::int32_t AGullFlying = 3;   // needs three strikes
inline constexpr std::int32_t BAGullFlying = 4;  // an AGull struck once
inline constexpr std::int32_t GullExploding = 5;

// The single sprites of the sky and the paddle's extras.
inline constexpr std::int32_t BazzlePresent = 0;
inline constexpr std::int32_t BazzleAbsent = 2;  // the Bazzle is out of the sky
inline constexpr std::int32_t ShotFlying = 0;
inline constexpr std::int32_t ShotIdle = 2;   // the shot waits in its barrel
inline constexpr std::int32_t BurstIdle = 2;  // no umbrella burst is showing
inline constexpr std::int32_t BurstPlaying = 5;
inline constexpr std::int32_t CannonPresent = 0;
inline constexpr std::int32_t CannonAbsent = 2;  // the cannon waits off screen

// The power of a bonus egg: its Kind, and its row on the egg sheet.
enum TPower : std::int32_t {
    pwSlower = 0,
    pwDoubler = 1,
    pwExtraPaddle = 2,
    pwGlue = 3,
    pwFaster = 4,
    pwShotgun = 5,
    pwTennisBall = 6,
    pwUmbrella = 7,
};
