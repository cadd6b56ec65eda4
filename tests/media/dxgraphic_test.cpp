// TDXGraphic: keys, clipped and queued drawing, restore and failures. A sheet's grid of frames
// is the sprites' and the screens' to check, masks and their collisions the sprites' and the
// recorded games'.
#include <gtest/gtest.h>

#include "media/bltqueue.h"
#include "media/dxerrors.h"
#include "platform/api/forms.h"
#include "support/picture_fixture.h"

namespace {

using pictures::kMagenta;
using pictures::Rgb565;

// Frame i of the test sheet: magenta, with a block of its own colour at (4, 4)-(12, 12).
COLORREF FrameColour(int frame) {
    return RGB(static_cast<BYTE>(40 * (frame + 1)), 200, static_cast<BYTE>(255 - 30 * frame));
}

// A sheet of 2 rows by 3 columns of 20 by 16 frames.
COLORREF TestSheet(int x, int y) {
    const int frame = (y / 16) * 3 + x / 20;
    const int fx = x % 20;
    const int fy = y % 16;
    return (fx >= 4 && fx < 12 && fy >= 4 && fy < 12) ? FrameColour(frame) : kMagenta;
}

class GraphicTest : public pictures::PictureTest {
  protected:
    void SetUp() override {
        PictureTest::SetUp();
        AddResource("BmpTest", pictures::MakeBmp(60, 32, TestSheet));
    }

    std::unique_ptr<TDXGraphic> LoadTestSheet(bool colorKey = true, bool masks = true) {
        auto sheet = TransparentGraphic();
        sheet->LoadFromResource(dd, "BmpTest", 2, 3, 20, 16, colorKey, masks);
        return sheet;
    }

    // Whether frame 0 drawn over grey leaves the grey where the sheet has its key colour.
    bool DrawsKeyed(TDXGraphic& sheet) {
        const std::uint16_t grey = Rgb565(RGB(128, 128, 128));
        Fill(screen, grey);
        sheet.DrawFrame(screen, 0, 0, 0);
        return Pixel(screen, 0, 0) == grey && Pixel(screen, 5, 5) != grey;
    }

    template <typename X>
    static std::string MessageOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const X& error) {
            return error.Message();
        }
        return "nothing raised";
    }
};

TEST_F(GraphicTest, SheetWithoutKeyOrMasksIsOpaqueAndMasksImplyTheKey) {
    for (const bool masks : {false, true}) {
        auto sheet = LoadTestSheet(false, masks);
        EXPECT_EQ(DrawsKeyed(*sheet), masks);
        EXPECT_EQ(sheet->Masks.size(), masks ? 6u : 0u);
    }
}

