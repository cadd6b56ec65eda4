// Rule-based composition: chord progressions, motif-built melodies, comping, bass lines, drums.
#include "music.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace bake {
namespace {

constexpr int kPpq = 480;
constexpr int kBar = 4 * kPpq;
constexpr int kEighth = kPpq / 2;

struct Event {
    int tick;
    int order;  // note-offs before note-ons at the same tick
    std::vector<std::uint8_t> bytes;
};

class Track {
  public:
    explicit Track(int channel) : channel_(channel) {}

    void Note(int tick, int length, int pitch, int velocity) {
        pitch = std::clamp(pitch, 0, 127);
        velocity = std::clamp(velocity, 1, 127);
        Add(tick, 1, {std::uint8_t(0x90 | channel_), std::uint8_t(pitch), std::uint8_t(velocity)});
        Add(tick + length, 0, {std::uint8_t(0x80 | channel_), std::uint8_t(pitch), 0});
    }
    void Control(int tick, int control, int value) {
        Add(tick, 0, {std::uint8_t(0xB0 | channel_), std::uint8_t(control), std::uint8_t(value)});
    }
    void Program(int program) { Add(0, 0, {std::uint8_t(0xC0 | channel_), std::uint8_t(program)}); }
    void Add(int tick, int order, std::vector<std::uint8_t> bytes) {
        events_.push_back({tick, order, std::move(bytes)});
    }
    int End() const {
        int end = 0;
        for (const Event& e : events_) {
            end = std::max(end, e.tick);
        }
        return end;
    }

    // The track chunk, with its end-of-track event at `end`.
    Bytes Chunk(int end) const {
        std::vector<Event> sorted = events_;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        Bytes body;
        int now = 0;
        auto delta = [&body, &now](int tick) {
            std::uint32_t v = std::uint32_t(tick - now);
            now = tick;
            std::uint8_t buf[5];
            int n = 0;
            buf[n++] = v & 0x7F;
            while (v >>= 7) {
                buf[n++] = 0x80 | (v & 0x7F);
            }
            while (n > 0) {
                body.push_back(buf[--n]);
            }
        };
        for (const Event& e : sorted) {
            delta(e.tick);
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        delta(std::max(end, now));
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        Bytes chunk = {'M', 'T', 'r', 'k'};
        for (int shift = 24; shift >= 0; shift -= 8) {
            chunk.push_back(std::uint8_t(body.size() >> shift));
        }
        chunk.insert(chunk.end(), body.begin(), body.end());
        return chunk;
    }

  private:
    int channel_;
    std::vector<Event> events_;
};

// Scale degrees to semitones; the minor key raises its seventh in the dominant chord.
struct Key {
    int tonic;
    bool minor;

