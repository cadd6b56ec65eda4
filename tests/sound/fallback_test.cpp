// Playing on the real audio device without a sound card, and without a soundfont: a silent
// device stands in for the one that cannot open, and music reports that it cannot start while
// tunes do nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/dxmidi.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_services.h"
#include "platform/sdl/sound_font.h"
#include "support/sound_fixture.h"

namespace {

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Starts the device on an audio driver that does not exist and plays a buffer on it, with the
// real services in place as the program entry puts them.
void PlayOnAMissingDevice() {
    platform::UseSdlServices();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IDirectSound* ds = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), S_OK);
    ASSERT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), S_OK);
    const sound::Bytes format = sound::PcmFormat();
    DSBUFFERDESC desc;
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = DSBCAPS_STATIC;
    desc.dwBufferBytes = 22050;
    desc.lpwfxFormat = format.data();
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), S_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), S_OK);
    EXPECT_EQ(sound::Status(buffer), DSBSTATUS_PLAYING);
    buffer->Release();
    ds->Release();
}

// Runs first, while no device has been opened in this program.
TEST(SilentDevice, WithoutASoundDeviceTheGamePlaysInSilenceAndSaysSoOnce) {
    testing::internal::CaptureStderr();
    PlayOnAMissingDevice();
    PlayOnAMissingDevice();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(said, "No sound device could be opened"), 1) << said;
    EXPECT_EQ(Count(said, "\n"), 1) << said;
}

TEST(NoSoundfont, WithoutASoundfontThereIsNoMusicAndTunesDoNothing) {
    platform::Harness harness;
    platform::UseAudio(platform::SdlAudio());
    ASSERT_TRUE(platform::MusicAvailable()) << "the system's soundfont makes music possible";
    sound::WriteFile("notes.sf2", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    for (const char* font : {"/no/such/soundfont.sf2", "notes.sf2"}) {
        setenv("SDL_SOUNDFONTS", font, 1);
        EXPECT_EQ(platform::SoundFontPath(), font);
        EXPECT_FALSE(platform::MusicAvailable()) << font;
        void* performance = nullptr;
        EXPECT_TRUE(
            FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IDirectMusicPerformance, &performance)));
        EXPECT_EQ(performance, nullptr);
    }
    unsetenv("SDL_SOUNDFONTS");

    sound::WriteFile("zntitle.mid", sound::MakeMidi(1.0));
    TDXMidi tune(nullptr, nullptr);
    EXPECT_FALSE(tune.Load("zntitle.mid"));
    tune.Play();
    EXPECT_FALSE(tune.StartPending);
    EXPECT_FALSE(tune.IsPlaying());
    tune.Stop();
}

}  // namespace
