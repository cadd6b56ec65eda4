// Choosing the game generator's next draws: a test seeds it so that the rule under test meets
// the draw the case needs.
#pragma once

#include <cstdint>

#include "platform/api/random.h"

// Seeds the game's generator with the first seed whose draws satisfy `wanted`, which takes them
// with platform::Random() and says whether they are the ones a case needs.
template <typename Wanted>
void SeedFor(Wanted wanted) {
    for (std::uint32_t seed = 1;; ++seed) {
        platform::SeedRandom(seed);
        if (wanted()) {
            platform::SeedRandom(seed);
            return;
        }
    }
}

// Seeds the game's generator so that its next draw, taken modulo `modulus`, is `wanted`.
inline void SeedForDraw(int modulus, int wanted) {
    SeedFor([&] { return platform::Random() % modulus == wanted; });
}
