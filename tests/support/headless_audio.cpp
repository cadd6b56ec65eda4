// The headless audio device: channels and music timed by the manual clock, and a plain
// conversion.
#include "support/headless_audio.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace platform {

namespace {

constexpr std::uint64_t kMicrosPerSecond = 1'000'000;
constexpr std::uint64_t kDefaultTempo = 500'000;  // microseconds a quarter note

class HeadlessMusic : public Music {
  public:
    explicit HeadlessMusic(std::uint64_t micros) : micros_(micros) {}
    std::uint64_t Micros() const { return micros_; }

  private:
    std::uint64_t micros_;
};

// Reads a standard MIDI file's numbers; a read past the end answers 0 and leaves it run out.
struct MidiReader {
    bool More() const { return at < end; }
    bool RunOut() const { return at > end; }
    std::uint32_t Byte() { return at < end ? bytes[at++] : (at = end + 1, 0); }
    std::uint32_t Big(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = value << 8 | Byte();
        }
        return value;
    }
    std::uint32_t Variable() {
        std::uint32_t value = 0;
        for (std::uint32_t i = 0, next = 0x80; i < 4 && (next & 0x80) != 0; ++i) {
            next = Byte();
            value = value << 7 | (next & 0x7F);
        }
        return value;
    }
    void Skip(std::size_t count) { at = std::min(at + count, end + 1); }

    const std::vector<std::uint8_t>& bytes;
    std::size_t at;
    std::size_t end;
};

// Walks one track: its end in ticks, and its tempo changes added to the map.
std::uint64_t ReadTrack(MidiReader track, std::map<std::uint64_t, std::uint64_t>& tempos) {
    std::uint64_t tick = 0;
    std::uint64_t last = 0;
    std::uint32_t running = 0;
    while (track.More()) {
        tick += track.Variable();
        const std::uint32_t status = track.Byte();
        if (track.RunOut()) {
            break;
        }
        last = tick;
        if (status == 0xFF) {
            const std::uint32_t type = track.Byte();
            const std::uint32_t length = track.Variable();
            if (type == 0x51 && length == 3) {
                tempos[tick] = track.Big(3);
            } else if (type == 0x2F) {
                break;
            } else {
                track.Skip(length);
            }
        } else if (status == 0xF0 || status == 0xF7) {
            track.Skip(track.Variable());
        } else {
            // A running status's first data byte is the one just read.
            const std::size_t read = (status & 0x80) != 0 ? 0 : 1;
            running = read == 0 ? status : running;
            track.Skip(((running & 0xF0) == 0xC0 || (running & 0xF0) == 0xD0 ? 1 : 2) - read);
        }
    }
    return last;
}

}  // namespace

std::uint64_t MidiMicros(const std::vector<std::uint8_t>& midi) {
    MidiReader file{midi, 0, midi.size()};
    if (file.Big(4) != 0x4D546864) {  // "MThd"
        return 0;
    }
    const std::uint32_t headerLength = file.Big(4);
    const std::size_t header = file.at;
    file.Big(2);  // the format
    const std::uint32_t tracks = file.Big(2);
    const std::uint32_t division = file.Big(2);
    MidiReader chunks{midi, header + headerLength, midi.size()};
    std::map<std::uint64_t, std::uint64_t> tempos;
    std::uint64_t end = 0;
    for (std::uint32_t track = 0; track < tracks && chunks.More(); ++track) {
        const std::uint32_t tag = chunks.Big(4);
        const std::uint32_t length = chunks.Big(4);
        const std::size_t body = chunks.at;
        if (tag == 0x4D54726B) {  // "MTrk"
            const std::size_t bodyEnd = std::min<std::size_t>(body + length, midi.size());
            end = std::max(end, ReadTrack({midi, body, bodyEnd}, tempos));
        }
        chunks.Skip(length);
    }
    if ((division & 0x8000) != 0) {
        // SMPTE: frames a second (stored negated) and ticks a frame.
        const std::uint64_t frames = 0x100 - (division >> 8);
        const std::uint64_t ticksPerSecond = frames * (division & 0xFF);
        return ticksPerSecond == 0 ? 0 : end * kMicrosPerSecond / ticksPerSecond;
    }
    if (division == 0) {
        return 0;
    }
    std::uint64_t micros = 0;
    std::uint64_t tick = 0;
    std::uint64_t tempo = kDefaultTempo;
    for (const auto& [at, next] : tempos) {
        if (at >= end) {
            break;
        }
        micros += (at - tick) * tempo / division;
        tick = at;
        tempo = next;
    }
    return micros + (end - tick) * tempo / division;
}

void HeadlessAudio::Acquire() {
    if (users_++ == 0) {
        openedMicros_ = clock_.NowMicros();
    }
}

void HeadlessAudio::Release() {
    if (users_ == 0 || --users_ > 0) {
        return;
    }
    voices_.clear();
    musicPlaying_ = false;
}

