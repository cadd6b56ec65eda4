// The emulated DirectSound on the headless audio device: buffer descriptors, the primary format,
// locking, duplicates sharing samples, and playing for the samples' time on the harness's clock.
#include <gtest/gtest.h>

#include <cstring>

#include "support/headless_audio.h"
#include "support/sound_fixture.h"

namespace {

using sound::Bytes;
using sound::Position;
using sound::Status;

constexpr DWORD kRate = 22050;

class DirectSoundTest : public sound::SoundTest {
  protected:
    DSBUFFERDESC Desc(DWORD bytes, const void* format) {
        DSBUFFERDESC desc;
        desc.dwSize = kDsBufferDescSize;
        desc.dwFlags = DSBCAPS_STATIC;
        desc.dwBufferBytes = bytes;
        desc.lpwfxFormat = format;
        return desc;
    }
    HRESULT Create(const DSBUFFERDESC& desc) {
        IDirectSoundBuffer* buffer = nullptr;
        const HRESULT result = ds->CreateSoundBuffer(&desc, &buffer, nullptr);
        EXPECT_EQ(SUCCEEDED(result), buffer != nullptr);
        if (buffer != nullptr) {
            buffer->Release();
        }
        return result;
    }
    static Bytes Contents(IDirectSoundBuffer* buffer, DWORD size) {
        void* first = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(buffer->Lock(0, size, &first, &bytes, nullptr, nullptr, 0), S_OK);
        const auto* at = static_cast<const std::uint8_t*>(first);
        Bytes contents(at, at + bytes);
        buffer->Unlock(first, bytes, nullptr, 0);
        return contents;
    }
};

TEST_F(DirectSoundTest, ThePrimaryBufferTakesOnlyValidPcmFormats) {
    IDirectSoundBuffer* primary = nullptr;
    DSBUFFERDESC desc;
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &primary, nullptr), S_OK);
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 8;
    format.nBlockAlign = 1;
    format.nAvgBytesPerSec = kRate;
    EXPECT_EQ(primary->SetFormat(&format), S_OK);
    format.nBlockAlign = 2;
    EXPECT_EQ(primary->SetFormat(&format), DSERR_BADFORMAT);
    primary->Release();

    desc.dwBufferBytes = 100;
    EXPECT_EQ(Create(desc), DSERR_INVALIDPARAM) << "a primary buffer has no size of its own";
}

TEST_F(DirectSoundTest, SecondaryBuffersNeedAValidDescriptor) {
    const Bytes format = sound::PcmFormat();
    Bytes adpcm = format;
    adpcm[0] = 2;
    Bytes slow = format;
    sound::PutDword(slow, 4, 99);
    const struct {
        const char* what;
        DWORD size, bytes;
        const void* format;
        HRESULT result;
    } cases[] = {
        {"plain", kDsBufferDescSize, 100, format.data(), S_OK},
        {"an old descriptor", kDsBufferDescSizeV1, 100, format.data(), S_OK},
        {"an odd descriptor", 24, 100, format.data(), DSERR_INVALIDPARAM},
        {"too few bytes", kDsBufferDescSize, DSBSIZE_MIN - 1, format.data(), DSERR_INVALIDPARAM},
        {"not PCM", kDsBufferDescSize, 100, adpcm.data(), DSERR_BADFORMAT},
        {"a wrong byte rate", kDsBufferDescSize, 100, slow.data(), DSERR_BADFORMAT},
    };
    for (const auto& c : cases) {
        DSBUFFERDESC desc = Desc(c.bytes, c.format);
        desc.dwSize = c.size;
        EXPECT_EQ(Create(desc), c.result) << c.what;
    }
}

TEST_F(DirectSoundTest, TheFormatBlockMayBeTheBasicHeaderAlone) {
    // Fourteen bytes, the last of an allocation: nothing past them is read.
    const Bytes format = sound::PcmFormat();
    auto basic = std::make_unique<std::uint8_t[]>(14);
    std::memcpy(basic.get(), format.data(), 14);
    EXPECT_EQ(Create(Desc(100, basic.get())), S_OK);
}

TEST_F(DirectSoundTest, DuplicatesShareTheSamplesAndPlayOnTheirOwn) {
    IDirectSoundBuffer* original = Buffer(sound::Tone(1.0));
    IDirectSoundBuffer* copy = nullptr;
    ASSERT_EQ(ds->DuplicateSoundBuffer(original, &copy), S_OK);
    const DWORD size = static_cast<DWORD>(sound::Tone(1.0).size());
    EXPECT_EQ(Contents(copy, size), sound::Tone(1.0));
    void* first = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(original->Lock(0, 4, &first, &bytes, nullptr, nullptr, 0), S_OK);
    std::memset(first, 7, bytes);
    original->Unlock(first, bytes, nullptr, 0);
    EXPECT_EQ(Contents(copy, size)[3], 7) << "the copy sees what was written through the original";

    ASSERT_EQ(copy->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Status(copy), DSBSTATUS_PLAYING);
    EXPECT_EQ(Status(original), 0u);
    copy->Release();
    EXPECT_EQ(ds->DuplicateSoundBuffer(nullptr, &copy), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, ABufferPlaysToItsEndAndReturnsToTheStart) {
    IDirectSoundBuffer* buffer = Buffer(sound::Tone(0.3));
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    EXPECT_EQ(Position(buffer), 0u);
    harness.AdvanceClock(100);
    EXPECT_EQ(Position(buffer), kRate / 10) << "the position follows the clock";
    harness.AdvanceClock(199);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING) << "the samples play for their time";
    harness.AdvanceClock(1);
    EXPECT_EQ(Status(buffer), 0u) << "and not a moment longer";
    EXPECT_EQ(Position(buffer), 0u);
}

// The game cuts off a sounding copy with Stop and a rewind before playing it again.
TEST_F(DirectSoundTest, AStoppedBufferStaysWhereItIsUntilRewound) {
    const Bytes tone = sound::Tone(3.0);
    IDirectSoundBuffer* buffer = Buffer(tone);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    harness.AdvanceClock(500);
    ASSERT_EQ(buffer->Stop(), S_OK);
    EXPECT_EQ(Status(buffer), 0u);
    harness.AdvanceClock(100);
    EXPECT_EQ(Position(buffer), kRate / 2);
    ASSERT_EQ(buffer->SetCurrentPosition(0), S_OK);
    EXPECT_EQ(Position(buffer), 0u);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    harness.AdvanceClock(2999);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING) << "it plays its whole length again";
    harness.AdvanceClock(1);
    EXPECT_EQ(Status(buffer), 0u);
    EXPECT_EQ(buffer->SetCurrentPosition(static_cast<DWORD>(tone.size())), DSERR_INVALIDPARAM);
}

}  // namespace
