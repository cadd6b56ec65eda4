// Shared helpers for the sound suites.
#include "support/sound_fixture.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <thread>

namespace sound {

namespace {

constexpr int kRate = 22050;

void Append(Bytes& bytes, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

void AppendLittle(Bytes& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void AppendBig(Bytes& bytes, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void AppendVariable(Bytes& bytes, std::uint32_t value) {
    Bytes reversed{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0) {
        reversed.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    }
    bytes.insert(bytes.end(), reversed.rbegin(), reversed.rend());
}

// An empty byte string with room for `size` bytes and a header.
Bytes Room(std::size_t size) {
    Bytes bytes;
    bytes.reserve(size + 64);
    return bytes;
}

}  // namespace

Bytes Tone(double seconds, double hertz) {
    Bytes samples(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double s = std::sin(2 * M_PI * hertz * static_cast<double>(i) / kRate);
        samples[i] = static_cast<std::uint8_t>(128 + std::lround(100 * s));
    }
    return samples;
}

Bytes Chunk(const char* tag, const Bytes& body) {
    Bytes chunk = Room(body.size());
    Append(chunk, tag);
    AppendLittle(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        chunk.push_back(0);
    }
    return chunk;
}

Bytes PcmFormat() {
    Bytes format = Room(16);
    AppendLittle(format, WAVE_FORMAT_PCM, 2);
    AppendLittle(format, 1, 2);
    AppendLittle(format, kRate, 4);
    AppendLittle(format, kRate, 4);
    AppendLittle(format, 1, 2);
    AppendLittle(format, 8, 2);
    return format;
}

Bytes MakeWave(const Bytes& samples) {
    Bytes body = Room(samples.size());
    Append(body, "WAVE");
    const Bytes fmt = Chunk("fmt ", PcmFormat());
    const Bytes data = Chunk("data", samples);
    body.insert(body.end(), fmt.begin(), fmt.end());
    body.insert(body.end(), data.begin(), data.end());
    Bytes wave = Room(body.size());
    Append(wave, "RIFF");
    AppendLittle(wave, static_cast<std::uint32_t>(body.size()), 4);
    wave.insert(wave.end(), body.begin(), body.end());
    return wave;
}

Bytes MakeMidi(double seconds) {
    constexpr int kDivision = 480;  // ticks per quarter note; a quarter lasts half a second
    Bytes track = Room(static_cast<std::size_t>(seconds * 20));
    const std::uint8_t programChange[] = {0x00, 0xC0, 0x00};
    track.insert(track.end(), std::begin(programChange), std::end(programChange));
    const int quarters = std::max(1, static_cast<int>(std::lround(seconds * 2)));
    for (int q = 0; q < quarters; ++q) {
        const std::uint8_t pitch = static_cast<std::uint8_t>(60 + (q * 4) % 12);
        AppendVariable(track, 0);
        track.insert(track.end(), {0x90, pitch, 100});
        AppendVariable(track, kDivision);
        track.insert(track.end(), {0x80, pitch, 0});
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes midi = Room(track.size());
    Append(midi, "MThd");
    AppendBig(midi, 6, 4);
    AppendBig(midi, 0, 2);
    AppendBig(midi, 1, 2);
    AppendBig(midi, kDivision, 2);
    Append(midi, "MTrk");
    AppendBig(midi, static_cast<std::uint32_t>(track.size()), 4);
    midi.insert(midi.end(), track.begin(), track.end());
    return midi;
}

Bytes MakeRmi(const Bytes& midi) {
    Bytes body = Room(midi.size());
    Append(body, "RMID");
    const Bytes data = Chunk("data", midi);
    body.insert(body.end(), data.begin(), data.end());
    Bytes rmi = Room(body.size());
    Append(rmi, "RIFF");
    AppendLittle(rmi, static_cast<std::uint32_t>(body.size()), 4);
    rmi.insert(rmi.end(), body.begin(), body.end());
    return rmi;
}

void WriteFile(const std::string& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void PutDword(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

bool WaitFor(const std::function<bool()>& condition, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void SleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

DWORD Status(IDirectSoundBuffer* buffer) {
    DWORD status = 0xDEAD;
    EXPECT_EQ(buffer->GetStatus(&status), S_OK);
    return status;
}

DWORD Position(IDirectSoundBuffer* buffer) {
    DWORD play = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), S_OK);
    return play;
}

ResourceTable::~ResourceTable() {
    platform::SetModuleResources({});
}

void ResourceTable::Add(const std::string& name, const std::string& type, Bytes bytes) {
    const std::string& ownedName = strings_.emplace_back(name);
    const std::string& ownedType = strings_.emplace_back(type);
    const Bytes& blob = blobs_.emplace_back(std::move(bytes));
    table_.push_back({ownedName, ownedType, blob});
    platform::SetModuleResources(table_);
}

void SoundTest::SetUp() {
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), S_OK);
    ASSERT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), S_OK);
}

void SoundTest::TearDown() {
    for (IDirectSoundBuffer* buffer : owned_) {
        buffer->Release();
    }
    if (ds != nullptr) {
        ds->Release();
    }
}

IDirectSoundBuffer* SoundTest::Buffer(const Bytes& samples) {
    const Bytes format = PcmFormat();
    DSBUFFERDESC desc;
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_STATIC;
    desc.dwBufferBytes = static_cast<DWORD>(samples.size());
    desc.lpwfxFormat = format.data();
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), S_OK);
    if (buffer == nullptr) {
        return nullptr;
    }
    void* first = nullptr;
    DWORD firstBytes = 0;
    EXPECT_EQ(buffer->Lock(0, desc.dwBufferBytes, &first, &firstBytes, nullptr, nullptr, 0), S_OK);
    std::memcpy(first, samples.data(), firstBytes);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), S_OK);
    owned_.push_back(buffer);
    return buffer;
}

}  // namespace sound
