// The game's start-up of its sounds and music: the fourteen sounds with their copies, the list
// of tunes for play, the title tune; the player's volumes. The game without music is the
// device suites' and the fallbacks' to check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/baked_resources.h"
#include "game/znform.h"
#include "platform/api/audio.h"
#include "platform/sdl/sdl_audio.h"
#include "support/headless_audio.h"
#include "support/sound_fixture.h"
#include "support/test_folder.h"

namespace {

class GameSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / "zntitle.mid",
                                   folder.Path() / "zntitle.mid");
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
    }
    void TearDown() override { form.reset(); }

    // The form with its sound and music started, as the start-up does before the sounds.
    void StartForm() {
        form = std::make_unique<TKestovForm>();
        form->StartDirectSound();
        form->StartDirectMusic();
        form->CreateSoundsAndMusic();
    }

    void ExpectTheFourteenSounds() {
        const std::pair<TDXSound*, int> sounds[] = {
            {form->BeginLevel.get(), 1},  {form->BallBounce.get(), 5},
            {form->GullBounce.get(), 5},  {form->BeginGame.get(), 1},
            {form->AGullBounce.get(), 5}, {form->BAGullBounce.get(), 5},
            {form->Explosion.get(), 5},   {form->BazzleBounce.get(), 1},
            {form->CreateEgg.get(), 3},   {form->CatchEgg.get(), 3},
            {form->Fanfare.get(), 1},     {form->ShotgunFire.get(), 2},
            {form->ShotgunHit.get(), 2},  {form->Cannon.get(), 1},
        };
        int index = 0;
        for (const auto& [sound, copies] : sounds) {
            ASSERT_NE(sound->Set, nullptr) << "sound " << index;
            EXPECT_EQ(sound->Set->Copies, copies) << "sound " << index;
            for (IDirectSoundBuffer* buffer : sound->Set->Buffers) {
                EXPECT_NE(buffer, nullptr) << "sound " << index;
            }
            ++index;
        }
        form->BallBounce->Play();
        EXPECT_EQ(sound::Status(form->BallBounce->Set->Buffers[0]), DSBSTATUS_PLAYING);
    }

    TestFolder folder;
    platform::Harness harness;
    std::unique_ptr<TKestovForm> form;
};

TEST_F(GameSoundTest, StartUpMakesTheSoundsTheTuneListAndTheTitleTune) {
    sound::WriteFile("Breakers.MID", sound::MakeMidi(1.0));
    sound::WriteFile("ZnTitle.Mid", sound::MakeMidi(1.0));
    sound::WriteFile("harbour.rmi", sound::MakeRmi(sound::MakeMidi(1.0)));
    StartForm();
    ExpectTheFourteenSounds();
    const std::vector<std::string> tunes = {"Breakers.MID", "harbour.rmi"};
    EXPECT_EQ(*form->MusicFiles, tunes);
    ASSERT_NE(form->TitleMusic, nullptr);
    ASSERT_NE(form->GameMusic, nullptr);
    EXPECT_NE(form->TitleMusic->Segment, nullptr) << "the title tune is loaded";
    EXPECT_EQ(form->GameMusic->Segment, nullptr) << "the game tune waits for a game";
    form->TitleMusic->Play();
    EXPECT_TRUE(form->TitleMusic->IsPlaying());
    EXPECT_TRUE(harness.MessageBoxes().empty());
}

// The effects are mixed at the player's volume: at 50 % at half their amplitude, at 0 not at all.
// At music volume 0 no tune is synthesised while the game's tune plays on; raised again, it
// sounds.
TEST_F(GameSoundTest, TheEffectsMixAtThePlayersVolumeAndMusicAtZeroIsNotSynthesised) {
    StartForm();
    const auto loudest = [&](double volume) {
        platform::SetPlayerVolumes(volume, 1.0);
        harness.AdvanceClock(3000);  // what played before has ended
        form->BallBounce->Play();
        int peak = 0;
        for (const std::int16_t sample : harness.Audio().Mix(4800)) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        return peak;
    };
    const int full = loudest(1.0);
    EXPECT_GT(full, 1000);
    EXPECT_NEAR(loudest(0.5), full / 2.0, 1.0);
    EXPECT_EQ(loudest(0.0), 0);

    platform::SetPlayerVolumes(1.0, 0.0);
    form->TitleMusic->Play();
    harness.AdvanceClock(500);
    EXPECT_TRUE(form->TitleMusic->IsPlaying()) << "for the game the tune plays on";
    EXPECT_FALSE(harness.Audio().MusicPlaying()) << "but nothing is synthesised";
    platform::SetPlayerVolumes(1.0, 0.5);
    EXPECT_TRUE(harness.Audio().MusicPlaying());
    EXPECT_NEAR(harness.Audio().MusicVolume(), 0.5, 1e-9);
}

// The title screen's sound through the real device and SDL's disk driver: the jingle at about
// its wave's level, then the title tune, heard but softer. Last: the disk driver stays chosen.
TEST_F(GameSoundTest, TheTitleJingleAndTuneAreHeardThroughTheRealDevice) {
    const std::string file = (folder.Path() / "title.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    platform::UseAudio(platform::SdlAudio());
    StartForm();
    const WAVEFORMATEX format = platform::SoundDeviceFormat();
    form->BeginGame->Play();
    for (int pass = 0; pass < 300; ++pass) {  // three seconds of the title screen's passes
        if (!form->TitleMusic->IsPlaying()) {
            form->TitleMusic->Play();
        }
        harness.AdvanceClock(10);
        sound::SleepSeconds(0.01);
    }
    form.reset();  // the last user closes the device, which completes the file

    std::vector<double> samples;
    std::ifstream in(file, std::ios::binary);
    for (std::int16_t sample = 0; in.read(reinterpret_cast<char*>(&sample), sizeof sample);) {
        samples.push_back(sample / 32768.0);
    }
    const auto rms = [&](double from, double to) {
        const double perSecond = static_cast<double>(format.nSamplesPerSec) * format.nChannels;
        const auto first = static_cast<std::size_t>(from * perSecond);
        const auto last = std::min(samples.size(), static_cast<std::size_t>(to * perSecond));
        double sum = 0;
        for (std::size_t i = first; i < last; ++i) {
            sum += samples[i] * samples[i];
        }
        return last > first ? std::sqrt(sum / static_cast<double>(last - first)) : 0.0;
    };
    const BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(FindWave(nullptr, "BeginGame", nullptr, &data, &size));
    double energy = 0;
    for (DWORD i = 0; i < size; ++i) {
        energy += (data[i] - 128.0) * (data[i] - 128.0) / (128.0 * 128.0);
    }
    const double jingleLevel = std::sqrt(energy / size);
    const double jingleSeconds = size / 22050.0;
    const double heard = rms(0, jingleSeconds);
    const double tune = rms(jingleSeconds + 0.2, 3.0);
    EXPECT_NEAR(heard, std::hypot(jingleLevel, tune), jingleLevel / 4)
        << "the jingle over the tune";
    EXPECT_GT(tune, jingleLevel / 3) << "the title tune sounds, not drowned by the effects";
    EXPECT_LT(tune, jingleLevel) << "the tune does not drown the effects";
}

}  // namespace
