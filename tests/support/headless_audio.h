// The headless audio device: silent and exact, its time the harness's manual clock.
//
// It mixes 16-bit stereo at 48000 frames a second, and mixes nothing: the frames it has mixed
// are the clock's time since it opened, so a sound's play position moves exactly as the test
// moves the clock. A channel plays until its samples' time has passed; music plays for the MIDI
// file's length (the longest track's ticks at the file's tempo changes), or for ever when
// looping. Conversion takes each device frame from the source frame at the same time, without
// filtering.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/audio.h"
#include "platform/api/services.h"

namespace platform {

class HeadlessAudio : public AudioDevice {
  public:
    static constexpr Format kFormat{16, 2, 48000};

    explicit HeadlessAudio(Clock& clock) : clock_(clock) {}

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
    std::vector<std::uint8_t> Convert(const Format& format, const std::uint8_t* samples,
                                      std::size_t bytes) override;

    bool PlaysMidi() override { return true; }
    std::unique_ptr<Music> LoadMidi(std::vector<std::uint8_t> midi) override;
    bool PlayMusic(Music& music, bool looping) override;
    void HaltMusic() override { musicPlaying_ = false; }
    bool MusicPlaying() override;
    void SetMusicVolume(double volume) override { musicVolume_ = volume; }

    // ---- What a test reads.
    double MusicVolume() const { return musicVolume_; }
    // What the device puts out over the next frames from now: the channels playing, each at its
    // volume, added up, 16-bit stereo.
    std::vector<std::int16_t> Mix(std::uint64_t frames) const;

  private:
    struct Voice {
        bool allocated = false;
        bool playing = false;
        std::uint64_t start = 0;  // the mixed frame it started at
        std::uint64_t frames = 0;
        const std::int16_t* samples = nullptr;
        double volume = 1.0;
    };

    Clock& clock_;
    int users_ = 0;
    std::uint64_t openedMicros_ = 0;
    std::vector<Voice> voices_;
    bool musicPlaying_ = false;
    bool musicLooping_ = false;
    std::uint64_t musicStartMicros_ = 0;
    std::uint64_t musicMicros_ = 0;
    double musicVolume_ = 1.0;
};

// The playing time of a standard MIDI file, in microseconds: the longest track's ticks, timed
// by the tempo changes of every track (120 beats a minute until the first) or by the SMPTE
// division. What cannot be read counts as ending where it stops.
std::uint64_t MidiMicros(const std::vector<std::uint8_t>& midi);

}  // namespace platform
