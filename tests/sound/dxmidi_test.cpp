// MIDI tunes on the emulated DirectMusic and the headless audio device: loading, the pending
// start, stopping, tunes that end, the master volume, a missing file keeping the tune, and the
// list of tunes for play.
#include <gtest/gtest.h>

#include <filesystem>

#include "media/dxmidi.h"
#include "support/headless_audio.h"
#include "support/sound_fixture.h"
#include "support/test_folder.h"

namespace {

using sound::WriteFile;

IDirectMusicPerformance* g_performance = nullptr;
IDirectMusicLoader* g_loader = nullptr;

// The performance and loader live for the whole program, as the tunes' module state does, on
// services of their own; each test's tunes play on the device of the test's harness.
class MusicEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        harness_ = std::make_unique<platform::Harness>();
        ASSERT_TRUE(platform::MusicAvailable());
        ASSERT_EQ(
            CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IDirectMusicPerformance, reinterpret_cast<void**>(&g_performance)),
            S_OK);
        ASSERT_EQ(g_performance->Init(nullptr, nullptr, nullptr), S_OK);
        ASSERT_EQ(g_performance->AddPort(nullptr), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IDirectMusicLoader, reinterpret_cast<void**>(&g_loader)),
                  S_OK);
        const LONG top = DMUS_VOLUME_MAX;
        EXPECT_EQ(g_performance->SetGlobalParam(GUID_PerfMasterVolume, &top, sizeof top), S_OK);
    }
    void TearDown() override {
        g_performance->CloseDown();
        g_performance->Release();
        g_loader->Release();
        harness_.reset();
    }

  private:
    std::unique_ptr<platform::Harness> harness_;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new MusicEnvironment);

class MusicTest : public ::testing::Test {
  protected:
    // Plays the tune and lets the prepare time pass, so the performance reports it sounding.
    void StartAndReport(TDXMidi& tune) {
        tune.Play();
        harness.AdvanceClock(200);
        ASSERT_TRUE(tune.IsPlaying());
        ASSERT_FALSE(tune.StartPending);
    }

    TestFolder folder;
    platform::Harness harness;
};

TEST_F(MusicTest, ATunePlaysFromPlayUntilItEndsOrIsStoppedAndStartsAgainWhenPlayed) {
    WriteFile("tune.mid", sound::MakeMidi(0.5));
    TDXMidi tune(g_performance, g_loader);
    EXPECT_FALSE(tune.IsPlaying()) << "nothing loaded";
    ASSERT_TRUE(tune.Load("tune.mid"));
    EXPECT_FALSE(tune.IsPlaying()) << "loaded, never started";
    // It counts as playing from Play on, before the performance reports it after its prepare
    // time.
    tune.Play();
    EXPECT_TRUE(tune.StartPending);
    EXPECT_EQ(g_performance->IsPlaying(tune.Segment, nullptr), S_FALSE);
    EXPECT_TRUE(tune.IsPlaying());
    tune.Stop();
    EXPECT_FALSE(tune.StartPending);
    EXPECT_FALSE(tune.IsPlaying());
    StartAndReport(tune);
    EXPECT_EQ(g_performance->IsPlaying(tune.Segment, nullptr), S_OK);
    harness.AdvanceClock(299);
    EXPECT_TRUE(tune.IsPlaying()) << "the tune lasts half a second";
    harness.AdvanceClock(1);
    EXPECT_FALSE(tune.IsPlaying());
    StartAndReport(tune);
    tune.Stop();
    EXPECT_FALSE(tune.IsPlaying());
}

TEST_F(MusicTest, TheMasterVolumeFallsByATenthEveryTwentyDecibels) {
    IDirectMusicPerformance* performance = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicPerformance, reinterpret_cast<void**>(&performance)),
              S_OK);
    const std::pair<LONG, double> volumes[] = {
        {DMUS_VOLUME_MAX, 1.0}, {5000, 1.0}, {0, 0.1}, {-2000, 0.01}, {-30000, 1e-11}};
    for (const auto& [volume, gain] : volumes) {
        EXPECT_EQ(performance->SetGlobalParam(GUID_PerfMasterVolume, &volume, sizeof volume), S_OK);
        EXPECT_NEAR(harness.Audio().MusicVolume(), gain, gain * 1e-9) << volume;
    }
    performance->Release();
}

