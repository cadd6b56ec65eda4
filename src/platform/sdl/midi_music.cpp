// MIDI music through SDL2_mixer's FluidSynth decoder and the soundfont found at start.
#include "platform/sdl/midi_music.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/sdl/sound_font.h"

namespace platform {

namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

bool IsSoundFont(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char head[12] = {};
    file.read(head, sizeof head);
    return file && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "sfbk", 4) == 0;
}

}  // namespace

bool MidiSourceFound() {
    return IsSoundFont(SoundFontPath());
}

bool MidiDecoderReady() {
    return (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0 &&
           Mix_HasMusicDecoder("FLUIDSYNTH") == SDL_TRUE;
}

Mix_Music* OpenMidiStream(const std::vector<std::uint8_t>& midi) {
    Mix_SetSoundFonts(SoundFontPath().c_str());
    return Mix_LoadMUSType_RW(SDL_RWFromConstMem(midi.data(), static_cast<int>(midi.size())),
                              MUS_MID, 1);
}

std::string SoundFontPath() {
    const char* fonts = std::getenv("SDL_SOUNDFONTS");
    if (fonts == nullptr || *fonts == 0) {
        return kDefaultSoundFont;
    }
    const std::string list(fonts);
    return list.substr(0, list.find(';'));
}

}  // namespace platform
