// Frame pacing: flips shown once a refresh at the display's rate, and non-waiting flips that
// give the processor up without passing the slot.
#include <gtest/gtest.h>

#include <vector>

#include "platform/api/ddraw.h"
#include "platform/sdl/frame_pacing.h"
#include "support/flipping_chain.h"
#include "support/harness.h"

namespace {

using platform::NextFrameSlot;

TEST(FramePacingTest, SlotsFollowOneAnotherAtTheInterval) {
    EXPECT_DOUBLE_EQ(platform::RefreshInterval(144), 1'000'000.0 / 144);
    EXPECT_DOUBLE_EQ(platform::RefreshInterval(0), 1'000'000.0 / 60);
    // A frame shown a little late keeps the cadence; a whole interval late starts it again.
    EXPECT_EQ(NextFrameSlot(0, 10'000, 5'000), 15'000u);
    EXPECT_EQ(NextFrameSlot(15'000, 10'000, 15'300), 25'000u);
    EXPECT_EQ(NextFrameSlot(25'000, 10'000, 34'999), 35'000u);
    EXPECT_EQ(NextFrameSlot(35'000, 10'000, 45'000), 55'000u);
}

class PacingTest : public ::testing::TestWithParam<double> {
  protected:
    void SetUp() override { chain.Make(); }
    void TearDown() override { chain.Release(); }

    // Draws a frame unlike the one before.
    void DrawFrame(int frame) {
        DDBLTFX fx;
        fx.dwFillColor = static_cast<DWORD>(frame + 1);
        ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    std::uint64_t Interval() const { return static_cast<std::uint64_t>(1'000'000.0 / GetParam()); }

    platform::Harness harness;
    FlippingChain chain;
    IDirectDrawSurface3*& primary = chain.primary;
    IDirectDrawSurface3*& back = chain.back;
};

TEST_P(PacingTest, WaitingOrNotAFrameIsShownEachRefresh) {
    harness.SetRefreshRate(GetParam());
    // A frame's work takes a varying time below the interval; then the play loop tries
    // non-waiting flips until one is made, where the screens' flips wait.
    std::vector<std::uint64_t> shown;
    for (int frame = 0; frame < 40; ++frame) {
        harness.AdvanceClock(0.3 + 0.1 * (frame % 7));
        DrawFrame(frame);
        HRESULT result = DDERR_WASSTILLDRAWING;
        for (int tries = 0; tries < 1000 && result == DDERR_WASSTILLDRAWING; ++tries) {
            result = primary->Flip(nullptr, frame % 3 == 0 ? DDFLIP_WAIT : 0);
        }
        ASSERT_EQ(result, DD_OK);
        shown.push_back(harness.ClockMicros());
    }
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i] - shown[i - 1], Interval())
            << "between frames " << i - 1 << " and " << i;
    }
    EXPECT_EQ(harness.PresentedFrames(), 40);
}

TEST_P(PacingTest, ANonWaitingFlipGivesTheProcessorUpUntilTheSlotAndNoLonger) {
    harness.SetRefreshRate(GetParam());
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    const std::uint64_t slot = harness.ClockMicros() + Interval();
    // Each answer before the slot sleeps a millisecond, or what is left of the wait.
    int answers = 0;
    while (primary->Flip(nullptr, 0) == DDERR_WASSTILLDRAWING && answers < 1000) {
        ++answers;
        EXPECT_LE(harness.ClockMicros(), slot);
    }
    EXPECT_EQ(answers, static_cast<int>((Interval() + 999) / 1000));
    EXPECT_EQ(harness.ClockMicros(), slot);
}

INSTANTIATE_TEST_SUITE_P(RefreshRates, PacingTest, ::testing::Values(60.0, 144.0, 240.0),
                         [](const auto& info) {
                             return std::to_string(static_cast<int>(info.param)) + "Hz";
                         });

}  // namespace
