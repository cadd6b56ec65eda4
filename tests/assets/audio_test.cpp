// The baked sounds and tunes as the game finds them: the waves' format and length, and the
// tunes' length.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/baked_resources.h"
#include "media/dxmidi.h"
#include "media/dxsfx.h"
#include "support/harness.h"

namespace {

std::uint32_t Le(const void* at, int n) {
    std::uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) {
        v = (v << 8) | static_cast<const std::uint8_t*>(at)[k];
    }
    return v;
}

const std::vector<std::string> kSounds = {
    "BeginLevel",   "BallBounce",  "GullBounce",   "BeginGame", "AGullBounce",
    "BAGullBounce", "Explosion",   "BazzleBounce", "CreateEgg", "CatchEgg",
    "Fanfare",      "ShotgunFire", "ShotgunHit",   "Cannon"};

TEST(Sounds, ArePcmMono22050Hz8BitAndShort) {
    platform::SetModuleResources(BakedResources());
    for (const std::string& name : kSounds) {
        // As the game finds them: the format block and the samples.
        const void* format = nullptr;
        const BYTE* data = nullptr;
        DWORD size = 0;
        ASSERT_TRUE(FindWave(nullptr, name.c_str(), &format, &data, &size)) << name;
        const auto* f = static_cast<const BYTE*>(format);
        EXPECT_EQ(Le(f, 2), 1u) << name;  // PCM
        EXPECT_EQ(Le(f + 2, 2), 1u) << name;
        EXPECT_EQ(Le(f + 4, 4), 22050u) << name;
        EXPECT_EQ(Le(f + 14, 2), 8u) << name;
        EXPECT_GT(size / 22050.0, 0.05) << name;
        EXPECT_LT(size / 22050.0, 2.0) << name;
    }
}

// Each tune as the game loads it from its folder: the title tune and at least four for play, each
// from one to three minutes long on the headless device's clock.
TEST(Music, TheTitleAndFourGameTunesLoadAndLastOneToThreeMinutes) {
    platform::Harness harness;
    IDirectMusicPerformance* performance = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicPerformance, reinterpret_cast<void**>(&performance)),
              S_OK);
    ASSERT_EQ(performance->Init(nullptr, nullptr, nullptr), S_OK);
    ASSERT_EQ(performance->AddPort(nullptr), S_OK);
    IDirectMusicLoader* loader = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicLoader, reinterpret_cast<void**>(&loader)),
              S_OK);
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(ZINTREL_GAME_DIR);
    std::vector<std::string> tunes = FindMusicFiles();
    EXPECT_GE(tunes.size(), 4u);
    tunes.push_back("zntitle.mid");
    for (const std::string& name : tunes) {
        TDXMidi tune(performance, loader);
        ASSERT_TRUE(tune.Load(name)) << name;
        tune.Play();
        harness.AdvanceClock(60'000);
        EXPECT_TRUE(tune.IsPlaying()) << name;
        harness.AdvanceClock(120'000);
        EXPECT_FALSE(tune.IsPlaying()) << name;
    }
    std::filesystem::current_path(home);
    loader->Release();
    performance->CloseDown();
    performance->Release();
}

}  // namespace
