// Shared helpers for the sound suites: waves and MIDI files made in memory, resource tables, an
// opened sound device, and waits on the real clock that the mixer runs on.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/api/dsound.h"
#include "platform/api/resources.h"
#include "support/harness.h"

namespace sound {

using Bytes = std::vector<std::uint8_t>;

// 8-bit unsigned samples of a square-ish tone.
Bytes Tone(double seconds, double hertz = 440.0);
// A whole RIFF WAVE file: PCM, one channel, 22050 samples per second, 8 bits.
Bytes MakeWave(const Bytes& samples);
// A RIFF chunk: tag, little-endian length and body, padded to an even length.
Bytes Chunk(const char* tag, const Bytes& body);
// The basic 16-byte PCM format block of 8-bit mono 22050 Hz.
Bytes PcmFormat();
// A standard MIDI file of one track playing quarter notes at 120 beats a minute for `seconds`.
Bytes MakeMidi(double seconds);
// The same file inside a RIFF "RMID" form.
Bytes MakeRmi(const Bytes& midi);
void WriteFile(const std::string& name, const Bytes& bytes);
void PutDword(Bytes& bytes, std::size_t at, std::uint32_t value);

void SleepSeconds(double seconds);

DWORD Status(IDirectSoundBuffer* buffer);
DWORD Position(IDirectSoundBuffer* buffer);

// A table of resources that the program's lookups search while it lives.
class ResourceTable {
  public:
    ResourceTable() = default;
    ~ResourceTable();
    ResourceTable(const ResourceTable&) = delete;
    ResourceTable& operator=(const ResourceTable&) = delete;
    void Add(const std::string& name, const std::string& type, Bytes bytes);

  private:
    std::deque<std::string> strings_;
    std::deque<Bytes> blobs_;
    std::vector<platform::ResourceEntry> table_;
};

// A headless harness with the sound device started as the game starts it.
class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A static buffer of 8-bit mono 22050 Hz holding the samples.
    IDirectSoundBuffer* Buffer(const Bytes& samples);

    platform::Harness harness;
    ResourceTable resources;
    IDirectSound* ds = nullptr;

  private:
    std::vector<IDirectSoundBuffer*> owned_;
};

}  // namespace sound
