// Synthesis of the sound effects: tones, noise and envelopes, levelled to one loudness.
#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace bake {
namespace {

constexpr double kTwoPi = 2 * M_PI;

int Length(double seconds) {
    return int(seconds * kSampleRate);
}

// A tone whose frequency moves from f0 to f1 (exponentially) over the sound, with harmonics.
Samples Sweep(double seconds, double f0, double f1, std::initializer_list<double> harmonics) {
    Samples out(Length(seconds));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / out.size();
        phase += kTwoPi * f0 * std::pow(f1 / f0, t) / kSampleRate;
        double v = 0;
        int k = 1;
        for (double h : harmonics) {
            v += h * std::sin(phase * k++);
        }
        out[i] = float(v);
    }
    return out;
}

Samples Noise(double seconds, std::uint32_t seed) {
    Random rnd(seed);
    Samples out(Length(seconds));
    for (float& s : out) {
        s = float(rnd.Uniform(-1, 1));
    }
    return out;
}

// Two-pole resonant band-pass (or low-pass with `lowpass`) at a fixed frequency.
Samples Filter(const Samples& in, double freq, double q, bool lowpass) {
    const double w = kTwoPi * freq / kSampleRate;
    const double alpha = std::sin(w) / (2 * q), cw = std::cos(w);
    double b0, b1, b2;
    if (lowpass) {
        b0 = (1 - cw) / 2, b1 = 1 - cw, b2 = (1 - cw) / 2;
    } else {
        b0 = alpha, b1 = 0, b2 = -alpha;
    }
    const double a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
    Samples out(in.size());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const double y = (b0 * in[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
        x2 = x1, x1 = in[i], y2 = y1, y1 = y;
        out[i] = float(y);
    }
    return out;
}

// Multiplies by an envelope: a linear attack, then exponential decay with time constant tau.
Samples Envelope(Samples s, double attack, double tau) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double a = t < attack ? t / attack : std::exp(-(t - attack) / tau);
        s[i] = float(s[i] * a);
    }
    return s;
}

Samples MixIn(Samples a, const Samples& b, double gain, double offset = 0) {
    const std::size_t start = std::size_t(offset * kSampleRate);
    a.resize(std::max(a.size(), start + b.size()), 0.0f);
    for (std::size_t i = 0; i < b.size(); ++i) {
        a[start + i] += float(gain * b[i]);
    }
    return a;
}

// A short melody of (frequency, start, length) notes in a bright, bell-like voice.
struct Note {
    double freq, start, length;
};
Samples Melody(std::initializer_list<Note> notes, std::initializer_list<double> harmonics,
               double tau) {
    Samples out;
    for (const Note& n : notes) {
        out = MixIn(out, Envelope(Sweep(n.length, n.freq, n.freq, harmonics), 0.006, tau), 1.0,
                    n.start);
    }
    return out;
}

double Pitch(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Sets every effect to the same loudness (RMS over its loud part), keeps peaks below full
// scale, and fades both ends so that nothing clicks.
Samples Level(Samples s) {
    float peak = 0;
    for (float v : s) {
        peak = std::max(peak, std::fabs(v));
    }
    double sum = 0;
    std::size_t loud = 0;
    for (float v : s) {
        if (std::fabs(v) > peak * 0.1f) {
            sum += double(v) * v;
            ++loud;
        }
    }
    const double rms = std::sqrt(sum / std::max<std::size_t>(loud, 1));
    const double gain = std::min(0.26 / rms, 0.9 / peak);
    const std::size_t fadeIn = 40, fadeOut = std::min<std::size_t>(s.size() / 4, 600);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double g = gain;
        if (i < fadeIn) {
            g *= double(i) / fadeIn;
        }
        if (i + fadeOut > s.size()) {
            g *= double(s.size() - i) / fadeOut;
        }
        s[i] = float(s[i] * g);
    }
    return s;
}

Samples BallBounce() {
    // A soft, rubbery thud with a little knock on top.
    Samples body = Envelope(Sweep(0.12, 210, 90, {1.0, 0.3}), 0.002, 0.035);
    return MixIn(body, Envelope(Filter(Noise(0.02, 3), 1800, 1.2, false), 0.0005, 0.004), 0.5);
}

