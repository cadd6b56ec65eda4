// The runtime's pseudo-random generator: one linear congruential sequence for the whole game.
#pragma once

#include <cstdint>

namespace platform {

// seed = seed * 22695477 + 1 (mod 2^32); each draw is (seed >> 16) & 32767.
void SeedRandom(std::uint32_t seed);
int Random();
// The generator's state: the seed of the next draw.
std::uint32_t RandomState();

}  // namespace platform
