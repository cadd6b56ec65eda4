// Music in the browser, where there is no synthesizer: the build renders each shipped tune to
// Ogg Vorbis, named by the fingerprint of the tune's bytes, and the mixer's own decoder plays it.
// A tune the build did not render stays silent.
#include <cstdio>
#include <string>

#include "platform/sdl/midi_music.h"

namespace platform {

namespace {

constexpr const char* kRenderedTunes = "/zintrel/tunes";

// FNV-1a of the bytes, as 16 hex digits: the name the build gave the tune's rendering.
std::string Fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

bool MidiSourceFound() {
    return true;
}

bool MidiDecoderReady() {
    return (Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) != 0 && Mix_HasMusicDecoder("OGG") == SDL_TRUE;
}

Mix_Music* OpenMidiStream(const std::vector<std::uint8_t>& midi) {
    const std::string path = std::string(kRenderedTunes) + "/" + Fingerprint(midi) + ".ogg";
    return Mix_LoadMUS(path.c_str());
}

}  // namespace platform
