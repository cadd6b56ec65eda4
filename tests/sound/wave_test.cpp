// The RIFF wave walker on good, odd and damaged files.
#include <gtest/gtest.h>

#include <memory>

#include "media/dxsfx.h"
#include "support/sound_fixture.h"

namespace {

using sound::Bytes;
using sound::Chunk;

struct Parsed {
    bool ok = false;
    const void* format = nullptr;
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Parses a copy of exactly the given bytes, so that a read past them is a fault a sanitizer sees.
Parsed Parse(const Bytes& bytes, std::size_t length) {
    static std::unique_ptr<BYTE[]> copy;
    copy = std::make_unique<BYTE[]>(length + 1);
    std::copy_n(bytes.begin(), length, copy.get());
    Parsed out;
    out.ok = ParseWave(copy.get(), static_cast<DWORD>(length), &out.format, &out.data, &out.size);
    if (out.ok) {
        const BYTE* begin = copy.get();
        EXPECT_GE(static_cast<const BYTE*>(out.format), begin);
        EXPECT_LE(static_cast<const BYTE*>(out.format) + 14, begin + length);
        EXPECT_GE(out.data, begin);
        EXPECT_LE(out.data + out.size, begin + length);
    }
    return out;
}

Parsed Parse(const Bytes& bytes) {
    return Parse(bytes, bytes.size());
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    Bytes riff{'R', 'I', 'F', 'F', 0, 0, 0, 0};
    sound::PutDword(riff, 4, static_cast<std::uint32_t>(body.size()));
    riff.insert(riff.end(), body.begin(), body.end());
    return riff;
}

const Bytes kSamples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

TEST(ParseWave, FindsTheFormatAndSamplesOfGoodAndOddWavesAndRefusesDamagedOnes) {
    const Bytes wave = sound::MakeWave(kSamples);
    const auto with = [&](std::size_t at, std::size_t value) {
        Bytes bytes = wave;
        sound::PutDword(bytes, at, static_cast<std::uint32_t>(value));
        return bytes;
    };
    Bytes format13 = sound::PcmFormat();
    format13.resize(13);
    Bytes format14 = sound::PcmFormat();
    format14.resize(14);
    Bytes longRiffCut = with(4, 100000);
    longRiffCut.pop_back();
    Bytes notWave = wave;
    notWave[8] = 'A';
    Bytes notRiff = wave;
    notRiff[0] = 'r';
    const Bytes odd = {9, 8, 7};
    const struct {
        const char* what;
        Bytes bytes;
        Bytes samples;  // none: refused
    } cases[] = {
        {"a wave", wave, kSamples},
        {"the basic format header alone", Riff({Chunk("fmt ", format14), Chunk("data", kSamples)}),
         kSamples},
        {"a format shorter than the basic header",
         Riff({Chunk("fmt ", format13), Chunk("data", kSamples)}),
         {}},
        {"a pad byte after an odd chunk",
         Riff({Chunk("LIST", {'a', 'b', 'c'}), Chunk("fmt ", sound::PcmFormat()),
               Chunk("data", kSamples)}),
         kSamples},
        {"odd samples first", Riff({Chunk("data", odd), Chunk("fmt ", sound::PcmFormat())}), odd},
        {"no samples", Riff({Chunk("fmt ", sound::PcmFormat())}), {}},
        {"samples past the end", with(wave.size() - kSamples.size() - 4, kSamples.size() + 1), {}},
        // The RIFF length ends the walk, but never past the resource's real end.
        {"a RIFF length past the end", with(4, 100000), kSamples},
        {"a RIFF length past the end of a cut wave", longRiffCut, {}},
        {"a RIFF length short of the file", with(4, wave.size() - 9), {}},
        {"a format past the end", with(16, 0xFFFFFFF0), {}},
        {"not a WAVE", notWave, {}},
        {"not a RIFF", notRiff, {}},
    };
    for (const auto& c : cases) {
        const Parsed parsed = Parse(c.bytes);
        EXPECT_EQ(parsed.ok, !c.samples.empty()) << c.what;
        if (parsed.ok) {
            EXPECT_EQ(static_cast<const BYTE*>(parsed.format)[0], WAVE_FORMAT_PCM) << c.what;
            EXPECT_EQ(Bytes(parsed.data, parsed.data + parsed.size), c.samples) << c.what;
        }
    }
    // Nothing to parse: every output is cleared.
    EXPECT_FALSE(ParseWave(nullptr, 100, nullptr, nullptr, nullptr));
    const void* format = &wave;
    const BYTE* data = wave.data();
    DWORD size = 7;
    EXPECT_FALSE(ParseWave(wave.data(), 11, &format, &data, &size));
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST(ParseWave, LooksOnlyForTheOutputsAsked) {
    // A format chunk too short for a format is no obstacle when only the samples are wanted,
    // and a wave without samples still gives its format.
    const Bytes shortFormat = Riff({Chunk("fmt ", Bytes(10)), Chunk("data", kSamples)});
    const BYTE* data = nullptr;
    DWORD size = 0;
    EXPECT_TRUE(ParseWave(shortFormat.data(), static_cast<DWORD>(shortFormat.size()), nullptr,
                          &data, &size));
    EXPECT_EQ(size, kSamples.size());
    const void* format = nullptr;
    EXPECT_FALSE(ParseWave(shortFormat.data(), static_cast<DWORD>(shortFormat.size()), &format,
                           nullptr, nullptr));
    const Bytes noSamples = Riff({Chunk("fmt ", sound::PcmFormat())});
    EXPECT_TRUE(ParseWave(noSamples.data(), static_cast<DWORD>(noSamples.size()), &format, nullptr,
                          nullptr));
    EXPECT_NE(format, nullptr);
}

TEST(ParseWave, SurvivesEveryCutAndEveryExtremeLength) {
    const Bytes wave = sound::MakeWave(kSamples);
    for (std::size_t length = 0; length < wave.size(); ++length) {
        EXPECT_FALSE(Parse(wave, length).ok) << "cut at " << length;
    }
    // The three length fields: the RIFF's, the format chunk's and the samples'.
    const std::size_t fields[] = {4, 16, 16 + 4 + 16 + 4};
    const std::uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
    for (std::size_t field : fields) {
        for (std::uint32_t value : values) {
            Bytes damaged = wave;
            sound::PutDword(damaged, field, value);
            const Parsed parsed = Parse(damaged);
            if (parsed.ok) {
                EXPECT_LE(parsed.size, kSamples.size()) << field << " = " << value;
            }
        }
    }
}

}  // namespace
