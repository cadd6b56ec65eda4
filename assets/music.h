// The tunes: composed by rule from a key, a groove and a form, written as standard MIDI files.
#pragma once

#include <cstdint>
#include <string>

#include "image.h"

namespace bake {

enum class Groove { Calypso, Rock, Disco, Shuffle };

struct Tune {
    std::string file;
    int bpm;
    int tonic;  // MIDI note of the key's tonic, in the melody's octave
    bool minor;
    int lead, chords, bass;  // General MIDI programs
    Groove groove;
    std::uint32_t seed;
    std::string form;  // 8-bar sections A, B, C in order; an intro and an ending are added
};

// The title tune "zntitle.mid" first, then the game tunes.
const std::vector<Tune>& Tunes();

// A format 1 file: a conductor track, then lead, chords, bass and drums (channel 10).
Bytes EncodeMidi(const Tune& tune);

}  // namespace bake
