// The picture decoders against damaged files: every cut length and every size field set to
// zero, negative and huge values gives an answer, never a crash or a huge allocation.
#include <gtest/gtest.h>

#include "platform/api/bitmap.h"
#include "support/picture_fixture.h"

namespace {

using platform::PictureResult;

COLORREF Stripes(int x, int y) {
    return RGB(static_cast<BYTE>(x * 8), static_cast<BYTE>(y * 8), 90);
}

TEST(DecoderTest, DamagedFilesAreRejectedOrDecodedWithinTheirSize) {
    struct Format {
        std::vector<std::uint8_t> file;
        PictureResult (*decode)(std::span<const std::uint8_t>, platform::Bitmap24&);
        std::vector<std::size_t> sizeFields;  // offsets of 32-bit (BMP) or 16-bit (JPEG) sizes
        int fieldBytes;
        bool lossless;
    };
    auto jpeg = pictures::MakeJpeg(24, 16, Stripes);
    // The frame header's height and width follow its marker, length and precision.
    std::size_t sof = 2;
    while (sof + 1 < jpeg.size() && !(jpeg[sof] == 0xFF && jpeg[sof + 1] == 0xC0)) {
        ++sof;
    }
    ASSERT_LT(sof + 9, jpeg.size());
    const Format formats[] = {
        {pictures::MakeBmp(24, 16, Stripes), platform::DecodeBmp, {2, 10, 14, 18, 22, 34}, 4, true},
        {jpeg, platform::DecodeJpeg, {sof + 5, sof + 7}, 2, false},
    };
    for (const Format& format : formats) {
        platform::Bitmap24 picture;
        ASSERT_EQ(format.decode(format.file, picture), PictureResult::Ok);
        EXPECT_EQ(picture.width, 24);
        if (format.lossless) {
            EXPECT_EQ(picture.Pixel(5, 3), Stripes(5, 3));
        }
        for (std::size_t length = 0; length < format.file.size(); ++length) {
            platform::Bitmap24 cut;
            const PictureResult result = format.decode({format.file.data(), length}, cut);
            EXPECT_TRUE(result != PictureResult::Ok || cut.width * cut.height <= 24 * 16);
        }
        for (std::size_t at : format.sizeFields) {
            for (std::uint32_t value : {0u, 0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
                auto damaged = format.file;
                for (int b = 0; b < format.fieldBytes; ++b) {
                    damaged[at + b] = static_cast<std::uint8_t>(value >> (8 * b));
                }
                platform::Bitmap24 result;
                if (format.decode(damaged, result) == PictureResult::Ok) {
                    // At most the largest picture the decoders hold: 4096 by 4096.
                    EXPECT_LE(static_cast<std::int64_t>(result.width) * result.height,
                              std::int64_t{4096} * 4096);
                }
            }
        }
    }
}

}  // namespace
