// The real audio device on SDL's dummy driver, which mixes in real time: its format, a channel
// for every sound, sounds that play to their end, SDL's conversion, and MIDI music through the
// synthesizer.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/sdl/sdl_audio.h"
#include "support/sound_fixture.h"

namespace {

using platform::AudioDevice;
using sound::Bytes;

constexpr int kRate = 22050;

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

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

// SDL's resampler keeps back its last few hundredths of a second.
TEST_F(SdlAudioTest, ConversionMakesDeviceFramesOfAboutTheSameLength) {
    const AudioDevice::Format device = audio.DeviceFormat();
    const Bytes tone = sound::Tone(0.5);
    const std::vector<std::uint8_t> converted =
        audio.Convert({8, 1, kRate}, tone.data(), tone.size());
    const double frames = static_cast<double>(converted.size()) / device.FrameBytes();
    EXPECT_NEAR(frames, 0.5 * device.rate, 0.05 * device.rate);
    EXPECT_EQ(converted.size() % static_cast<std::size_t>(device.FrameBytes()), 0u);
}

TEST_F(SdlAudioTest, ASoundPlaysInRealTimeToItsEnd) {
    const Bytes tone = sound::Tone(0.3);
    const std::vector<std::uint8_t> samples =
        audio.Convert({8, 1, kRate}, tone.data(), tone.size());
    const int channel = audio.AllocateChannel();
    ASSERT_GE(channel, 0);
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t mixed = audio.MixedFrames();
    ASSERT_TRUE(audio.Play(channel, samples.data(), samples.size(), false, 1.0));
    EXPECT_TRUE(audio.Playing(channel));
    ASSERT_TRUE(sound::WaitFor([&] { return !audio.Playing(channel); }, 3.0));
    EXPECT_GT(SecondsSince(start), 0.2) << "the mixer plays the samples in real time";
    EXPECT_GT(audio.MixedFrames() - mixed,
              static_cast<std::uint64_t>(0.2 * audio.DeviceFormat().rate));
    audio.FreeChannel(channel);
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

TEST_F(SdlAudioTest, MidiMusicPlaysThroughTheSynthesizerToItsEnd) {
    ASSERT_TRUE(audio.PlaysMidi());
    const std::unique_ptr<platform::Music> music = audio.LoadMidi(sound::MakeMidi(0.5));
    ASSERT_NE(music, nullptr);
    ASSERT_TRUE(audio.PlayMusic(*music, false));
    EXPECT_TRUE(audio.MusicPlaying());
    EXPECT_TRUE(sound::WaitFor([&] { return !audio.MusicPlaying(); }, 5.0));
    ASSERT_TRUE(audio.PlayMusic(*music, true));
    sound::SleepSeconds(0.8);
    EXPECT_TRUE(audio.MusicPlaying()) << "a loop never ends";
    audio.HaltMusic();
    EXPECT_FALSE(audio.MusicPlaying());
}

}  // namespace
