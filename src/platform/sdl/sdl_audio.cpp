// The audio device over SDL2_mixer: its silent stand-in, its mixer channels, SDL's conversion and
// the music stream.
#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>

#include "platform/sdl/midi_music.h"

namespace platform {

namespace {

constexpr int kFallbackRate = 44100;
constexpr int kChunkFrames = 1024;  // about 20 ms at the usual rates
constexpr int kChannelGrowth = 16;

// The mixer's music volume at the stream's full volume. The synthesizer at the mixer's full
// volume is as loud as the loudest effects and peaks at full scale on its own; three quarters
// of it leaves the music a little below the effects, which play at the mixer's full volume.
constexpr int kMusicFullVolume = MIX_MAX_VOLUME * 3 / 4;

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

// The stream reads the file's bytes while it lives.
class SdlMusic : public Music {
  public:
    explicit SdlMusic(std::vector<std::uint8_t> midi) : midi_(std::move(midi)) {
        music_ = OpenMidiStream(midi_);
    }
    ~SdlMusic() override {
        if (music_ != nullptr) {
            Mix_FreeMusic(music_);
        }
    }
    SdlMusic(const SdlMusic&) = delete;
    SdlMusic& operator=(const SdlMusic&) = delete;
    Mix_Music* Stream() const { return music_; }

  private:
    std::vector<std::uint8_t> midi_;
    Mix_Music* music_ = nullptr;
};

class SdlAudioDevice : public AudioDevice {
  public:
    void Acquire() override {
        if (users_++ == 0 && !OpenDevice()) {
            users_ = 0;
        }
    }

    void Release() override {
        if (users_ == 0 || --users_ > 0) {
            return;
        }
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        format_ = Format{};
        sdlFormat_ = 0;
        channels_ = 0;
        freeChannels_.clear();
        chunks_.clear();
    }

    bool Open() const override { return users_ > 0; }
    Format DeviceFormat() const override { return format_; }

    int AllocateChannel() override {
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

    void FreeChannel(int channel) override {
        if (channel < 0 || channel >= channels_) {
            return;
        }
        Mix_HaltChannel(channel);
        chunks_.erase(channel);
        freeChannels_.push_back(channel);
    }

    bool Play(int channel, const std::uint8_t* samples, std::size_t bytes, double volume) override {
        // The mixer only reads a chunk's samples.
        Mix_Chunk& chunk = chunks_[channel];
        const auto level =
            static_cast<Uint8>(std::lround(MIX_MAX_VOLUME * std::clamp(volume, 0.0, 1.0)));
        chunk = Mix_Chunk{0, const_cast<Uint8*>(samples), static_cast<Uint32>(bytes), level};
        return Mix_PlayChannel(channel, &chunk, 0) >= 0;
    }

    void Halt(int channel) override { Mix_HaltChannel(channel); }
    bool Playing(int channel) override { return Mix_Playing(channel) != 0; }

    std::uint64_t MixedFrames() const override {
        return g_mixedBytes.load(std::memory_order_relaxed) /
               static_cast<std::uint64_t>(format_.FrameBytes());
    }

    std::vector<std::uint8_t> Convert(const Format& format, const std::uint8_t* samples,
                                      std::size_t bytes) override {
        std::vector<std::uint8_t> converted;
        SDL_AudioStream* stream = SDL_NewAudioStream(
            format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(format.channels),
            format.rate, sdlFormat_, static_cast<Uint8>(format_.channels), format_.rate);
        if (stream == nullptr) {
            return converted;
        }
        SDL_AudioStreamPut(stream, samples, static_cast<int>(bytes));
        SDL_AudioStreamFlush(stream);
        converted.resize(static_cast<std::size_t>(std::max(SDL_AudioStreamAvailable(stream), 0)));
        SDL_AudioStreamGet(stream, converted.data(), static_cast<int>(converted.size()));
        SDL_FreeAudioStream(stream);
        return converted;
    }

    bool PlaysMidi() override {
        if (!MidiSourceFound()) {
            return false;
        }
        Acquire();
        const bool plays = Open() && MidiDecoderReady();
        Release();
        return plays;
    }

    std::unique_ptr<Music> LoadMidi(std::vector<std::uint8_t> midi) override {
        auto music = std::make_unique<SdlMusic>(std::move(midi));
        if (music->Stream() == nullptr) {
            return nullptr;
        }
        return music;
    }

    bool PlayMusic(Music& music, bool looping) override {
        return Mix_PlayMusic(static_cast<SdlMusic&>(music).Stream(), looping ? -1 : 0) == 0;
    }

    void HaltMusic() override { Mix_HaltMusic(); }
    bool MusicPlaying() override { return Mix_PlayingMusic() != 0; }

    void SetMusicVolume(double volume) override {
        Mix_VolumeMusic(
            static_cast<int>(std::lround(kMusicFullVolume * std::clamp(volume, 0.0, 1.0))));
    }

  private:
    bool OpenDevice() {
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
        int channels = 0;
        Mix_QuerySpec(&rate, &sdlFormat_, &channels);
        format_ = Format{static_cast<int>(SDL_AUDIO_BITSIZE(sdlFormat_)), channels, rate};
        channels_ = Mix_AllocateChannels(-1);
        freeChannels_.clear();
        for (int channel = channels_ - 1; channel >= 0; --channel) {
            freeChannels_.push_back(channel);
        }
        g_mixedBytes.store(0);
        Mix_SetPostMix(CountMixed, nullptr);
        return true;
    }

    int users_ = 0;
    Format format_;
    Uint16 sdlFormat_ = 0;
    int channels_ = 0;
    std::vector<int> freeChannels_;
    std::map<int, Mix_Chunk> chunks_;  // what each channel plays: the samples from where it started
};

}  // namespace

AudioDevice& SdlAudio() {
    static SdlAudioDevice device;
    return device;
}

}  // namespace platform
