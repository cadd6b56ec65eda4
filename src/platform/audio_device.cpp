// The shared audio device over SDL2_mixer, with its silent stand-in and its mixer channels.
#include "platform/audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

namespace platform {

namespace {

constexpr int kFallbackRate = 44100;
constexpr int kChunkFrames = 1024;  // about 20 ms at the usual rates
constexpr int kChannelGrowth = 16;

std::atomic<std::uint64_t> g_mixedBytes{0};

void CountMixed(void*, Uint8*, int bytes) {
    g_mixedBytes.fetch_add(static_cast<std::uint64_t>(bytes), std::memory_order_relaxed);
}

// Opens SDL2_mixer on the current audio driver at the default device's own rate.
bool OpenMixer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec preferred{};
    const int rate = SDL_GetDefaultAudioInfo(nullptr, &preferred, 0) == 0 && preferred.freq > 0
                         ? preferred.freq
                         : kFallbackRate;
    if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, 2, kChunkFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

}  // namespace

int AudioDevice::Format::FrameBytes() const {
    return std::max(1, channels * static_cast<int>(SDL_AUDIO_BITSIZE(sdlFormat)) / 8);
}

AudioDevice& AudioDevice::Get() {
    static AudioDevice device;
    return device;
}

void AudioDevice::Acquire() {
    if (users_++ == 0 && !OpenDevice()) {
        users_ = 0;
    }
}

void AudioDevice::Release() {
    if (users_ == 0 || --users_ > 0) {
        return;
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    format_ = Format{};
    channels_ = 0;
    freeChannels_.clear();
}

bool AudioDevice::OpenDevice() {
    if (!OpenMixer()) {
        // A machine without sound still plays: SDL's dummy driver consumes the mix in silence.
        static bool told = false;
        if (!told) {
            told = true;
            std::fprintf(stderr, "No sound device could be opened (%s); playing in silence\n",
                         SDL_GetError());
        }
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!OpenMixer()) {
            return false;
        }
    }
    int rate = 0;
    Uint16 sdlFormat = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &sdlFormat, &channels);
    format_ = Format{sdlFormat, channels, rate};
    channels_ = Mix_AllocateChannels(-1);
    freeChannels_.clear();
    for (int channel = channels_ - 1; channel >= 0; --channel) {
        freeChannels_.push_back(channel);
    }
    g_mixedBytes.store(0);
    Mix_SetPostMix(CountMixed, nullptr);
    return true;
}

int AudioDevice::AllocateChannel() {
    if (freeChannels_.empty()) {
        const int grown = Mix_AllocateChannels(channels_ + kChannelGrowth);
        for (int channel = grown - 1; channel >= channels_; --channel) {
            freeChannels_.push_back(channel);
        }
        channels_ = grown;
    }
    if (freeChannels_.empty()) {
        return -1;
    }
    const int channel = freeChannels_.back();
    freeChannels_.pop_back();
    return channel;
}

void AudioDevice::FreeChannel(int channel) {
    if (channel < 0 || channel >= channels_) {
        return;
    }
    Mix_HaltChannel(channel);
    freeChannels_.push_back(channel);
}

std::uint64_t AudioDevice::MixedFrames() const {
    return g_mixedBytes.load(std::memory_order_relaxed) /
           static_cast<std::uint64_t>(format_.FrameBytes());
}

}  // namespace platform
