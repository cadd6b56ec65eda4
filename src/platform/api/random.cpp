// The runtime's linear congruential generator.
#include "platform/api/random.h"

#include "platform/session/session.h"

namespace {
std::uint32_t g_seed = 1;
}

void platform::SeedRandom(std::uint32_t seed) {
    g_seed = platform::SessionSeed(seed);
}

std::uint32_t platform::RandomState() {
    return g_seed;
}

int platform::Random() {
    g_seed = g_seed * 22695477u + 1u;
    return static_cast<int>((g_seed >> 16) & 32767u);
}
