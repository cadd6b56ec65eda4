// Text on a picture's device context: fonts, heights, weights and frames. Where the screens put
// their lines, aligned and coloured, is the screens' suites' to check on the pictures they show.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/api/gdi_objects.h"
#include "support/picture_fixture.h"

namespace {

using pictures::Rgb565;

class TextTest : public pictures::PictureTest {
  protected:
    void SetUp() override {
        PictureTest::SetUp();
        AddResource("BmpBlack", pictures::MakeBmp(1, 1, [](int, int) { return RGB(0, 0, 0); }));
        picture = OpaqueGraphic();
        picture->LoadFromResource(dd, "BmpBlack", 1, 1, 640, 480, false, false);
    }

    // The bounding box of the pixels that are not black.
    RECT Inked() {
        RECT box{640, 480, -1, -1};
        DDSURFACEDESC desc;
        EXPECT_EQ(picture->Surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
        for (int y = 0; y < 480; ++y) {
            const auto* row = reinterpret_cast<const std::uint16_t*>(
                static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch);
            for (int x = 0; x < 640; ++x) {
                if (row[x] != 0) {
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
                }
            }
        }
        picture->Surface->Unlock(nullptr);
        return box;
    }

    // Draws one line with a fresh font, as the screens do, and reports its ink.
    RECT DrawLine(UINT align, int x, int y, const char* text, int weight = 400, int points = 12) {
        picture->Clear();
        HDC dc = picture->AcquireDC();
        HFONT font = CreateScreenFont(dc, "Arial", points, weight);
        EXPECT_NE(font, nullptr);
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        SetTextAlign(dc, align);
        picture->DrawText(x, y, text);
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
        picture->ReleaseDC();
        return Inked();
    }

    std::unique_ptr<TDXGraphic> picture;
};

TEST_F(TextTest, FontsAskForTheCharacterHeightAt96PixelsPerInchAndGlyphsFollow) {
    HDC dc = picture->AcquireDC();
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    for (auto [points, height] : {std::pair{10, -13}, {12, -16}, {14, -18}}) {
        HFONT font = CreateScreenFont(dc, "Arial", points, 600);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->logfont.lfHeight, height) << points;
        EXPECT_EQ(font->logfont.lfWeight, 600);
        DeleteObject(font);
    }
    picture->ReleaseDC();
    // A capital H is about 0.72 of the character height in the Arial metrics; the top of the
    // cell is y, and the capital starts below the internal leading.
    for (auto [points, cap] : {std::pair{10, 9}, {14, 13}}) {
        const RECT ink = DrawLine(TA_LEFT, 100, 100, "H", 400, points);
        EXPECT_NEAR(ink.bottom - ink.top, cap, 1) << points;
        EXPECT_GE(ink.top, 101);
        EXPECT_LE(ink.top, 105);
    }
}

TEST_F(TextTest, BoldIsWiderAndGlyphEdgesAreAntiAliased) {
    const RECT normal = DrawLine(TA_LEFT, 10, 10, "Scoring", 400);
    const int white = Count(picture->Surface, normal, Rgb565(RGB(255, 255, 255)));
    const int inked = (normal.right - normal.left) * (normal.bottom - normal.top) -
                      Count(picture->Surface, normal, 0);
    EXPECT_GT(white, 0);
    EXPECT_GT(inked, white);  // partly covered pixels carry shades between the ink and black
    const RECT bold = DrawLine(TA_LEFT, 10, 10, "Scoring", 700);
    EXPECT_GT(bold.right - bold.left, normal.right - normal.left);
}

TEST_F(TextTest, FrameRectOutlinesWithASolidBrush) {
    picture->Clear();
    HDC dc = picture->AcquireDC();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT box{100, 100, 150, 120};
    FrameRect(dc, &box, red);
    const RECT small{200, 200, 210, 210};
    FrameRect(dc, &small, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    picture->ReleaseDC();
    EXPECT_EQ(Count(picture->Surface, box, Rgb565(RGB(255, 0, 0))), 2 * 50 + 2 * 18);
    EXPECT_EQ(Pixel(picture->Surface, 150, 100), 0);  // right and bottom are exclusive
    EXPECT_EQ(Pixel(picture->Surface, 209, 209), 0xFFFF);
}

}  // namespace
