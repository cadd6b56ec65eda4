// The emulated DirectSound: buffer descriptors, the primary format, locking, duplicates sharing
// samples, playing on the mixer, positions, and lost buffers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "sound_fixture.h"

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
    harness.Fail(platform::Fault::SoundFormat);
    EXPECT_TRUE(FAILED(primary->SetFormat(&format)));
    EXPECT_EQ(primary->SetFormat(&format), S_OK);
    primary->Release();

    desc.dwBufferBytes = 100;
    EXPECT_EQ(Create(desc), DSERR_INVALIDPARAM) << "a primary buffer has no size of its own";
}

TEST_F(DirectSoundTest, SecondaryBuffersNeedAValidDescriptor) {
    const Bytes format = sound::PcmFormat();
    EXPECT_EQ(Create(Desc(100, format.data())), S_OK);
    DSBUFFERDESC old = Desc(100, format.data());
    old.dwSize = kDsBufferDescSizeV1;
    EXPECT_EQ(Create(old), S_OK);
    DSBUFFERDESC odd = Desc(100, format.data());
    odd.dwSize = 24;
    EXPECT_EQ(Create(odd), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Desc(0, format.data())), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Desc(DSBSIZE_MIN - 1, format.data())), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Desc(DSBSIZE_MAX + 1, format.data())), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Desc(100, nullptr)), DSERR_INVALIDPARAM);
    Bytes stereo16 = format;
    stereo16[2] = 2;   // channels
    stereo16[12] = 4;  // block align: 16-bit stereo
    EXPECT_EQ(Create(Desc(100, stereo16.data())), S_OK);
    Bytes adpcm = format;
    adpcm[0] = 2;
    EXPECT_EQ(Create(Desc(100, adpcm.data())), DSERR_BADFORMAT);
    Bytes slow = format;
    sound::PutDword(slow, 4, 99);
    EXPECT_EQ(Create(Desc(100, slow.data())), DSERR_BADFORMAT);
    harness.Fail(platform::Fault::SoundBuffer);
    EXPECT_TRUE(FAILED(Create(Desc(100, format.data()))));

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

    harness.Fail(platform::Fault::DuplicateSoundBuffer);
    EXPECT_TRUE(FAILED(ds->DuplicateSoundBuffer(original, &copy)));
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(ds->DuplicateSoundBuffer(nullptr, &copy), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, ABufferPlaysToItsEndAndReturnsToTheStart) {
    IDirectSoundBuffer* buffer = Buffer(sound::Tone(0.3));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    ASSERT_TRUE(sound::WaitFor([&] { return Status(buffer) == 0; }, 3.0));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 0.2) << "the mixer plays the samples in real time";
    EXPECT_EQ(Position(buffer), 0u);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), S_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    sound::SleepSeconds(0.5);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING) << "a loop never ends";
    EXPECT_LT(Position(buffer), static_cast<DWORD>(0.3 * kRate));
}

TEST_F(DirectSoundTest, StopKeepsThePositionAndSetCurrentPositionMovesIt) {
    const Bytes tone = sound::Tone(3.0);
    IDirectSoundBuffer* buffer = Buffer(tone);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    sound::SleepSeconds(0.5);
    ASSERT_EQ(buffer->Stop(), S_OK);
    EXPECT_EQ(Status(buffer), 0u);
    const DWORD stopped = Position(buffer);
    EXPECT_GT(stopped, static_cast<DWORD>(0.3 * kRate));
    EXPECT_LT(stopped, static_cast<DWORD>(1.5 * kRate));
    sound::SleepSeconds(0.1);
    EXPECT_EQ(Position(buffer), stopped) << "a stopped buffer stays where it is";

    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    EXPECT_GE(Position(buffer), stopped) << "Play goes on from the position";
    ASSERT_EQ(buffer->SetCurrentPosition(0), S_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    EXPECT_LT(Position(buffer), stopped) << "a playing buffer jumps to the new position";
    EXPECT_EQ(buffer->SetCurrentPosition(static_cast<DWORD>(tone.size())), DSERR_INVALIDPARAM);
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

TEST_F(DirectSoundTest, EveryBufferHasAChannelOfItsOwn) {
    std::vector<IDirectSoundBuffer*> buffers;
    for (int i = 0; i < 48; ++i) {
        buffers.push_back(Buffer(sound::Tone(2.0, 200 + 10 * i)));
        ASSERT_EQ(buffers.back()->Play(0, 0, 0), S_OK);
    }
    for (IDirectSoundBuffer* buffer : buffers) {
        EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    }
    const WAVEFORMATEX mix = platform::SoundDeviceFormat();
    EXPECT_EQ(mix.wBitsPerSample, 16);
    EXPECT_GT(mix.nSamplesPerSec, 0u);
}

}  // namespace
