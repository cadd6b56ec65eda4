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

// The value's bytes, least significant first or, for MIDI, most significant first.
void Little(Bytes& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
void Big(Bytes& bytes, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A RIFF form of the type, holding the chunks.
Bytes Form(const char* type, const std::vector<Bytes>& chunks) {
    Bytes body(type, type + 4);
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    Bytes form = {'R', 'I', 'F', 'F'};
    Little(form, static_cast<std::uint32_t>(body.size()), 4);
    form.insert(form.end(), body.begin(), body.end());
    return form;
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
    Bytes chunk(tag, tag + 4);
    Little(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    chunk.resize(chunk.size() + body.size() % 2, 0);
    return chunk;
}

Bytes PcmFormat() {
    Bytes format;
    Little(format, WAVE_FORMAT_PCM, 2);
    Little(format, 1, 2);  // one channel
    Little(format, kRate, 4);
    Little(format, kRate, 4);  // bytes a second
    Little(format, 1, 2);      // bytes a frame
    Little(format, 8, 2);      // bits a sample
    return format;
}

Bytes MakeWave(const Bytes& samples) {
    return Form("WAVE", {Chunk("fmt ", PcmFormat()), Chunk("data", samples)});
}

Bytes MakeMidi(double seconds) {
    constexpr int kDivision = 480;     // ticks per quarter note; a quarter lasts half a second
    Bytes track = {0x00, 0xC0, 0x00};  // a program change
    const int quarters = std::max(1, static_cast<int>(std::lround(seconds * 2)));
    for (int q = 0; q < quarters; ++q) {
        const auto pitch = static_cast<std::uint8_t>(60 + (q * 4) % 12);
        // At once a note on, a quarter (480 in two bytes of a variable length) later its end.
        track.insert(track.end(), {0x00, 0x90, pitch, 100, 0x83, 0x60, 0x80, pitch, 0});
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes midi = {'M', 'T', 'h', 'd'};
    Big(midi, 6, 4);  // the header's length
    Big(midi, 0, 2);  // format 0
    Big(midi, 1, 2);  // one track
    Big(midi, kDivision, 2);
    midi.insert(midi.end(), {'M', 'T', 'r', 'k'});
    Big(midi, static_cast<std::uint32_t>(track.size()), 4);
    midi.insert(midi.end(), track.begin(), track.end());
    return midi;
}

Bytes MakeRmi(const Bytes& midi) {
    return Form("RMID", {Chunk("data", midi)});
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
