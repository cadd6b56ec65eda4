// The audio device of a video: the sounds and the music mixed in software on the replay's
// record clock, 16-bit stereo at 48000 frames a second, the same on every run and on a machine
// without sound. Internal to the platform layer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/api/audio.h"
#include "platform/video/synth.h"

namespace platform {

class VideoAudio : public AudioDevice {
  public:
    static constexpr Format kFormat{16, 2, 48000};

    VideoAudio();

    void Acquire() override;
    void Release() override;
    bool Open() const override { return users_ > 0; }
    Format DeviceFormat() const override { return Open() ? kFormat : Format{}; }

    int AllocateChannel() override;
    void FreeChannel(int channel) override;
    bool Play(int channel, const std::uint8_t* samples, std::size_t bytes, double volume) override;
    void Halt(int channel) override;
    bool Playing(int channel) override;
    std::uint64_t MixedFrames() const override;
    // Each device frame from the source frames on either side of its time, in proportion.
    std::vector<std::uint8_t> Convert(const Format& format, const std::uint8_t* samples,
                                      std::size_t bytes) override;

    bool PlaysMidi() override { return true; }
    std::unique_ptr<Music> LoadMidi(std::vector<std::uint8_t> midi) override;
    bool PlayMusic(Music& music, bool looping) override;
    void HaltMusic() override;
    bool MusicPlaying() override;
    void SetMusicVolume(double volume) override;

    // Mixes up to the time on the record's clock, in microseconds, and gives what was mixed
    // since the last call: stereo frames, their samples interleaved.
    std::vector<std::int16_t> TakeUntil(std::uint64_t micros);

  private:
    struct Voice {
        bool allocated = false;
        bool playing = false;
        float volume = 1;
        const std::int16_t* samples = nullptr;
        std::uint64_t frames = 0;
        std::uint64_t start = 0;  // the frame of the record it started at
    };

    // Mixes up to now, before what plays changes or is asked about.
    void MixUntilNow() { MixUntil(FrameAt(ReplayNow())); }
    void MixUntil(std::uint64_t frame);
    static std::uint64_t ReplayNow();
    static std::uint64_t FrameAt(std::uint64_t micros);
    Voice* Find(int channel);

    int users_ = 0;
    std::uint64_t opened_ = 0;  // the frame of the record the device opened at
    std::uint64_t mixed_ = 0;   // the frames of the record mixed
    std::vector<Voice> voices_;
    MidiSynth synth_;
    std::vector<float> mix_;
    std::vector<std::int16_t> taken_;
};

}  // namespace platform