TEST_F(GraphicTest, FailuresRaiseTheirExceptionsWithTheirMessages) {
    auto sheet = TransparentGraphic();
    EXPECT_EQ(MessageOf<XFileNotExist>(
                  [&] { sheet->LoadFromFile(dd, "ZNTitle.jpg", 1, 1, 640, 480, false, false); }),
              "Failure loading ZNTitle.jpg: File does not exists");
    EXPECT_EQ(sheet->Surface, nullptr);

    pictures::WriteFile("broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});
    EXPECT_EQ(MessageOf<XInvalidFormat>(
                  [&] { sheet->LoadFromFile(dd, "broken.jpg", 1, 1, 640, 480, false, false); }),
              "The graphics format of broken.jpg is invalid");
    AddResource("BmpBroken", {'B', 'M', 0, 0});
    EXPECT_EQ(MessageOf<XInvalidFormat>(
                  [&] { sheet->LoadFromResource(dd, "BmpBroken", 1, 1, 8, 8, true, false); }),
              "The graphics format of BmpBroken is invalid");
    EXPECT_EQ(MessageOf<XFileNotExist>(
                  [&] { sheet->LoadFromResource(dd, "BmpNone", 1, 1, 8, 8, true, false); }),
              "Failure loading BmpNone: File does not exists");

    harness.Fail(platform::Fault::OffscreenSurface);
    EXPECT_EQ(MessageOf<XDXException>([&] { LoadTestSheet(); }),
              "DirectX error: DDERR_OUTOFMEMORY");
    harness.Fail(platform::Fault::SurfaceQuery);
    try {
        LoadTestSheet();
        ADD_FAILURE() << "the failed query went unnoticed";
    } catch (const XDXException& error) {
        EXPECT_EQ(error.Code, E_NOINTERFACE);
        EXPECT_EQ(error.ObjectName, "BmpTest");
    }
    harness.Fail(platform::Fault::GetDC);
    EXPECT_EQ(MessageOf<XDXException>([&] { LoadTestSheet(); }),
              "DirectX error: Windows cannot create device context for BmpTest");
}

TEST_F(GraphicTest, ImmediateBlitFailures) {
    auto sheet = LoadTestSheet();
    sheet->AcquireDC();
    EXPECT_EQ(MessageOf<Exception>([&] { sheet->DrawFrame(screen, 0, 0, 0); }),
              "DDERR_SURFACEBUSY");
    sheet->ReleaseDC();
    harness.LoseSurfaces();
    EXPECT_THROW(sheet->DrawFrame(screen, 0, 0, 0), XSurfaceLost);
    EXPECT_THROW(sheet->AcquireDC(), XSurfaceLost);
}

TEST_F(GraphicTest, DrawFrameClipsAgainstTheScreen) {
    auto sheet = LoadTestSheet(true, false);
    const std::uint16_t grey = Rgb565(RGB(128, 128, 128));
    const std::uint16_t block = Rgb565(FrameColour(0));
    struct Case {
        int x, y;
        RECT visibleBlock;  // where frame 0's block must land, empty when off screen
    };
    const Case cases[] = {
        {-6, 100, {0, 104, 6, 112}},       // left columns cut: block columns 6..11 remain
        {630, 100, {634, 104, 640, 112}},  // right edge: 640 - 20 + 10, last 10 columns cut
        {300, -8, {304, 0, 312, 4}},       // top rows cut
        {300, 470, {304, 474, 312, 480}},  // bottom edge
        {-20, 100, {0, 0, 0, 0}},          // x = -FrameWidth: wholly off
        {640, 100, {0, 0, 0, 0}},          // x = 640
        {300, 480, {0, 0, 0, 0}},         {-1000, -1000, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Fill(screen, grey);
        EXPECT_NO_THROW(sheet->DrawFrame(screen, 0, c.x, c.y));
        const RECT& v = c.visibleBlock;
        const int area = (v.right - v.left) * (v.bottom - v.top);
        EXPECT_EQ(Count(screen, v, block), area) << c.x << "," << c.y;
        EXPECT_EQ(Count(screen, {0, 0, 640, 480}, block), area) << c.x << "," << c.y;
        // The key colour never reaches the screen.
        EXPECT_EQ(Count(screen, {0, 0, 640, 480}, grey), 640 * 480 - area);
    }
}

TEST_F(GraphicTest, QueueFrameQueuesTheClippedCopyWithTheQueuedFlags) {
    auto sheet = LoadTestSheet();
    BltQueue queue;
    queue.Reset();
    sheet->QueueFrame(queue, 5, -10, 470);
    sheet->QueueFrame(queue, 5, 700, 0);  // off screen: not queued
    ASSERT_EQ(queue.Count, 1);
    const BltEntry& fast = queue.Entries[0];
    EXPECT_EQ(fast.Kind, BltQueue::kBltFast);
    EXPECT_EQ(fast.Source, (RECT{50, 16, 60, 26}));
    EXPECT_EQ(fast.Dest, (RECT{0, 470, 10, 480}));
    EXPECT_EQ(fast.FastFlags, DDBLTFAST_SRCCOLORKEY);
    EXPECT_EQ(fast.BlitFlags, DDBLT_KEYSRC | DDBLT_ASYNC);
    EXPECT_EQ(fast.SourceSurface, sheet->Surface);
}

TEST_F(GraphicTest, RestoreRefillsALostSurfaceOrReplacesADeadOneKeyedAsBefore) {
    auto sheet = LoadTestSheet();
    harness.LoseSurfaces();
    screen->Restore();
    IDirectDrawSurface3* before = sheet->Surface;
    sheet->Restore(dd);
    EXPECT_EQ(sheet->Surface, before);
    EXPECT_EQ(Pixel(sheet->Surface, 45, 20), Rgb565(FrameColour(5)));
    EXPECT_TRUE(DrawsKeyed(*sheet));

    harness.KillSurfaces(DDERR_WRONGMODE);
    sheet->Restore(dd);
    EXPECT_EQ(sheet->Surface->Restore(), DD_OK);
    EXPECT_EQ(Pixel(sheet->Surface, 45, 20), Rgb565(FrameColour(5)));
    screen = Offscreen(640, 480);  // the old one died with the rest
    EXPECT_TRUE(DrawsKeyed(*sheet));

    harness.KillSurfaces(DDERR_GENERIC);
    EXPECT_EQ(
        MessageOf<XDXException>([&] { sheet->Restore(dd); }),
        "DirectX error: An undefined DirectX exception has occurred while processing BmpTest");
}

TEST_F(GraphicTest, KeyedCopiesFollowChangesOfTheSheetsPixelsAndKey) {
    auto sheet = LoadTestSheet(true, false);
    const std::uint16_t grey = Rgb565(RGB(128, 128, 128));
    const std::uint16_t red = Rgb565(RGB(255, 0, 0));
    const RECT frame{0, 0, 20, 16};
    Fill(screen, grey);
    sheet->DrawFrame(screen, 0, 0, 0);
    ASSERT_EQ(Count(screen, frame, grey), 20 * 16 - 64);

    // A fill over the key colour makes those pixels opaque.
    DDBLTFX fx;
    fx.dwFillColor = red;
    const RECT strip{0, 14, 20, 16};
    ASSERT_EQ(sheet->Surface->Blt(&strip, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
              DD_OK);
    sheet->DrawFrame(screen, 0, 0, 0);
    EXPECT_EQ(Count(screen, frame, red), 40);

    // Pixels written through a lock count too.
    DDSURFACEDESC desc;
    ASSERT_EQ(sheet->Surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    static_cast<std::uint16_t*>(desc.lpSurface)[1] = red;
    sheet->Surface->Unlock(nullptr);
    sheet->DrawFrame(screen, 0, 0, 0);
    EXPECT_EQ(Pixel(screen, 1, 0), red);

    // A new key: the old key colour is copied, the new one skipped.
    Fill(screen, grey);
    const DDCOLORKEY key{red, red};
    sheet->Surface->SetColorKey(DDCKEY_SRCBLT, &key);
    sheet->DrawFrame(screen, 0, 0, 0);
    EXPECT_EQ(Count(screen, frame, red), 0);
    EXPECT_EQ(Count(screen, frame, Rgb565(kMagenta)), 20 * 16 - 64 - 41);
}

}  // namespace
