// The emulated DirectSound on the headless audio device: buffer descriptors, the primary format,
// locking, duplicates sharing samples, playing for the samples' time on the harness's clock,
// positions, and lost buffers.
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
    static Bytes Contents(IDirectSoundBuffer* buffer) {
        void* first = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &first, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), S_OK);
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
    WAVEFORMATEX wrong = format;
    wrong.nBlockAlign = 2;
    EXPECT_EQ(primary->SetFormat(&wrong), DSERR_BADFORMAT);
    wrong = format;
    wrong.nChannels = 3;
    EXPECT_EQ(primary->SetFormat(&wrong), DSERR_BADFORMAT);
    EXPECT_EQ(primary->SetFormat(nullptr), DSERR_BADFORMAT);
    primary->Release();

    desc.dwBufferBytes = 100;
    EXPECT_EQ(Create(desc), DSERR_INVALIDPARAM) << "a primary buffer has no size of its own";
}

TEST_F(DirectSoundTest, SecondaryBuffersNeedAValidDescriptor) {
    const Bytes format = sound::PcmFormat();
    Bytes stereo16 = format;
    stereo16[2] = 2;   // channels
    stereo16[12] = 4;  // block align: 16-bit stereo
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
        {"16-bit stereo", kDsBufferDescSize, 100, stereo16.data(), S_OK},
        {"an odd descriptor", 24, 100, format.data(), DSERR_INVALIDPARAM},
        {"no bytes", kDsBufferDescSize, 0, format.data(), DSERR_INVALIDPARAM},
        {"too few bytes", kDsBufferDescSize, DSBSIZE_MIN - 1, format.data(), DSERR_INVALIDPARAM},
        {"too many bytes", kDsBufferDescSize, DSBSIZE_MAX + 1, format.data(), DSERR_INVALIDPARAM},
        {"no format", kDsBufferDescSize, 100, nullptr, DSERR_INVALIDPARAM},
        {"not PCM", kDsBufferDescSize, 100, adpcm.data(), DSERR_BADFORMAT},
        {"a wrong byte rate", kDsBufferDescSize, 100, slow.data(), DSERR_BADFORMAT},
    };
    for (const auto& c : cases) {
        DSBUFFERDESC desc = Desc(c.bytes, c.format);
        desc.dwSize = c.size;
        EXPECT_EQ(Create(desc), c.result) << c.what;
    }

    IDirectSound* fresh = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &fresh, nullptr), S_OK);
    IDirectSoundBuffer* buffer = nullptr;
    const DSBUFFERDESC desc = Desc(100, format.data());
    EXPECT_EQ(fresh->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(fresh->SetCooperativeLevel(nullptr, 0), DSERR_INVALIDPARAM);
    fresh->Release();
}

TEST_F(DirectSoundTest, TheFormatBlockMayBeTheBasicHeaderAlone) {
    // Fourteen bytes, the last of an allocation: nothing past them is read.
    const Bytes format = sound::PcmFormat();
    auto basic = std::make_unique<std::uint8_t[]>(14);
    std::memcpy(basic.get(), format.data(), 14);
    EXPECT_EQ(Create(Desc(100, basic.get())), S_OK);
}

TEST_F(DirectSoundTest, LockHandsOutTheBufferAndWrapsAtItsEnd) {
    IDirectSoundBuffer* buffer = Buffer(Bytes(100, 0x80));
    ASSERT_NE(buffer, nullptr);
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(90, 20, &first, &firstBytes, &second, &secondBytes, 0), S_OK);
    EXPECT_EQ(firstBytes, 10u);
    EXPECT_EQ(secondBytes, 10u);
    EXPECT_EQ(static_cast<std::uint8_t*>(second) + 90, static_cast<std::uint8_t*>(first));
    std::memset(first, 1, firstBytes);
    std::memset(second, 2, secondBytes);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), S_OK);
    const Bytes contents = Contents(buffer);
    EXPECT_EQ(contents[0], 2);
    EXPECT_EQ(contents[9], 2);
    EXPECT_EQ(contents[10], 0x80);
    EXPECT_EQ(contents[90], 1);
    EXPECT_EQ(contents[99], 1);

    EXPECT_EQ(buffer->Lock(0, 101, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(100, 1, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(90, 20, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM)
        << "a wrapping lock needs the second region";
    ASSERT_EQ(buffer->Lock(0, 100, &first, &firstBytes, &second, &secondBytes, 0), S_OK);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(secondBytes, 0u);
    Bytes elsewhere(10);
    EXPECT_EQ(buffer->Unlock(elsewhere.data(), 10, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), S_OK);
}

TEST_F(DirectSoundTest, DuplicatesShareTheSamplesAndPlayOnTheirOwn) {
    IDirectSoundBuffer* original = Buffer(sound::Tone(1.0));
    IDirectSoundBuffer* copy = nullptr;
    ASSERT_EQ(ds->DuplicateSoundBuffer(original, &copy), S_OK);
    EXPECT_EQ(Contents(copy), sound::Tone(1.0));
    void* first = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(original->Lock(0, 4, &first, &bytes, nullptr, nullptr, 0), S_OK);
    std::memset(first, 7, bytes);
    original->Unlock(first, bytes, nullptr, 0);
    EXPECT_EQ(Contents(copy)[3], 7) << "the copy sees what was written through the original";

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
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), S_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    harness.AdvanceClock(500);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING) << "a loop never ends";
    EXPECT_EQ(Position(buffer), kRate / 5) << "the second time round";
}

