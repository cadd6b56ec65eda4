// The base form: device start-up and its failure reports, the frame clock and flipping.
#include <gtest/gtest.h>

#include <functional>

#include "media/dxform.h"
#include "support/harness.h"

namespace {

class TestForm : public TDirectXForm {
  public:
    void RestoreSurfaces() override {
        ++restores;
        TDirectXForm::RestoreSurfaces();
    }
    int restores = 0;
};

class DirectXFormTest : public ::testing::Test {
  protected:
    platform::Harness harness;
};

TEST_F(DirectXFormTest, VideoMemoryChoosesOneOrTwoBackBuffers) {
    for (const auto& [memory, count] : {std::pair<DWORD, int>{6'000'000, 1}, {6'000'001, 2}}) {
        platform::Harness fresh;
        fresh.SetVideoMemory(memory);
        TestForm form;
        form.StartDirectDraw();
        EXPECT_EQ(form.BackBufferCount, count) << memory;
        EXPECT_TRUE(form.DirectDrawStarted);
        ASSERT_NE(form.BackBuffer, nullptr);
        DDSURFACEDESC desc;
        form.BackBuffer->GetSurfaceDesc(&desc);
        EXPECT_EQ(desc.dwWidth, 640u);
        EXPECT_EQ(desc.dwHeight, 480u);
    }
}

// A failure with a caption is reported in a message box and ends the start-up silently; one
// without is raised for the application's handler.
TEST_F(DirectXFormTest, StartUpFailuresAreReportedOrRaised) {
    enum Step { kDraw, kSound, kMusic };
    struct Failure {
        platform::Fault fault;
        Step step;
        const char* caption;
        const char* text;
    };
    using F = platform::Fault;
    const Failure failures[] = {
        {F::DirectDrawCreate, kDraw, "Zintrel", "DirectDrawCreate failed"},
        {F::DirectDrawQuery, kDraw, "Zintrel", "QueryInterface failed"},
        {F::CooperativeLevel, kDraw, "Failure", "SetCooperativeLevel failed"},
        {F::DisplayMode, kDraw, "Failure", "SetDisplayMode failed"},
        {F::SurfaceQuery, kDraw, "Failure", "QueryInterface failed"},
        {F::AttachedSurface, kDraw, "Failure", "GetAttachedSurface failed"},
        {F::VideoMemoryQuery, kDraw, "", "Failed attempting to determine free memory"},
        {F::PrimarySurface, kDraw, "", "Failed attempting to create primary surface"},
        {F::DirectSoundCreate, kSound, "Failure", "Failure initializing DirectSound"},
        {F::SoundCooperativeLevel, kSound, "Failure",
         "Failure setting DirectSound cooperative level"},
        {F::PrimarySoundBuffer, kSound, "Failure", "Unable to access primary sound buffer"},
        {F::SoundFormat, kSound, "Failure", "Unable to set sound format"},
        {F::MusicInit, kMusic, "", "Unable to Initialize DirectMusic"},
        {F::MusicPort, kMusic, "", "Unable to add music port"},
        {F::MusicLoader, kMusic, "", "Unable to create MIDI loader"},
    };
    ASSERT_TRUE(platform::MusicAvailable());
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.text);
        platform::Harness fresh;
        TestForm form;
        if (f.step != kDraw) {
            form.StartDirectDraw();
        }
        fresh.Fail(f.fault);
        const std::function<void()> steps[] = {[&] { form.StartDirectDraw(); },
                                               [&] { form.StartDirectSound(); },
                                               [&] { form.StartDirectMusic(); }};
        try {
            steps[f.step]();
            ADD_FAILURE() << "neither reported nor raised";
        } catch (const EAbort&) {
            ASSERT_EQ(fresh.MessageBoxes().size(), 1u);
            EXPECT_EQ(fresh.MessageBoxes()[0].caption, f.caption);
            EXPECT_EQ(fresh.MessageBoxes()[0].text, f.text);
            EXPECT_TRUE(form.CloseRequested());
            EXPECT_EQ(fresh.CursorCount(), std::string(f.caption) == "Failure" ? 1 : 0);
        } catch (const Exception& error) {
            EXPECT_EQ(std::string(f.caption), "");
            EXPECT_EQ(error.Message(), f.text);
        }
        EXPECT_EQ(form.DirectDrawStarted, std::string(f.caption) != "Zintrel");
        EXPECT_EQ(form.DirectSoundStarted, f.step == kMusic);
    }
}

TEST_F(DirectXFormTest, TheFrameClockMeasuresEachStepWithOrWithoutACounter) {
    TestForm form;
    form.StartTimer();
    EXPECT_TRUE(form.HighResTimer);
    EXPECT_DOUBLE_EQ(form.SecondsPerTick, 1e-6);
    harness.AdvanceClock(40.0);
    form.UpdateTimer();  // the first reading measures from the start of the clock
    EXPECT_NEAR(form.Elapsed, 0.040, 1e-12);
    harness.AdvanceClock(16.0);
    form.UpdateTimer();
    EXPECT_NEAR(form.Elapsed, 0.016, 1e-12);
    form.UpdateTimer();  // no time passed: the step stays
    EXPECT_NEAR(form.Elapsed, 0.016, 1e-12);
    EXPECT_EQ(form.NowCount, form.LastCount);

    harness.SetCounterFrequency(0);  // whole milliseconds
    TestForm coarse;
    coarse.StartTimer();
    EXPECT_FALSE(coarse.HighResTimer);
    EXPECT_DOUBLE_EQ(coarse.SecondsPerTick, 0.001);
    coarse.UpdateTimer();
    harness.AdvanceClock(16.7);
    coarse.UpdateTimer();
    EXPECT_DOUBLE_EQ(coarse.Elapsed, 16 * 0.001);
}

TEST_F(DirectXFormTest, FlippingReportsDroppedFramesAndRestoresLostSurfaces) {
    TestForm form;
    form.StartDirectDraw();
    EXPECT_TRUE(form.FlipSurfaces(DDFLIP_WAIT));
    EXPECT_FALSE(form.FlipSurfaces(0));  // the next slot has not come

    harness.LoseSurfaces();
    EXPECT_FALSE(form.FlipSurfaces(DDFLIP_WAIT));
    EXPECT_EQ(form.restores, 1);
    EXPECT_EQ(form.BackBuffer->IsLost(), DD_OK);
    EXPECT_TRUE(form.FlipSurfaces(DDFLIP_WAIT));

    harness.FailFlips(1, DDERR_GENERIC);
    try {
        form.FlipSurfaces(DDFLIP_WAIT);
        ADD_FAILURE() << "a failed flip went unreported";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Error flipping surfaces");
    }
}

}  // namespace