Samples GullBounce() {
    // A squawk: a nasal, buzzing cry that rises and falls, with a wobble.
    Samples out(Length(0.3));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double f =
            700 + 450 * std::sin(M_PI * std::min(1.0, t / 0.22)) + 40 * std::sin(kTwoPi * 28 * t);
        phase += kTwoPi * f / kSampleRate;
        const double saw = 2 * (phase / kTwoPi - std::floor(phase / kTwoPi + 0.5));
        out[i] = float(saw * 0.6 + 0.4 * std::sin(phase * 3));
    }
    out = Filter(out, 1500, 0.9, false);
    return Envelope(out, 0.01, 0.12);
}

Samples AGullBounce() {
    // A metallic clang: inharmonic partials ringing out.
    Samples out;
    const double partials[][2] = {{523, 1.0}, {1394, 0.6}, {2137, 0.45}, {2991, 0.3}, {3721, 0.2}};
    for (const auto& p : partials) {
        out = MixIn(out, Envelope(Sweep(0.5, p[0], p[0], {1.0}), 0.001, 0.22 - p[0] / 30000), p[1]);
    }
    return MixIn(out, Envelope(Filter(Noise(0.03, 5), 4000, 1.5, false), 0.0005, 0.006), 0.6);
}

Samples BAGullBounce() {
    // A dry crack, followed by a short croak.
    Samples crack = Envelope(Filter(Noise(0.08, 9), 2600, 0.8, false), 0.0005, 0.012);
    Samples croak = Envelope(Sweep(0.14, 420, 300, {0.7, 0.5, 0.4}), 0.01, 0.05);
    return MixIn(crack, croak, 0.5, 0.035);
}

Samples Explosion() {
    // A boom: low noise rolling off, with a deep thump.
    Samples rumble =
        Envelope(Filter(Filter(Noise(1.0, 11), 500, 0.7, true), 300, 0.7, true), 0.004, 0.28);
    Samples thump = Envelope(Sweep(0.4, 90, 38, {1.0, 0.2}), 0.002, 0.12);
    return MixIn(rumble, thump, 0.8);
}

Samples Cannon() {
    // A heavy wheel rumble: low, throbbing noise.
    Samples out = Filter(Filter(Noise(0.6, 13), 160, 1.1, true), 120, 0.9, true);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kSampleRate;
        out[i] = float(out[i] * (0.6 + 0.4 * std::sin(kTwoPi * 11 * t)));
    }
    out = Envelope(out, 0.03, 0.25);
    return MixIn(out, Envelope(Sweep(0.3, 70, 50, {1.0, 0.3}), 0.01, 0.1), 0.5);
}

Samples BazzleBounce() {
    // A springy boing.
    Samples out(Length(0.45));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double f = 330 * (1 + 0.35 * std::exp(-t * 6) * std::sin(kTwoPi * 14 * t)) +
                         160 * std::exp(-t * 8);
        phase += kTwoPi * f / kSampleRate;
        out[i] = float(std::sin(phase) + 0.3 * std::sin(2 * phase));
    }
    return Envelope(out, 0.003, 0.16);
}

Samples CreateEgg() {
    // A bubbly pop rising in pitch.
    return MixIn(Envelope(Sweep(0.12, 380, 1100, {1.0, 0.2}), 0.003, 0.05),
                 Envelope(Sweep(0.1, 760, 1500, {1.0}), 0.003, 0.04), 0.5, 0.06);
}

Samples CatchEgg() {
    // A bright two-note chime.
    return Melody({{Pitch(88), 0, 0.5}, {Pitch(95), 0.07, 0.5}}, {1.0, 0.0, 0.25, 0.0, 0.1}, 0.14);
}

Samples Fanfare() {
    // A brassy rising call ending on a held chord.
    const std::initializer_list<double> brass = {1.0, 0.7, 0.5, 0.35, 0.2, 0.1};
    return Melody({{Pitch(60), 0.0, 0.16},
                   {Pitch(64), 0.14, 0.16},
                   {Pitch(67), 0.28, 0.16},
                   {Pitch(72), 0.42, 0.9},
                   {Pitch(64), 0.42, 0.9},
                   {Pitch(67), 0.42, 0.9}},
                  brass, 0.35);
}

