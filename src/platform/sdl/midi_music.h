// The music stream of a standard MIDI file: played through FluidSynth with a General MIDI
// soundfont on the desktop; in the browser, the shipped tunes as the build rendered them.
// Internal to the platform layer.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <vector>

namespace platform {

// Whether what the music needs beside the mixer is there; asked before the device opens.
bool MidiSourceFound();
// Whether the open mixer can play the music.
bool MidiDecoderReady();
// A stream playing the tune, reading the bytes while it lives; null when it cannot be played.
Mix_Music* OpenMidiStream(const std::vector<std::uint8_t>& midi);

}  // namespace platform