int HeadlessAudio::AllocateChannel() {
    return AllocateVoice(voices_);
}

void HeadlessAudio::FreeChannel(int channel) {
    if (channel >= 0 && channel < static_cast<int>(voices_.size())) {
        voices_[static_cast<std::size_t>(channel)] = Voice{};
    }
}

bool HeadlessAudio::Play(int channel, const std::uint8_t* samples, std::size_t bytes,
                         double volume) {
    if (channel < 0 || channel >= static_cast<int>(voices_.size()) ||
        !voices_[static_cast<std::size_t>(channel)].allocated) {
        return false;
    }
    Voice& voice = voices_[static_cast<std::size_t>(channel)];
    voice.playing = true;
    voice.start = MixedFrames();
    voice.frames = bytes / static_cast<std::size_t>(kFormat.FrameBytes());
    voice.samples = reinterpret_cast<const std::int16_t*>(samples);
    voice.volume = volume;
    return true;
}

void HeadlessAudio::Halt(int channel) {
    if (channel >= 0 && channel < static_cast<int>(voices_.size())) {
        voices_[static_cast<std::size_t>(channel)].playing = false;
    }
}

bool HeadlessAudio::Playing(int channel) {
    if (channel < 0 || channel >= static_cast<int>(voices_.size())) {
        return false;
    }
    const Voice& voice = voices_[static_cast<std::size_t>(channel)];
    return voice.playing && MixedFrames() - voice.start < voice.frames;
}

std::vector<std::int16_t> HeadlessAudio::Mix(std::uint64_t frames) const {
    const auto channels = static_cast<std::size_t>(kFormat.channels);
    std::vector<double> sum(frames * channels);
    const std::uint64_t now = MixedFrames();
    for (const Voice& voice : voices_) {
        if (!voice.playing || voice.samples == nullptr || voice.frames == 0) {
            continue;
        }
        for (std::uint64_t i = 0; i < frames; ++i) {
            const std::uint64_t at = now + i - voice.start;
            if (at >= voice.frames) {
                break;
            }
            for (std::size_t c = 0; c < channels; ++c) {
                sum[i * channels + c] += voice.samples[at * channels + c] * voice.volume;
            }
        }
    }
    std::vector<std::int16_t> mixed(sum.size());
    std::transform(sum.begin(), sum.end(), mixed.begin(), [](double value) {
        return static_cast<std::int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
    });
    return mixed;
}

std::uint64_t HeadlessAudio::MixedFrames() const {
    if (!Open()) {
        return 0;
    }
    return (clock_.NowMicros() - openedMicros_) * static_cast<std::uint64_t>(kFormat.rate) /
           kMicrosPerSecond;
}

std::vector<std::uint8_t> HeadlessAudio::Convert(const Format& format, const std::uint8_t* samples,
                                                 std::size_t bytes) {
    std::vector<std::uint8_t> converted;
    if ((format.bits != 8 && format.bits != 16) || format.channels < 1 || format.rate <= 0) {
        return converted;
    }
    const auto sourceRate = static_cast<std::uint64_t>(format.rate);
    const auto rate = static_cast<std::uint64_t>(kFormat.rate);
    const std::size_t sourceFrames = bytes / static_cast<std::size_t>(format.FrameBytes());
    const std::size_t frames = sourceFrames * rate / sourceRate;
    converted.reserve(frames * static_cast<std::size_t>(kFormat.FrameBytes()));
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const std::uint8_t* source =
            samples + frame * sourceRate / rate * static_cast<std::size_t>(format.FrameBytes());
        for (int channel = 0; channel < kFormat.channels; ++channel) {
            const int from = std::min(channel, format.channels - 1);
            const std::uint16_t sample =
                format.bits == 8
                    ? static_cast<std::uint16_t>((source[from] ^ 0x80) << 8)
                    : static_cast<std::uint16_t>(source[2 * from] | source[2 * from + 1] << 8);
            converted.push_back(static_cast<std::uint8_t>(sample & 0xFF));
            converted.push_back(static_cast<std::uint8_t>(sample >> 8));
        }
    }
    return converted;
}

std::unique_ptr<Music> HeadlessAudio::LoadMidi(std::vector<std::uint8_t> midi) {
    return std::make_unique<HeadlessMusic>(MidiMicros(midi));
}

bool HeadlessAudio::PlayMusic(Music& music, bool looping) {
    musicPlaying_ = true;
    musicLooping_ = looping;
    musicStartMicros_ = clock_.NowMicros();
    musicMicros_ = static_cast<HeadlessMusic&>(music).Micros();
    return true;
}

bool HeadlessAudio::MusicPlaying() {
    return musicPlaying_ &&
           (musicLooping_ || clock_.NowMicros() - musicStartMicros_ < musicMicros_);
}

}  // namespace platform