Samples BeginGame() {
    // The opening jingle: a cheerful run up to the tonic, with a bass underneath.
    const std::initializer_list<double> voice = {1.0, 0.4, 0.25, 0.1};
    Samples tune = Melody({{Pitch(72), 0.0, 0.2},
                           {Pitch(76), 0.15, 0.2},
                           {Pitch(79), 0.3, 0.2},
                           {Pitch(84), 0.45, 0.2},
                           {Pitch(81), 0.6, 0.2},
                           {Pitch(84), 0.75, 0.2},
                           {Pitch(88), 0.9, 0.7}},
                          voice, 0.18);
    Samples bass = Melody({{Pitch(48), 0.0, 0.4}, {Pitch(55), 0.45, 0.4}, {Pitch(48), 0.9, 0.7}},
                          {1.0, 0.5}, 0.25);
    return MixIn(tune, bass, 0.6);
}

Samples BeginLevel() {
    // A short "ready" motif.
    const std::initializer_list<double> voice = {1.0, 0.5, 0.2};
    return Melody({{Pitch(67), 0.0, 0.18},
                   {Pitch(67), 0.13, 0.18},
                   {Pitch(74), 0.26, 0.18},
                   {Pitch(79), 0.39, 0.55}},
                  voice, 0.16);
}

Samples ShotgunFire() {
    // A sharp bang with a short body.
    Samples bang = Envelope(Filter(Noise(0.3, 17), 1200, 0.6, true), 0.0008, 0.05);
    return MixIn(bang, Envelope(Sweep(0.12, 160, 60, {1.0}), 0.001, 0.03), 0.6);
}

Samples ShotgunHit() {
    // A thwack with a ping.
    Samples thwack = Envelope(Filter(Noise(0.08, 19), 1500, 1.0, false), 0.0005, 0.015);
    return MixIn(thwack, Envelope(Sweep(0.15, 1760, 1660, {1.0}), 0.001, 0.04), 0.4);
}

}  // namespace

const std::vector<Sound>& Sounds() {
    static const std::vector<Sound> sounds = [] {
        const std::pair<const char*, Samples (*)()> table[] = {
            {"BeginLevel", BeginLevel},   {"BallBounce", BallBounce},
            {"GullBounce", GullBounce},   {"BeginGame", BeginGame},
            {"AGullBounce", AGullBounce}, {"BAGullBounce", BAGullBounce},
            {"Explosion", Explosion},     {"BazzleBounce", BazzleBounce},
            {"CreateEgg", CreateEgg},     {"CatchEgg", CatchEgg},
            {"Fanfare", Fanfare},         {"ShotgunFire", ShotgunFire},
            {"ShotgunHit", ShotgunHit},   {"Cannon", Cannon},
        };
        std::vector<Sound> list;
        for (const auto& [name, make] : table) {
            list.push_back({name, [make = make] { return Level(make()); }});
        }
        return list;
    }();
    return sounds;
}

Bytes EncodeWave(const Samples& samples) {
    Bytes out;
    auto put32 = [&out](std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            out.push_back(std::uint8_t(v >> (8 * k)));
        }
    };
    auto put16 = [&out](std::uint16_t v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    auto tag = [&out](const char* t) {
        for (int k = 0; k < 4; ++k) {
            out.push_back(std::uint8_t(t[k]));
        }
    };
    const std::uint32_t data = std::uint32_t(samples.size());
    tag("RIFF");
    put32(36 + data + (data & 1));
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(kSampleRate);
    put32(kSampleRate);
    put16(1);
    put16(8);
    tag("data");
    put32(data);
    Random dither(99);
    for (float s : samples) {
        const double d = (dither.Uniform(0, 1) - dither.Uniform(0, 1)) * 0.5;
        out.push_back(std::uint8_t(std::clamp(std::lround(128 + s * 127 + d), 1L, 255L)));
    }
    if (data & 1) {
        out.push_back(0x80);
    }
    return out;
}

}  // namespace bake
