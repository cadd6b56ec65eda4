// The blit queue: capacity, the resumable flush, the empty flush and its failures.
#include <gtest/gtest.h>

#include "media/bltqueue.h"
#include "media/dxerrors.h"
#include "support/picture_fixture.h"

namespace {

using pictures::Rgb565;

class QueueTest : public pictures::PictureTest {
  protected:
    void SetUp() override {
        PictureTest::SetUp();
        source = Offscreen(1, 1);
        Fill(source, white);
        Fill(screen, 0);
        queue.Reset();
    }

    // Entry i paints pixel (i, 0); waiting entries cannot meet a busy blitter.
    bool AddPixel(int i, bool waits = false) {
        const DWORD fast = waits ? DDBLTFAST_WAIT : DDBLTFAST_NOCOLORKEY;
        return queue.Add({0, 0, 1, 1}, {i, 0, i + 1, 1}, fast, DDBLT_ASYNC, source,
                         BltQueue::kBltFast);
    }
    int Painted() { return Count(screen, {0, 0, 640, 1}, white); }

    const std::uint16_t white = Rgb565(RGB(255, 255, 255));
    IDirectDrawSurface3* source = nullptr;
    BltQueue queue;
};

TEST_F(QueueTest, StartsZeroFilledAndHolds256Entries) {
    BltQueue fresh;
    EXPECT_EQ(fresh.Cursor, nullptr);
    EXPECT_EQ(fresh.Count, 0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(AddPixel(i));
    }
    EXPECT_FALSE(AddPixel(300));  // the 257th is dropped
    EXPECT_EQ(queue.Count, 256);
    EXPECT_TRUE(queue.Flush(screen));
    EXPECT_EQ(Painted(), 256);
    EXPECT_EQ(Pixel(screen, 300, 0), 0);
}

TEST_F(QueueTest, FlushResumesAtTheEntryThatMetABusyBlitter) {
    for (int i = 0; i < 5; ++i) {
        AddPixel(i, true);
    }
    for (int i = 5; i < 10; ++i) {
        AddPixel(i);
    }
    harness.FailAsyncBlits(1);
    EXPECT_FALSE(queue.Flush(screen));
    EXPECT_EQ(queue.Position, 5);
    EXPECT_EQ(queue.Cursor, &queue.Entries[5]);
    EXPECT_EQ(Painted(), 5);
    EXPECT_EQ(Pixel(screen, 5, 0), 0);
    EXPECT_TRUE(queue.Flush(screen));
    EXPECT_EQ(Painted(), 10);
}

TEST_F(QueueTest, EmptyAndRepeatedFlushes) {
    BltQueue fresh;
    EXPECT_TRUE(fresh.Flush(screen));
    EXPECT_EQ(fresh.Cursor, &fresh.Entries[0]);
    EXPECT_EQ(Painted(), 0);

    AddPixel(0);
    EXPECT_TRUE(queue.Flush(screen));
    // Entries added after a completed flush follow the drawn ones and are drawn next time.
    AddPixel(1);
    Fill(screen, 0);
    EXPECT_TRUE(queue.Flush(screen));
    EXPECT_EQ(Painted(), 1);
    EXPECT_EQ(Pixel(screen, 1, 0), white);
    // A flush after a completed one empties the queue.
    EXPECT_TRUE(queue.Flush(screen));
    EXPECT_EQ(queue.Count, 0);
}

TEST_F(QueueTest, FailuresRaiseAndKeepTheFailedEntry) {
    AddPixel(0);
    queue.Add({0, 0, 1, 1}, {639, 479, 641, 481}, 0, DDBLT_ASYNC, source, BltQueue::kBlt);
    try {
        queue.Flush(screen);
        ADD_FAILURE() << "a blit outside the surface went unnoticed";
    } catch (const XDXException& error) {
        EXPECT_EQ(error.Code, DDERR_INVALIDRECT);
        EXPECT_EQ(error.Message(),
                  "DirectX error: The rectangle specified for BltQueue is invalid");
    }
    EXPECT_EQ(queue.Position, 1);

    queue.Reset();
    AddPixel(0);
    harness.LoseSurfaces();
    EXPECT_THROW(queue.Flush(screen), XSurfaceLost);
    EXPECT_EQ(queue.Position, 0);
}

}  // namespace
