// The real audio device over SDL2_mixer. Internal to the platform layer.
#pragma once

#include "platform/api/audio.h"

namespace platform {

// The one audio device of the program: SDL2_mixer's, opened on the current audio driver at the
// default device's own rate. When no device can be opened, SDL's dummy driver takes its place in
// silence and one line on standard error says so, once. Sounds play on the mixer's channels,
// converted by SDL's audio streams; music plays on the mixer's music stream, from the stream
// that midi_music.h opens.
AudioDevice& SdlAudio();

}  // namespace platform