TEST_F(DirectSoundTest, StopKeepsThePositionAndSetCurrentPositionMovesIt) {
    const Bytes tone = sound::Tone(3.0);
    IDirectSoundBuffer* buffer = Buffer(tone);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    harness.AdvanceClock(500);
    ASSERT_EQ(buffer->Stop(), S_OK);
    EXPECT_EQ(Status(buffer), 0u);
    const DWORD stopped = Position(buffer);
    EXPECT_EQ(stopped, kRate / 2);
    harness.AdvanceClock(100);
    EXPECT_EQ(Position(buffer), stopped) << "a stopped buffer stays where it is";

    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Position(buffer), stopped) << "Play goes on from the position";
    harness.AdvanceClock(250);
    EXPECT_EQ(Position(buffer), stopped + kRate / 4);
    ASSERT_EQ(buffer->SetCurrentPosition(kRate / 10 + 1), S_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    EXPECT_EQ(Position(buffer), kRate / 10 + 1) << "a playing buffer jumps to the new position";
    harness.AdvanceClock(2899);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING) << "it plays on from there to the end";
    harness.AdvanceClock(2);
    EXPECT_EQ(Status(buffer), 0u);
    EXPECT_EQ(buffer->SetCurrentPosition(static_cast<DWORD>(tone.size())), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, PositionsCountTheBuffersOwnFrames) {
    // 16-bit stereo at 11025 frames a second: four bytes a frame.
    Bytes format = sound::PcmFormat();
    format[2] = 2;
    sound::PutDword(format, 4, kRate / 2);
    format[12] = 4;
    DSBUFFERDESC desc = Desc(kRate * 4, format.data());
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), S_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    harness.AdvanceClock(200);
    EXPECT_EQ(Position(buffer), 4u * 2205);
    ASSERT_EQ(buffer->SetCurrentPosition(4 * 1000 + 3), S_OK);
    EXPECT_EQ(Position(buffer), 4u * 1000) << "positions fall on whole frames";
    harness.AdvanceClock(1909);  // the 21050 frames left last 1909.3 ms
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    harness.AdvanceClock(1);
    EXPECT_EQ(Status(buffer), 0u);
    buffer->Release();
}

TEST_F(DirectSoundTest, BuffersAndTheirCopiesPlayOnTheDeviceTheyWereMadeOn) {
    IDirectSoundBuffer* buffer = Buffer(sound::Tone(1.0));
    platform::HeadlessAudio other(*platform::System().clock);
    platform::UseAudio(other);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    harness.AdvanceClock(500);
    EXPECT_EQ(Position(buffer), kRate / 2);
    IDirectSoundBuffer* copy = nullptr;
    ASSERT_EQ(ds->DuplicateSoundBuffer(buffer, &copy), S_OK);
    ASSERT_EQ(copy->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Status(copy), DSBSTATUS_PLAYING);
    EXPECT_FALSE(other.Open()) << "nothing was made on the device put in place later";
    copy->Release();
    platform::UseAudio(harness.Audio());
}

TEST_F(DirectSoundTest, LostBuffersAnswerBufferLostUntilRestored) {
    const Bytes tone = sound::Tone(1.0);
    IDirectSoundBuffer* buffer = Buffer(tone);
    IDirectSoundBuffer* copy = nullptr;
    ASSERT_EQ(ds->DuplicateSoundBuffer(buffer, &copy), S_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    platform::LoseSoundBuffers();
    EXPECT_EQ(Status(buffer), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(Status(copy), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* first = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 10, &first, &bytes, nullptr, nullptr, 0), DSERR_BUFFERLOST);
    ASSERT_EQ(copy->Restore(), S_OK);
    EXPECT_EQ(Status(buffer), 0u) << "the samples are shared, so is their restoration";
    EXPECT_EQ(Contents(buffer), Bytes(tone.size(), 0x80)) << "restored samples are silence";
    copy->Release();
}

}  // namespace
