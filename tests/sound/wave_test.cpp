// The RIFF wave walker and the wave resource lookup, on good, odd and damaged files.
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

}  // namespace

TEST(ParseWave, FindsTheFormatAndTheSamplesOfAWave) {
    const Bytes wave = sound::MakeWave(kSamples);
    const Parsed parsed = Parse(wave);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(static_cast<const BYTE*>(parsed.format)[0], WAVE_FORMAT_PCM);
    EXPECT_EQ(parsed.size, kSamples.size());
    EXPECT_EQ(Bytes(parsed.data, parsed.data + parsed.size), kSamples);
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
    EXPECT_FALSE(Parse(noSamples).ok);
}

TEST(ParseWave, RejectsAFormatChunkShorterThanTheBasicHeader) {
    Bytes format13 = sound::PcmFormat();
    format13.resize(13);
    EXPECT_FALSE(Parse(Riff({Chunk("fmt ", format13), Chunk("data", kSamples)})).ok);
    Bytes format14 = sound::PcmFormat();
    format14.resize(14);
    EXPECT_TRUE(Parse(Riff({Chunk("fmt ", format14), Chunk("data", kSamples)})).ok);
}

TEST(ParseWave, StepsOverThePadByteAfterAnOddChunk) {
    const Bytes odd = {'a', 'b', 'c'};
    const Parsed before = Parse(
        Riff({Chunk("LIST", odd), Chunk("fmt ", sound::PcmFormat()), Chunk("data", kSamples)}));
    ASSERT_TRUE(before.ok);
    EXPECT_EQ(before.size, kSamples.size());
    const Bytes oddSamples = {9, 8, 7};
    const Parsed oddData =
        Parse(Riff({Chunk("data", oddSamples), Chunk("fmt ", sound::PcmFormat())}));
    ASSERT_TRUE(oddData.ok);
    EXPECT_EQ(Bytes(oddData.data, oddData.data + oddData.size), oddSamples);
}

TEST(ParseWave, KeepsEveryChunkInsideTheFileAndItsRiffLength) {
    Bytes wave = sound::MakeWave(kSamples);
    const std::size_t dataLength = wave.size() - kSamples.size() - 4;
    sound::PutDword(wave, dataLength, static_cast<std::uint32_t>(kSamples.size() + 1));
    EXPECT_FALSE(Parse(wave).ok) << "samples reaching past the end";

    // A RIFF length larger than the resource ends the walk at the resource's real end.
    Bytes longRiff = sound::MakeWave(kSamples);
    sound::PutDword(longRiff, 4, 100000);
    EXPECT_TRUE(Parse(longRiff).ok);
    longRiff.resize(longRiff.size() - 1);
    EXPECT_FALSE(Parse(longRiff).ok);

    // A RIFF length shorter than the file ends the walk there.
    Bytes shortRiff = sound::MakeWave(kSamples);
    sound::PutDword(shortRiff, 4, static_cast<std::uint32_t>(shortRiff.size() - 9));
    EXPECT_FALSE(Parse(shortRiff).ok);

    Bytes longFormat = sound::MakeWave(kSamples);
    sound::PutDword(longFormat, 16, 0xFFFFFFF0);
    EXPECT_FALSE(Parse(longFormat).ok);
}

TEST(ParseWave, RejectsWhatIsNotARiffWave) {
    Bytes wave = sound::MakeWave(kSamples);
    wave[8] = 'A';
    EXPECT_FALSE(Parse(wave).ok);
    wave = sound::MakeWave(kSamples);
    wave[0] = 'r';
    EXPECT_FALSE(Parse(wave).ok);
    EXPECT_FALSE(ParseWave(nullptr, 100, nullptr, nullptr, nullptr));
    const void* format = &wave;
    const BYTE* data = wave.data();
    DWORD size = 7;
    EXPECT_FALSE(ParseWave(wave.data(), 11, &format, &data, &size));
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
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

TEST(FindWave, FindsOnlyWaveResourcesByName) {
    sound::ResourceTable resources;
    const Bytes wave = sound::MakeWave(kSamples);
    resources.Add("BallBounce", "WAV", wave);
    resources.Add("BmpGulls", "BITMAP", wave);
    const BYTE* data = nullptr;
    DWORD size = 0;
    EXPECT_TRUE(FindWave(nullptr, "ballbounce", nullptr, &data, &size));
    EXPECT_EQ(Bytes(data, data + size), kSamples);
    EXPECT_FALSE(FindWave(nullptr, "BmpGulls", nullptr, &data, &size));
    EXPECT_FALSE(FindWave(nullptr, "Cannon", nullptr, &data, &size));
}