    int Step(int degree) const {
        static constexpr std::array<int, 7> major = {0, 2, 4, 5, 7, 9, 11};
        static constexpr std::array<int, 7> minorScale = {0, 2, 3, 5, 7, 8, 10};
        const int octave = degree >= 0 ? degree / 7 : (degree - 6) / 7;
        const int d = degree - 7 * octave;
        return tonic + 12 * octave + (minor ? minorScale[d] : major[d]);
    }
    // The chord on a degree: three scale degrees a third apart, as pitches near `base`.
    std::array<int, 3> Chord(int degree, int base) const {
        std::array<int, 3> notes;
        for (int k = 0; k < 3; ++k) {
            notes[k] = Step(degree + 2 * k) - tonic + base;
            if (minor && degree % 7 == 4 && k == 1) {
                notes[k] += 1;  // leading tone
            }
        }
        return notes;
    }
};

// Chord degrees (0 = I) for the eight bars of each section.
const std::map<char, std::array<int, 8>>& Progressions(bool minor) {
    static const std::map<char, std::array<int, 8>> major = {{'A', {0, 5, 3, 4, 0, 5, 3, 4}},
                                                             {'B', {3, 4, 0, 5, 3, 4, 1, 4}},
                                                             {'C', {5, 3, 0, 4, 5, 3, 1, 4}}};
    static const std::map<char, std::array<int, 8>> minorKey = {{'A', {0, 5, 2, 6, 0, 5, 3, 4}},
                                                                {'B', {5, 6, 2, 0, 5, 6, 3, 4}},
                                                                {'C', {3, 0, 6, 2, 3, 0, 3, 4}}};
    return minor ? minorKey : major;
}

// One melody note: start and length in eighths within a two-bar motif.
struct Beat {
    int start, length;
};

std::vector<Beat> MotifRhythm(Random& rnd) {
    static const std::vector<std::vector<Beat>> bars = {
        {{0, 2}, {2, 1}, {3, 1}, {4, 3}},         {{0, 1}, {1, 1}, {2, 2}, {4, 1}, {5, 1}, {6, 2}},
        {{0, 3}, {3, 1}, {4, 2}, {6, 2}},         {{1, 1}, {2, 1}, {3, 1}, {4, 4}},
        {{0, 2}, {2, 2}, {4, 2}, {6, 1}, {7, 1}}, {{0, 1}, {2, 1}, {3, 2}, {5, 3}},
    };
    std::vector<Beat> motif = bars[rnd.Below(int(bars.size()))];
    for (Beat b : bars[rnd.Below(int(bars.size()))]) {
        motif.push_back({b.start + 8, b.length});
    }
    return motif;
}

class Composer {
  public:
    explicit Composer(const Tune& tune)
        : tune_(tune),
          key_{tune.tonic, tune.minor},
          rnd_(tune.seed),
          lead_(0),
          chords_(1),
          bass_(2),
          drums_(9) {}

    Bytes Compose() {
        Setup();
        int bar = 0;
        const auto& progressions = Progressions(tune_.minor);
        // Intro: four bars of the first progression without the melody.
        const auto& first = progressions.at(tune_.form[0]);
        for (int k = 0; k < 4; ++k, ++bar) {
            Accompany(bar, first[k], k == 0, k == 3);
        }
        for (char section : tune_.form) {
            const auto& chords = progressions.at(section);
            const auto& melody = Melody(section, chords);
            for (int k = 0; k < 8; ++k, ++bar) {
                Accompany(bar, chords[k], k == 0, k == 7);
            }
            for (const auto& [tick, length, pitch, velocity] : melody) {
                lead_.Note((bar - 8) * kBar + tick, length, pitch, velocity);
            }
        }
        Ending(bar);
        return Encode();
    }

  private:
    struct Played {
        int tick, length, pitch, velocity;
    };

    void Setup() {
        lead_.Program(tune_.lead);
        chords_.Program(tune_.chords);
        bass_.Program(tune_.bass);
        const int volumes[] = {108, 78, 100};
        const int pans[] = {64, 44, 70};
        Track* tracks[] = {&lead_, &chords_, &bass_, &drums_};
        for (int k = 0; k < 4; ++k) {
            tracks[k]->Control(0, 7, k < 3 ? volumes[k] : 96);
            tracks[k]->Control(0, 10, k < 3 ? pans[k] : 64);
            tracks[k]->Control(0, 91, 40);
        }
    }

