// The emulated DirectSound on the headless audio device: buffer descriptors and the primary
// format. Duplicates, playing for the samples' time and rewinding are the sound sets' to check,
// as the game uses them.
#include <gtest/gtest.h>

#include <cstring>

#include "support/sound_fixture.h"

namespace {

using sound::Bytes;

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
    // Fourteen bytes, the last of an allocation: nothing past them is read.
    auto basic = std::make_unique<std::uint8_t[]>(14);
    std::memcpy(basic.get(), format.data(), 14);
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
        {"the basic format header alone", kDsBufferDescSize, 100, basic.get(), S_OK},
    };
    for (const auto& c : cases) {
        DSBUFFERDESC desc = Desc(c.bytes, c.format);
        desc.dwSize = c.size;
        EXPECT_EQ(Create(desc), c.result) << c.what;
    }
}

}  // namespace
