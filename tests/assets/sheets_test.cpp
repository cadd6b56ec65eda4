// The baked sprite sheets: sizes, the colour key rule, gull masks and the paddle's frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
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

// Opaque pixels of one frame, one bit per pixel row-major.
std::vector<bool> Mask(const Sheet& s, const Layout& l, int frame) {
    std::vector<bool> mask;
    const int x0 = (frame % l.columns) * l.width, y0 = (frame / l.columns) * l.height;
    for (int y = 0; y < l.height; ++y) {
        for (int x = 0; x < l.width; ++x) {
            mask.push_back(s.At(x0 + x, y0 + y) != s.Key());
        }
    }
    return mask;
}

int Count(const std::vector<bool>& mask) {
    return int(std::count(mask.begin(), mask.end(), true));
}

TEST(BakedTable, HoldsElevenSheetsAndFourteenWavesEachMatchingItsFile) {
    const std::vector<std::string> waves = {
        "BeginLevel",   "BallBounce",  "GullBounce",   "BeginGame", "AGullBounce",
        "BAGullBounce", "Explosion",   "BazzleBounce", "CreateEgg", "CatchEgg",
        "Fanfare",      "ShotgunFire", "ShotgunHit",   "Cannon"};
    std::map<std::string, std::string> seen;
    for (const platform::ResourceEntry& e : BakedResources()) {
        seen[std::string(e.name)] = std::string(e.type);
        const std::string file = std::string(ZINTREL_RESOURCE_DIR) + "/" + std::string(e.name) +
                                 (e.type == "BITMAP" ? ".bmp" : ".wav");
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        ASSERT_EQ(bytes.size(), e.bytes.size()) << file;
        EXPECT_EQ(std::memcmp(bytes.data(), e.bytes.data(), bytes.size()), 0) << file;
    }
    EXPECT_EQ(seen.size(), 25u);
    for (const auto& [name, layout] : Layouts()) {
        EXPECT_EQ(seen[name], "BITMAP") << name;
    }
    for (const std::string& name : waves) {
        EXPECT_EQ(seen[name], "WAV") << name;
    }
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

TEST(GullMasks, OneWingBeatEachWayMirroredAndTheThreeKindsDiffer) {
    const auto sheets = Sheets();
    const Layout& l = Layouts().at("BmpGulls");
    for (const char* name : {"BmpGulls", "BmpAGulls", "BmpBAGulls"}) {
        const Sheet& s = sheets.at(name);
        int changes = 0;
        for (int f = 0; f < 18; ++f) {
            const std::vector<bool> left = Mask(s, l, f), right = Mask(s, l, f + 18);
            const int area = Count(left);
            EXPECT_GT(area, 400) << name << " frame " << f;
            EXPECT_LT(area, 1800) << name << " frame " << f;
            // The right-facing frame is the left-facing one mirrored.
            int mismatched = 0;
            for (int y = 0; y < l.height; ++y) {
                for (int x = 0; x < l.width; ++x) {
                    mismatched += left[y * l.width + x] != right[y * l.width + (l.width - 1 - x)];
                }
            }
            EXPECT_LT(mismatched, area / 50) << name << " frame " << f;
            const std::vector<bool> next = Mask(s, l, (f + 1) % 18);
            int moved = 0;
            for (std::size_t i = 0; i < left.size(); ++i) {
                moved += left[i] != next[i];
            }
            changes += moved > 20;
        }
        EXPECT_EQ(changes, 18) << name << ": every frame of the beat moves the wings";
    }
    // Average colour of the opaque pixels: the three kinds stand apart.
    auto brightness = [&](const char* name) {
        const Sheet& s = sheets.at(name);
        double sum = 0;
        int n = 0;
        for (std::uint32_t p : s.pixels) {
            if (p != s.Key()) {
                sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
                ++n;
            }
        }
        return sum / n;
    };
    EXPECT_GT(brightness("BmpGulls") - brightness("BmpBAGulls"), 60);
    EXPECT_GT(brightness("BmpBAGulls") - brightness("BmpAGulls"), 40);
}

TEST(PaddleSheet, LinesUpWithTheBallTheUmbrellaAndTheShots) {
    const auto sheets = Sheets();
    const Layout& l = Layouts().at("BmpPaddle");
    const Sheet& s = sheets.at("BmpPaddle");
    auto firstRow = [&](int frame) {
        const std::vector<bool> m = Mask(s, l, frame);
        for (int y = 0; y < l.height; ++y) {
            if (std::count(m.begin() + y * l.width, m.begin() + (y + 1) * l.width, true) > 0) {
                return y;
            }
        }
        return l.height;
    };
    EXPECT_EQ(firstRow(0), 14);  // a 42-pixel ball at Y 410 rests on the paddle at Y 438
    // The canopy is above the paddle top (30 pixels higher on screen).
    EXPECT_LT(firstRow(2), 4);
    // The shot, drawn 23 pixels either side of the paddle's left edge, lands on the barrels.
    const std::vector<bool> barrels = Mask(s, l, 3), shot = Mask(s, l, 4);
    for (int offset : {-23, 23}) {
        int onBarrel = 0, total = 0;
        for (int y = 0; y < l.height; ++y) {
            for (int x = 0; x < l.width; ++x) {
                if (shot[y * l.width + x]) {
                    ++total;
                    const int bx = x + offset;
                    bool near = false;
                    for (int by = 0; by < l.height && bx >= 0 && bx < l.width; ++by) {
                        near = near || barrels[by * l.width + bx];
                    }
                    onBarrel += near;
                }
            }
        }
        EXPECT_EQ(onBarrel, total) << "shot at offset " << offset;
    }
}

}  // namespace
