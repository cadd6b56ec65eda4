// The soundfont of the desktop's synthesizers: the game's music (midi_music.h) and a video's
// (the video room's synth.h). Internal to the platform layer.
#pragma once

#include <string>

namespace platform {

// The first path of SDL_SOUNDFONTS when it is set, else the system's default General MIDI
// soundfont.
std::string SoundFontPath();

}  // namespace platform
