// The sound card that the DirectSound and DirectMusic stand-ins play on, behind an interface:
// its opening by its users, its format, a channel for each sampled sound, the frames it has
// mixed, the conversion of samples for it, and its music stream. The program entry puts the real
// device over SDL in place; a test puts a headless one in place. Internal to the platform layer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// A standard MIDI file loaded for the music stream. Its user halts the stream before freeing
// the one it plays.
class Music {
  public:
    virtual ~Music() = default;
};

class AudioDevice {
  public:
    // A sample format: bits per sample, channels and frames per second. Samples of 8 bits are
    // unsigned, samples of 16 bits signed and little-endian; the channels' samples interleave.
    struct Format {
        int bits = 0;
        int channels = 0;
        int rate = 0;
        int FrameBytes() const { return std::max(1, channels * bits / 8); }
    };

    virtual ~AudioDevice() = default;

    // The first acquire opens the device at its own rate; when no sound card can be had, a
    // silent device takes its place. The last release closes it.
    virtual void Acquire() = 0;
    virtual void Release() = 0;
    virtual bool Open() const = 0;
    // The format the device mixes in; all zero while it is closed.
    virtual Format DeviceFormat() const = 0;

    // ---- Sampled sounds, each on a channel of its own; -1 when no channel can be had.
    virtual int AllocateChannel() = 0;
    // Halts the channel and gives it back.
    virtual void FreeChannel(int channel) = 0;
    // Plays samples in the device's format on the channel from their start, once, at a volume
    // from 0 (silence) to 1 (their own); they stay in place until the channel is halted or has
    // played them. False when the channel cannot play.
    virtual bool Play(int channel, const std::uint8_t* samples, std::size_t bytes,
                      double volume) = 0;
    virtual void Halt(int channel) = 0;
    // Whether the channel plays: from Play until halted or, played once, to its samples' end.
    virtual bool Playing(int channel) = 0;
    // The frames mixed since the device opened: the clock that play positions follow.
    virtual std::uint64_t MixedFrames() const = 0;
    // PCM samples of the format, converted to the device's format; empty when they cannot be.
    virtual std::vector<std::uint8_t> Convert(const Format& format, const std::uint8_t* samples,
                                              std::size_t bytes) = 0;

    // ---- The music stream: one standard MIDI file playing at a time.
    // Whether standard MIDI files can be played at all.
    virtual bool PlaysMidi() = 0;
    // A standard MIDI file's bytes made ready to play; null when they cannot be.
    virtual std::unique_ptr<Music> LoadMidi(std::vector<std::uint8_t> midi) = 0;
    // Plays the music from its start, once or over and over, in place of what the stream
    // played; false when it cannot.
    virtual bool PlayMusic(Music& music, bool looping) = 0;
    virtual void HaltMusic() = 0;
    // Whether the stream plays: from PlayMusic until halted or, played once, to the music's end.
    virtual bool MusicPlaying() = 0;
    // The stream's volume, from 0 (silence) to 1 (the device's full music volume).
    virtual void SetMusicVolume(double volume) = 0;
};

// The player's volumes, from 0 (silence) to 1, for the sounds played from now on and for the
// music at once. At music volume 0 no tune is synthesised: the tune under way goes on in
// silence as far as the game can tell, and sounds again from its start once the volume rises.
void SetPlayerVolumes(double effects, double music);

// A channel for a device that keeps its channels' voices in a list, each with its `allocated`
// flag: the first voice that is free, made afresh, or a new one at the end.
template <typename Voice>
int AllocateVoice(std::vector<Voice>& voices) {
    auto free = std::find_if(voices.begin(), voices.end(),
                             [](const Voice& voice) { return !voice.allocated; });
    if (free == voices.end()) {
        free = voices.insert(voices.end(), Voice{});
    }
    *free = Voice{};
    free->allocated = true;
    return static_cast<int>(free - voices.begin());
}

}  // namespace platform