    // The melody of a section, composed once and repeated wherever the section returns: a
    // two-bar motif stated, answered, restated, and a cadence onto the tonic chord's root.
    const std::vector<Played>& Melody(char section, const std::array<int, 8>& chords) {
        auto found = melodies_.find(section);
        if (found != melodies_.end()) {
            return found->second;
        }
        std::vector<Played> notes;
        const std::vector<Beat> motif = MotifRhythm(rnd_);
        std::vector<int> contour;
        for (std::size_t k = 0; k < motif.size(); ++k) {
            contour.push_back(rnd_.Below(5) - 2);
        }
        int degree = 7 + rnd_.Below(3);  // the scale degree of the melody, an octave above
        for (int phrase = 0; phrase < 4; ++phrase) {
            for (std::size_t k = 0; k < motif.size(); ++k) {
                const Beat b = motif[k];
                const int bar = phrase * 2 + b.start / 8;
                const int chord = chords[bar];
                const bool strong = b.start % 4 == 0;
                degree += (phrase == 1) ? -contour[k] : contour[k];
                if (strong) {
                    // Land on the nearest tone of the bar's chord.
                    for (int step : {0, 1, -1, 2, -2, 3}) {
                        const int interval = ((degree + step - chord) % 7 + 7) % 7;
                        if (interval == 0 || interval == 2 || interval == 4) {
                            degree += step;
                            break;
                        }
                    }
                }
                degree = std::clamp(degree, 4, 13);
                bool last = phrase == 3 && k + 1 == motif.size();
                int length = b.length * kEighth;
                if (phrase == 3 && b.start >= 8) {
                    // The cadence: the second bar becomes one long tonic note.
                    if (b.start > 8) {
                        continue;
                    }
                    degree = degree > 10 ? 14 : 7;
                    length = kBar - kEighth;
                    last = true;
                }
                const int pitch = key_.Step(degree) + (tune_.minor && degree % 7 == 6 ? 1 : 0);
                notes.push_back({bar * kBar + (b.start % 8) * kEighth, length - 20, pitch,
                                 (strong ? 100 : 86) + rnd_.Below(10) + (last ? 6 : 0)});
            }
        }
        return melodies_.emplace(section, std::move(notes)).first->second;
    }

    void Accompany(int bar, int chord, bool sectionStart, bool sectionEnd) {
        const int t0 = bar * kBar;
        const auto notes = key_.Chord(chord, tune_.tonic - 12);
        const int root = key_.Step(chord) - 24 - (key_.Step(chord) - tune_.tonic >= 7 ? 12 : 0);
        const int fifth = root + 7;
        switch (tune_.groove) {
            case Groove::Calypso:
                for (int e : {1, 3, 4, 6}) {
                    for (int n : notes) {
                        chords_.Note(t0 + e * kEighth, kEighth - 30, n, e == 3 ? 84 : 72);
                    }
                }
                bass_.Note(t0, kPpq + kEighth - 20, root, 104);
                bass_.Note(t0 + 3 * kEighth, kEighth - 20, root, 90);
                bass_.Note(t0 + 4 * kEighth, kPpq - 20, fifth, 98);
                bass_.Note(t0 + 6 * kEighth, kPpq - 20, root + 12, 90);
                break;
            case Groove::Rock:
                for (int q = 0; q < 4; ++q) {
                    for (int n : notes) {
                        chords_.Note(t0 + q * kPpq, kPpq - 40, n, q % 2 ? 70 : 80);
                    }
                }
                for (int e = 0; e < 8; ++e) {
                    bass_.Note(t0 + e * kEighth, kEighth - 30, e == 6 ? fifth : root,
                               e % 2 ? 86 : 100);
                }
                break;
            case Groove::Disco:
                for (int n : notes) {
                    chords_.Note(t0, kBar - 60, n + 12, 66);
                }
                for (int e = 0; e < 8; ++e) {
                    bass_.Note(t0 + e * kEighth, kEighth - 40, e % 2 ? root + 12 : root,
                               e % 2 ? 88 : 104);
                }
                break;
            case Groove::Shuffle:
                for (int q = 0; q < 4; ++q) {
                    for (int n : notes) {
                        chords_.Note(t0 + q * kPpq + (q % 2 ? 2 * kPpq / 3 : 0), kPpq / 3, n,
                                     q % 2 ? 76 : 64);
                    }
                }
                for (int q = 0; q < 4; ++q) {
                    const int walk[] = {root, root + 4 - (tune_.minor ? 1 : 0), fifth, root + 9};
                    bass_.Note(t0 + q * kPpq, kPpq - 40, walk[q], q == 0 ? 104 : 90);
                }
                break;
        }
        Drums(t0, sectionStart, sectionEnd);
    }

