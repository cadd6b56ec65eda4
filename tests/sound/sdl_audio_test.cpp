// The real audio device on SDL's dummy driver: its format while it has users, and a channel for
// every sound. What it mixes, effects and music, is the title screen render's to check.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_audio.h"
#include "support/sound_fixture.h"

namespace {

using platform::AudioDevice;

class SdlAudioTest : public sound::SoundTest {
  protected:
    void SetUp() override {
        platform::UseAudio(audio);
        sound::SoundTest::SetUp();
    }

    AudioDevice& audio = platform::SdlAudio();
};

TEST_F(SdlAudioTest, TheDeviceMixes16BitStereoAtItsOwnRateUntilItsLastUserGoes) {
    ASSERT_TRUE(audio.Open());
    const AudioDevice::Format format = audio.DeviceFormat();
    EXPECT_EQ(format.bits, 16);
    EXPECT_EQ(format.channels, 2);
    EXPECT_GT(format.rate, 0);
    audio.Acquire();
    ds->Release();
    ds = nullptr;
    EXPECT_TRUE(audio.Open()) << "one user is left";
    audio.Release();
    EXPECT_FALSE(audio.Open());
    EXPECT_EQ(audio.DeviceFormat().rate, 0);
}

TEST_F(SdlAudioTest, EveryBufferHasAChannelOfItsOwn) {
    std::vector<IDirectSoundBuffer*> buffers;
    for (int i = 0; i < 48; ++i) {
        buffers.push_back(Buffer(sound::Tone(2.0, 200 + 10 * i)));
        ASSERT_EQ(buffers.back()->Play(0, 0, 0), S_OK);
    }
    for (IDirectSoundBuffer* buffer : buffers) {
        EXPECT_EQ(sound::Status(buffer), DSBSTATUS_PLAYING);
    }
    const WAVEFORMATEX mix = platform::SoundDeviceFormat();
    EXPECT_EQ(mix.wBitsPerSample, 16);
    EXPECT_EQ(mix.nSamplesPerSec, static_cast<DWORD>(audio.DeviceFormat().rate));
}

}  // namespace