TEST_F(MusicTest, StartingAnotherTuneEndsTheFirst) {
    WriteFile("a.mid", sound::MakeMidi(3.0));
    WriteFile("b.mid", sound::MakeMidi(3.0));
    TDXMidi first(g_performance, g_loader);
    TDXMidi second(g_performance, g_loader);
    ASSERT_TRUE(first.Load("a.mid"));
    ASSERT_TRUE(second.Load("b.mid"));
    StartAndReport(first);
    StartAndReport(second);
    EXPECT_FALSE(first.IsPlaying());
    second.Stop();
    first.Stop();
}

TEST_F(MusicTest, LoadingAMissingFileKeepsTheTuneAndABadFileLeavesNone) {
    WriteFile("TUNE.MID", sound::MakeMidi(3.0));
    TDXMidi tune(g_performance, g_loader);
    ASSERT_TRUE(tune.Load("tune.mid")) << "names are found without regard to case";
    IDirectMusicSegment* loaded = tune.Segment;
    EXPECT_FALSE(tune.Load("missing.mid"));
    EXPECT_EQ(tune.Segment, loaded);
    StartAndReport(tune);
    tune.Stop();

    // The file exists, so the old tune is unloaded before the new one fails to read.
    WriteFile("noise.mid", sound::MakeWave(sound::Tone(0.5)));
    EXPECT_FALSE(tune.Load("noise.mid"));
    EXPECT_EQ(tune.Segment, nullptr);
    tune.Play();
    EXPECT_FALSE(tune.IsPlaying());
    sound::Bytes cut = sound::MakeMidi(1.0);
    cut.resize(10);
    WriteFile("cut.mid", cut);
    EXPECT_FALSE(tune.Load("cut.mid"));
}

TEST_F(MusicTest, RiffMidiFilesPlayTheirMidiData) {
    WriteFile("tune.rmi", sound::MakeRmi(sound::MakeMidi(3.0)));
    TDXMidi tune(g_performance, g_loader);
    ASSERT_TRUE(tune.Load("tune.rmi"));
    StartAndReport(tune);
    tune.Stop();
    sound::Bytes cut = sound::MakeRmi(sound::MakeMidi(3.0));
    sound::PutDword(cut, 16, 100000);  // the data chunk reaches past the end
    WriteFile("cut.rmi", cut);
    EXPECT_FALSE(tune.Load("cut.rmi"));
}

TEST_F(MusicTest, TheTunesForPlayAreTheMidiFilesButTheTitleTuneThenRiffMidiFiles) {
    EXPECT_EQ(FindMusicFiles(), std::vector<std::string>{"zntitle.mid"}) << "none at all";
    WriteFile("ZNTitle.MID", sound::MakeMidi(1.0));
    WriteFile("Sunset.mid", sound::MakeMidi(1.0));
    EXPECT_EQ(FindMusicFiles(), std::vector<std::string>{"Sunset.mid"});
    WriteFile("b.rmi", sound::MakeRmi(sound::MakeMidi(1.0)));
    WriteFile("A.RMI", sound::MakeRmi(sound::MakeMidi(1.0)));
    WriteFile("calypso.MID", sound::MakeMidi(1.0));
    WriteFile("notes.txt", {});
    std::filesystem::create_directory("folder.mid");
    const std::vector<std::string> expected = {"calypso.MID", "Sunset.mid", "A.RMI", "b.rmi"};
    EXPECT_EQ(FindMusicFiles(), expected);
}

TEST(Ansi, TextSurvivesTheWayToUtf16AndBack) {
    const std::string names[] = {"zntitle.mid", "M\xC3\xBCsik \xE2\x99\xAB.mid",
                                 "\xF0\x9F\x90\xA6.mid", "bad\xFF\xC3.mid", ""};
    for (const std::string& name : names) {
        EXPECT_EQ(platform::WideToAnsi(platform::AnsiToWide(name)), name);
    }
    EXPECT_EQ(platform::AnsiToWide("M\xC3\xBCsik"), u"M\u00FCsik");
    EXPECT_EQ(platform::AnsiToWide("\xF0\x9F\x90\xA6").size(), 2u);
}

}  // namespace
