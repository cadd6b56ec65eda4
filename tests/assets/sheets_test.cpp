// The baked sprite sheets: sizes, the colour key rule and where the paddle's frame begins.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "assets/baked_resources.h"
#include "platform/api/bitmap.h"

namespace {

struct Layout {
    int rows, columns, width, height;
};

const std::map<std::string, Layout>& Layouts() {
    static const std::map<std::string, Layout> layouts = {
        {"BmpGulls", {4, 9, 64, 64}},       {"BmpAGulls", {4, 9, 64, 64}},
        {"BmpBAGulls", {4, 9, 64, 64}},     {"BmpBallSheet", {4, 6, 42, 42}},
        {"BmpTennisBalls", {4, 6, 24, 24}}, {"BmpBonusEggs", {8, 13, 32, 32}},
        {"BmpExplosion", {1, 8, 64, 64}},   {"BmpMisc", {1, 7, 64, 64}},
        {"BmpPaddle", {1, 5, 64, 42}},      {"BmpDigits", {1, 13, 24, 24}},
        {"BmpZNText", {4, 1, 336, 40}},
    };
    return layouts;
}

// A decoded sheet, top row first, as 0xRRGGBB.
struct Sheet {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    std::uint32_t Key() const { return At(0, 0); }
};

std::uint16_t To565(std::uint32_t c) {
    return std::uint16_t((((c >> 16) & 0xFF) >> 3) << 11 | (((c >> 8) & 0xFF) >> 2) << 5 |
                         ((c & 0xFF) >> 3));
}

// The sheet as the game decodes it.
Sheet Decode(std::span<const std::uint8_t> bmp) {
    platform::Bitmap24 bitmap;
    EXPECT_EQ(platform::DecodeBmp(bmp, bitmap), platform::PictureResult::Ok);
    Sheet s{bitmap.width, bitmap.height, {}};
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const COLORREF c = bitmap.Pixel(x, y);
            s.pixels.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
    }
    return s;
}

std::map<std::string, Sheet> Sheets() {
    std::map<std::string, Sheet> sheets;
    for (const platform::ResourceEntry& e : BakedResources()) {
        if (e.type == "BITMAP") {
            sheets.emplace(std::string(e.name), Decode(e.bytes));
        }
    }
    return sheets;
}

TEST(Sheets, HaveTheTableSizesAndAKeyThatNoSpritePixelMatchesInRgb565) {
    const auto sheets = Sheets();
    for (const auto& [name, l] : Layouts()) {
        const Sheet& s = sheets.at(name);
        EXPECT_EQ(s.width, l.columns * l.width) << name;
        EXPECT_EQ(s.height, l.rows * l.height) << name;
        const std::uint16_t key565 = To565(s.Key());
        int near = 0;
        for (std::uint32_t p : s.pixels) {
            if (p != s.Key() && To565(p) == key565) {
                ++near;
            }
        }
        EXPECT_EQ(near, 0) << name << ": sprite pixels that turn into the key in RGB565";
    }
}

// A 42-pixel ball at Y 410 rests on the paddle at Y 438: the paddle's first opaque row is 14.
TEST(PaddleSheet, LinesUpWithTheBall) {
    const Sheet s = Sheets().at("BmpPaddle");
    int top = 0;
    while (top < 42 &&
           std::all_of(s.pixels.begin() + top * s.width, s.pixels.begin() + top * s.width + 64,
                       [&](std::uint32_t p) { return p == s.Key(); })) {
        ++top;
    }
    EXPECT_EQ(top, 14);
}

}  // namespace
