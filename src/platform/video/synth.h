// The music of a video: standard MIDI files played by FluidSynth on the video's own clock, each
// sample made when the video asks for it. Internal to the platform layer.
#pragma once

#include <fluidsynth/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class MidiSynth {
  public:
    // A synthesizer at the rate with the soundfont the game's music uses. Without one, tunes
    // play for their time in silence, as one line on standard error says.
    explicit MidiSynth(int rate);
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // Plays the file from its start, once or over and over, in place of what played; false
    // when it cannot be read.
    bool Play(const std::vector<std::uint8_t>& midi, bool looping);
    void Halt();
    // Whether a tune plays: from Play until halted or, played once, to its end as rendered.
    bool Playing() const;
    // From 0 (silence) to 1 (the game's full music volume).
    void SetVolume(double volume);
    // Adds the next frames of the music to the stereo samples, interleaved.
    void Render(float* stereo, int frames);

  private:
    void Start();
    // Says that the music is silent, and reads no soundfont.
    void SaySilent();

    int rate_;
    std::string font_;  // empty: none to read
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    double volume_ = 1.0;
    std::vector<float> left_;
    std::vector<float> right_;
};

}  // namespace platform