    void Drums(int t0, bool crash, bool fill) {
        constexpr int kick = 36, snare = 38, closedHat = 42, openHat = 46, crashCymbal = 49;
        if (crash) {
            drums_.Note(t0, kPpq, crashCymbal, 100);
        }
        const int hatSwing = tune_.groove == Groove::Shuffle ? kPpq * 2 / 3 : kEighth;
        for (int q = 0; q < 4; ++q) {
            const int t = t0 + q * kPpq;
            if (!(crash && q == 0)) {
                drums_.Note(t, kEighth, closedHat, 74);
            }
            const bool open = tune_.groove == Groove::Disco;
            drums_.Note(t + hatSwing, kEighth / 2, open ? openHat : closedHat, open ? 70 : 58);
            if (fill && q >= 2) {
                continue;
            }
            switch (tune_.groove) {
                case Groove::Disco:
                    drums_.Note(t, kEighth, kick, 108);
                    if (q % 2) {
                        drums_.Note(t, kEighth, snare, 96);
                    }
                    break;
                case Groove::Calypso:
                    if (q % 2 == 0) {
                        drums_.Note(t, kEighth, kick, 104);
                    } else {
                        drums_.Note(t + kEighth, kEighth, 37, 80);  // side stick
                        drums_.Note(t, kEighth, snare, 88);
                    }
                    break;
                case Groove::Rock:
                case Groove::Shuffle:
                    if (q % 2 == 0) {
                        drums_.Note(t, kEighth, kick, 108);
                        if (q == 2) {
                            drums_.Note(t + hatSwing, kEighth, kick, 90);
                        }
                    } else {
                        drums_.Note(t, kEighth, snare, 100);
                    }
                    break;
            }
        }
        if (fill) {
            // A tom roll over the last two beats leads into the next section.
            const int toms[] = {50, 48, 47, 45, 43, 43, 41, 38};
            for (int s = 0; s < 8; ++s) {
                drums_.Note(t0 + 2 * kPpq + s * kPpq / 4, kPpq / 4, toms[s], 84 + 3 * s);
            }
        }
    }

    // A dominant bar, then the tonic held under a crash, and a short silence.
    void Ending(int bar) {
        Accompany(bar, 4, false, true);
        const int t = (bar + 1) * kBar;
        for (int n : key_.Chord(0, tune_.tonic - 12)) {
            chords_.Note(t, kBar + kPpq, n, 84);
        }
        lead_.Note(t, kBar + kPpq, tune_.tonic + 12, 104);
        bass_.Note(t, kBar + kPpq, tune_.tonic - 24, 108);
        drums_.Note(t, kPpq, 36, 112);
        drums_.Note(t, 2 * kPpq, 49, 110);
        end_ = t + kBar + 2 * kPpq;
    }

    Bytes Encode() {
        Track conductor(0);
        const std::uint32_t tempo = 60000000u / tune_.bpm;
        conductor.Add(0, 0,
                      {0xFF, 0x51, 0x03, std::uint8_t(tempo >> 16), std::uint8_t(tempo >> 8),
                       std::uint8_t(tempo)});
        conductor.Add(0, 0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});
        Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 5, kPpq >> 8, kPpq & 0xFF};
        for (const Track* track : {&conductor, &lead_, &chords_, &bass_, &drums_}) {
            const Bytes chunk = track->Chunk(end_);
            out.insert(out.end(), chunk.begin(), chunk.end());
        }
        return out;
    }

    const Tune& tune_;
    Key key_;
    Random rnd_;
    Track lead_, chords_, bass_, drums_;
    std::map<char, std::vector<Played>> melodies_;
    int end_ = 0;
};

}  // namespace

const std::vector<Tune>& Tunes() {
    static const std::vector<Tune> tunes = {
        {"zntitle.mid", 104, 65, false, 114, 48, 33, Groove::Calypso, 11, "AABA"},
        {"breakers.mid", 132, 64, true, 81, 89, 38, Groove::Rock, 23, "AABACABA"},
        {"calypso.mid", 118, 72, false, 12, 24, 32, Groove::Calypso, 37, "AABABCAA"},
        {"gullrush.mid", 140, 69, true, 62, 50, 36, Groove::Disco, 41, "AABBACABA"},
        {"sunset.mid", 96, 74, false, 65, 4, 33, Groove::Shuffle, 53, "ABABCA"},
    };
    return tunes;
}

Bytes EncodeMidi(const Tune& tune) {
    return Composer(tune).Compose();
}

}  // namespace bake
