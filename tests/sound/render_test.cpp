// The title screen's sound rendered by the real audio device through SDL's disk audio driver:
// the "BeginGame" jingle and the title tune are both in the file, and neither drowns the other.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/baked_resources.h"
#include "media/dxmidi.h"
#include "media/dxsfx.h"
#include "platform/sdl/sdl_audio.h"
#include "support/sound_fixture.h"

namespace {

constexpr double kSeconds = 4.0;
constexpr double kPassSeconds = 0.01;
constexpr int kDecimation = 4;  // the analysis runs at a quarter of the device's rate
constexpr DWORD kWaveRate = 22050;

using Signal = std::vector<double>;

double Rms(const Signal& signal, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        sum += signal[i] * signal[i];
    }
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// The device's 16-bit samples, every channel, in full-scale units.
Signal ReadSamples(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    Signal samples;
    std::int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample)) {
        samples.push_back(sample / 32768.0);
    }
    return samples;
}

// The samples as one channel, averaged in groups for the analysis rate.
Signal Downmix(const Signal& samples, const WAVEFORMATEX& format) {
    const std::size_t group = std::size_t{format.nChannels} * kDecimation;
    Signal mix(samples.size() / group);
    for (std::size_t i = 0; i < mix.size(); ++i) {
        double sum = 0;
        for (std::size_t k = 0; k < group; ++k) {
            sum += samples[i * group + k];
        }
        mix[i] = sum / static_cast<double>(group);
    }
    return mix;
}

// An 8-bit wave at the device's rate, by linear interpolation, grouped as the mix is.
Signal Resample(const BYTE* data, DWORD size, double deviceRate) {
    const double step = kWaveRate / deviceRate;
    Signal out;
    for (double at = 0; at + 1 < size; at += step * kDecimation) {
        double sum = 0;
        for (int k = 0; k < kDecimation; ++k) {
            const double x = std::min(at + k * step, static_cast<double>(size - 1));
            const auto i = static_cast<std::size_t>(x);
            const double a = data[i];
            const double b = data[std::min<std::size_t>(i + 1, size - 1)];
            sum += (a + (b - a) * (x - static_cast<double>(i)) - 128.0) / 128.0;
        }
        out.push_back(sum / kDecimation);
    }
    return out;
}

struct Match {
    std::size_t lag = 0;
    double correlation = 0;
};

// Where the reference lies in the mix, by normalised cross-correlation.
Match Find(const Signal& mix, const Signal& reference, std::size_t maxLag) {
    Match best;
    const double referenceEnergy = Rms(reference, 0, reference.size());
    for (std::size_t lag = 0; lag <= maxLag && lag + reference.size() <= mix.size(); ++lag) {
        double product = 0;
        double energy = 0;
        for (std::size_t i = 0; i < reference.size(); ++i) {
            product += mix[lag + i] * reference[i];
            energy += mix[lag + i] * mix[lag + i];
        }
        const double correlation =
            product / std::sqrt(energy * static_cast<double>(reference.size())) / referenceEnergy;
        if (correlation > best.correlation) {
            best = {lag, correlation};
        }
    }
    return best;
}

TEST(TitleScreenSound, TheJingleAndTheTitleTuneAreBothHeard) {
    platform::Harness harness;
    platform::UseAudio(platform::SdlAudio());
    const std::string file = (std::filesystem::current_path() / "title.raw").string();
    std::filesystem::remove(file);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    platform::SetModuleResources(BakedResources());

    // The form's start-up of sound and music.
    IDirectSound* ds = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), S_OK);
    ASSERT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), S_OK);
    const WAVEFORMATEX mixFormat = platform::SoundDeviceFormat();
    IDirectMusicPerformance* performance = nullptr;
    IDirectMusicLoader* loader = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicPerformance, reinterpret_cast<void**>(&performance)),
              S_OK);
    ASSERT_EQ(performance->Init(nullptr, ds, nullptr), S_OK);
    ASSERT_EQ(performance->AddPort(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicLoader, reinterpret_cast<void**>(&loader)),
              S_OK);
    const LONG top = DMUS_VOLUME_MAX;
    performance->SetGlobalParam(GUID_PerfMasterVolume, &top, sizeof top);

    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(ZINTREL_GAME_DIR);
    {
        TDXSound beginGame;
        beginGame.Create(ds, "BeginGame", 1);
        ASSERT_NE(beginGame.Set, nullptr);
        TDXMidi title(performance, loader);
        ASSERT_TRUE(title.Load("zntitle.mid"));
        // The main loop's pass starts the title tune; the title screen plays the jingle on
        // entry, then keeps the tune going on every pass.
        for (int pass = 0; pass < static_cast<int>(kSeconds / kPassSeconds); ++pass) {
            if (!title.IsPlaying()) {
                title.Play();
            }
            if (pass == 0) {
                beginGame.Play();
            }
            harness.AdvanceClock(kPassSeconds * 1000);
            sound::SleepSeconds(kPassSeconds);
        }
        EXPECT_TRUE(title.IsPlaying());
        EXPECT_FALSE(title.StartPending);
        title.Stop();
    }
    std::filesystem::current_path(home);
    loader->Release();
    performance->CloseDown();
    performance->Release();
    ds->Release();  // the last user closes the device, which completes the file

    const double rate = static_cast<double>(mixFormat.nSamplesPerSec) / kDecimation;
    const Signal samples = ReadSamples(file);
    const Signal mix = Downmix(samples, mixFormat);
    ASSERT_GT(mix.size(), static_cast<std::size_t>(rate * (kSeconds - 1)));
    const BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(FindWave(nullptr, "BeginGame", nullptr, &data, &size));
    const Signal jingle = Resample(data, size, mixFormat.nSamplesPerSec);

    const Match found = Find(mix, jingle, static_cast<std::size_t>(2.0 * rate));
    const std::size_t after = found.lag + jingle.size() + static_cast<std::size_t>(0.1 * rate);
    ASSERT_LT(after + static_cast<std::size_t>(rate), mix.size());
    // Levels on the device's own samples: the effect plays at the wave's level on every channel.
    double waveEnergy = 0;
    for (DWORD i = 0; i < size; ++i) {
        waveEnergy += (data[i] - 128.0) * (data[i] - 128.0) / (128.0 * 128.0);
    }
    const double jingleLevel = std::sqrt(waveEnergy / size);
    const std::size_t perFrame = std::size_t{mixFormat.nChannels} * kDecimation;
    const double tuneLevel = Rms(samples, after * perFrame, samples.size());
    std::size_t clipped = 0;
    for (double sample : samples) {
        clipped += std::abs(sample) >= 32767.0 / 32768.0 ? 1 : 0;
    }
    std::cout << "jingle at " << found.lag / rate << " s, correlation " << found.correlation
              << "; jingle level " << jingleLevel << ", title tune level " << tuneLevel << ", "
              << clipped << " of " << samples.size() << " samples clipped\n";
    EXPECT_GT(found.correlation, 0.5) << "the jingle is in the mix";
    EXPECT_GT(tuneLevel, 0.02) << "the title tune sounds after the jingle";
    EXPECT_GT(tuneLevel, jingleLevel / 3) << "the tune is not drowned by the effects";
    EXPECT_LT(tuneLevel, jingleLevel) << "the tune does not drown the effects";
    EXPECT_LT(clipped, samples.size() / 1000) << "effects over the music seldom clip";
}

}  // namespace
