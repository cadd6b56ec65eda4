// The baked sounds and tunes: wave format and length, as the game finds them; MIDI structure
// and length.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/baked_resources.h"
#include "media/dxsfx.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le(const void* at, int n) {
    std::uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) {
        v = (v << 8) | static_cast<const std::uint8_t*>(at)[k];
    }
    return v;
}

std::uint32_t Be(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int k = 0; k < n; ++k) {
        v = (v << 8) | b.at(at + k);
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

// A parsed standard MIDI file: its length in seconds and whether each track ends.
struct Midi {
    int format = -1, tracks = 0, division = 0;
    double seconds = 0;
    bool everyTrackEnds = true;
};

Midi ParseMidi(const Bytes& b) {
    Midi m;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
    EXPECT_EQ(Be(b, 4, 4), 6u);
    m.format = int(Be(b, 8, 2));
    m.tracks = int(Be(b, 10, 2));
    m.division = int(Be(b, 12, 2));
    std::size_t at = 14;
    std::uint32_t tempo = 500000;
    std::uint64_t lastTick = 0;
    for (int t = 0; t < m.tracks; ++t) {
        EXPECT_EQ(std::string(b.begin() + at, b.begin() + at + 4), "MTrk");
        const std::size_t end = at + 8 + Be(b, at + 4, 4);
        EXPECT_LE(end, b.size());
        std::size_t p = at + 8;
        std::uint64_t tick = 0;
        bool ended = false;
        while (p < end && !ended) {
            std::uint32_t delta = 0;
            std::uint8_t c;
            do {
                c = b.at(p++);
                delta = (delta << 7) | (c & 0x7F);
            } while (c & 0x80);
            tick += delta;
            const std::uint8_t status = b.at(p++);
            if (status == 0xFF) {
                const std::uint8_t type = b.at(p++);
                const std::uint8_t len = b.at(p++);
                if (type == 0x51) {
                    tempo = Be(b, p, 3);
                }
                ended = type == 0x2F;
                p += len;
            } else {
                EXPECT_GE(status, 0x80) << "running status is not used";
                p += (status >> 4 == 0xC || status >> 4 == 0xD) ? 1 : 2;
            }
        }
        m.everyTrackEnds = m.everyTrackEnds && ended && p == end;
        lastTick = std::max(lastTick, tick);
        at = end;
    }
    m.seconds = double(lastTick) / m.division * tempo / 1e6;
    return m;
}

std::vector<std::filesystem::path> Tunes() {
    std::vector<std::filesystem::path> tunes;
    for (const auto& entry : std::filesystem::directory_iterator(ZINTREL_GAME_DIR)) {
        if (entry.path().extension() == ".mid") {
            tunes.push_back(entry.path());
        }
    }
    std::sort(tunes.begin(), tunes.end());
    return tunes;
}

TEST(Music, TitleAndFourGameTunesAreWellFormedMidiOfOneToThreeMinutes) {
    const auto tunes = Tunes();
    EXPECT_GE(tunes.size(), 5u);
    EXPECT_TRUE(std::filesystem::exists(std::string(ZINTREL_GAME_DIR) + "/zntitle.mid"));
    for (const auto& path : tunes) {
        const Midi m = ParseMidi(Read(path));
        const std::string name = path.filename().string();
        EXPECT_EQ(m.format, 1) << name;
        EXPECT_GE(m.tracks, 4) << name;
        EXPECT_TRUE(m.everyTrackEnds) << name;
        EXPECT_GE(m.seconds, 60) << name;
        EXPECT_LE(m.seconds, 180) << name;
    }
}

}  // namespace
