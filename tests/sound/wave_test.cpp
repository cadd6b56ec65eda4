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
// Cuts and extreme lengths of every field are the fuzz target's.
Parsed Parse(const Bytes& bytes) {
    const std::size_t length = bytes.size();
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

}  // namespace
