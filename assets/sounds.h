// The fourteen sound effects, synthesised as 22050 Hz mono and stored as 8-bit PCM waves.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "image.h"

namespace bake {

inline constexpr int kSampleRate = 22050;

using Samples = std::vector<float>;

struct Sound {
    std::string name;  // the resource name, "BallBounce", ...
    std::function<Samples()> make;
};

// The sounds in the game's order.
const std::vector<Sound>& Sounds();

// A RIFF WAVE file: PCM, one channel, 22050 samples per second, 8 bits.
Bytes EncodeWave(const Samples& samples);

}  // namespace bake
