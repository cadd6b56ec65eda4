// The game's start-up of its sounds and music: the fourteen sounds with their copies, the list
// of tunes for play, the title tune; the player's volumes. The game without music is the
// device suites' and the fallbacks' to check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "assets/baked_resources.h"
#include "game/znform.h"
#include "platform/api/audio.h"
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

}  // namespace
