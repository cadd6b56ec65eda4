// The audio device of a video: voices and music mixed as the record's clock moves on.
#include "platform/video/video_audio.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/session/recording.h"

namespace platform {

namespace {

constexpr std::uint64_t kMicrosPerSecond = 1'000'000;
constexpr std::uint64_t kMixFrames = 4096;  // mixed at a time

class VideoMusic : public Music {
  public:
    explicit VideoMusic(std::vector<std::uint8_t> midi) : midi_(std::move(midi)) {}
    const std::vector<std::uint8_t>& Midi() const { return midi_; }

  private:
    std::vector<std::uint8_t> midi_;
};

// A sample of the source as a number from -32768 to 32767.
double SampleAt(const AudioDevice::Format& format, const std::uint8_t* frame, int channel) {
    const int from = std::min(channel, format.channels - 1);
    if (format.bits == 8) {
        return (frame[from] - 128) * 256.0;
    }
    return static_cast<std::int16_t>(frame[2 * from] | frame[2 * from + 1] << 8);
}

}  // namespace

VideoAudio::VideoAudio() : synth_(kFormat.rate) {}

std::uint64_t VideoAudio::ReplayNow() {
    return ReplayMicros();
}

std::uint64_t VideoAudio::FrameAt(std::uint64_t micros) {
    return micros * static_cast<std::uint64_t>(kFormat.rate) / kMicrosPerSecond;
}

void VideoAudio::Acquire() {
    if (users_++ == 0) {
        MixUntilNow();
        opened_ = mixed_;
    }
}

void VideoAudio::Release() {
    if (users_ == 0 || --users_ > 0) {
        return;
    }
    MixUntilNow();
    voices_.clear();
    synth_.Halt();
}

VideoAudio::Voice* VideoAudio::Find(int channel) {
    if (channel < 0 || channel >= static_cast<int>(voices_.size()) ||
        !voices_[static_cast<std::size_t>(channel)].allocated) {
        return nullptr;
    }
    return &voices_[static_cast<std::size_t>(channel)];
}

int VideoAudio::AllocateChannel() {
    return AllocateVoice(voices_);
}

void VideoAudio::FreeChannel(int channel) {
    if (Voice* voice = Find(channel)) {
        MixUntilNow();
        *voice = Voice{};
    }
}

bool VideoAudio::Play(int channel, const std::uint8_t* samples, std::size_t bytes, double volume) {
    Voice* voice = Find(channel);
    if (voice == nullptr) {
        return false;
    }
    MixUntilNow();
    voice->playing = true;
    voice->volume = static_cast<float>(volume);
    voice->samples = reinterpret_cast<const std::int16_t*>(samples);
    voice->frames = bytes / static_cast<std::size_t>(kFormat.FrameBytes());
    voice->start = mixed_;
    return true;
}

void VideoAudio::Halt(int channel) {
    if (Voice* voice = Find(channel)) {
        MixUntilNow();
        voice->playing = false;
    }
}

bool VideoAudio::Playing(int channel) {
    MixUntilNow();
    const Voice* voice = Find(channel);
    return voice != nullptr && voice->playing;
}

std::uint64_t VideoAudio::MixedFrames() const {
    return Open() ? std::max(FrameAt(ReplayNow()), opened_) - opened_ : 0;
}

std::vector<std::uint8_t> VideoAudio::Convert(const Format& format, const std::uint8_t* samples,
                                              std::size_t bytes) {
    std::vector<std::uint8_t> converted;
    if ((format.bits != 8 && format.bits != 16) || format.channels < 1 || format.rate <= 0) {
        return converted;
    }
    const auto frameBytes = static_cast<std::size_t>(format.FrameBytes());
    const std::size_t sourceFrames = bytes / frameBytes;
    if (sourceFrames == 0) {
        return converted;
    }
    const double step = static_cast<double>(format.rate) / kFormat.rate;
    const auto frames = static_cast<std::size_t>(static_cast<double>(sourceFrames) / step);
    converted.reserve(frames * static_cast<std::size_t>(kFormat.FrameBytes()));
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const double at = static_cast<double>(frame) * step;
        const auto before = std::min(static_cast<std::size_t>(at), sourceFrames - 1);
        const std::size_t after = std::min(before + 1, sourceFrames - 1);
        const double share = at - static_cast<double>(before);
        for (int channel = 0; channel < kFormat.channels; ++channel) {
            const double value =
                SampleAt(format, samples + before * frameBytes, channel) * (1.0 - share) +
                SampleAt(format, samples + after * frameBytes, channel) * share;
            const auto sample = static_cast<std::uint16_t>(
                static_cast<std::int16_t>(std::clamp(std::lround(value), -32768L, 32767L)));
            converted.push_back(static_cast<std::uint8_t>(sample & 0xFF));
            converted.push_back(static_cast<std::uint8_t>(sample >> 8));
        }
    }
    return converted;
}

std::unique_ptr<Music> VideoAudio::LoadMidi(std::vector<std::uint8_t> midi) {
    return std::make_unique<VideoMusic>(std::move(midi));
}

bool VideoAudio::PlayMusic(Music& music, bool looping) {
    MixUntilNow();
    return synth_.Play(static_cast<VideoMusic&>(music).Midi(), looping);
}

void VideoAudio::HaltMusic() {
    MixUntilNow();
    synth_.Halt();
}

bool VideoAudio::MusicPlaying() {
    MixUntilNow();
    return synth_.Playing();
}

void VideoAudio::SetMusicVolume(double volume) {
    MixUntilNow();
    synth_.SetVolume(volume);
}

void VideoAudio::MixUntil(std::uint64_t frame) {
    while (mixed_ < frame) {
        const std::uint64_t count = std::min(frame - mixed_, kMixFrames);
        mix_.assign(count * kFormat.channels, 0.0f);
        synth_.Render(mix_.data(), static_cast<int>(count));
        for (auto& sample : mix_) {
            sample *= 32768.0f;
        }
        for (Voice& voice : voices_) {
            for (std::uint64_t i = 0; voice.playing && i < count; ++i) {
                const std::uint64_t at = mixed_ + i - voice.start;
                if (at >= voice.frames) {
                    voice.playing = false;
                    break;
                }
                mix_[2 * i] += voice.samples[2 * at] * voice.volume;
                mix_[2 * i + 1] += voice.samples[2 * at + 1] * voice.volume;
            }
        }
        for (const float sample : mix_) {
            taken_.push_back(static_cast<std::int16_t>(std::clamp(sample, -32768.0f, 32767.0f)));
        }
        mixed_ += count;
    }
}

std::vector<std::int16_t> VideoAudio::TakeUntil(std::uint64_t micros) {
    MixUntil(FrameAt(micros));
    return std::exchange(taken_, {});
}

}  // namespace platform
