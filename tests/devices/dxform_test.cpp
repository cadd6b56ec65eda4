// The base form: device start-up and its failure reports, the frame clock and flipping.
#include <gtest/gtest.h>

#include "media/dxform.h"
#include "platform/api/cursor.h"
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

    // Runs a start-up step; a reported failure ends it silently after its message box.
    template <typename Step>
    static void Start(Step step) {
        try {
            step();
        } catch (const EAbort&) {
        }
    }

    std::string LastBox(const char* caption) const {
        const auto& boxes = harness.MessageBoxes();
        if (boxes.empty()) {
            return "(none)";
        }
        EXPECT_EQ(boxes.back().caption, caption);
        return boxes.back().text;
    }
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

TEST_F(DirectXFormTest, DisplayFailuresAreReportedAndEndTheStartUp) {
    const std::pair<platform::Fault, const char*> reported[] = {
        {platform::Fault::CooperativeLevel, "SetCooperativeLevel failed"},
        {platform::Fault::DisplayMode, "SetDisplayMode failed"},
        {platform::Fault::SurfaceQuery, "QueryInterface failed"},
        {platform::Fault::AttachedSurface, "GetAttachedSurface failed"},
    };
    for (const auto& [fault, text] : reported) {
        platform::Harness fresh;
        fresh.Fail(fault);
        TestForm form;
        EXPECT_THROW(form.StartDirectDraw(), EAbort);
        ASSERT_EQ(fresh.MessageBoxes().size(), 1u) << text;
        EXPECT_EQ(fresh.MessageBoxes()[0].caption, "Failure");
        EXPECT_EQ(fresh.MessageBoxes()[0].text, text);
        EXPECT_TRUE(form.CloseRequested());
        EXPECT_EQ(fresh.CursorCount(), 1);
    }
    for (const auto& [fault, text] :
         {std::pair{platform::Fault::DirectDrawCreate, "DirectDrawCreate failed"},
          std::pair{platform::Fault::DirectDrawQuery, "QueryInterface failed"}}) {
        platform::Harness fresh;
        fresh.Fail(fault);
        TestForm form;
        EXPECT_THROW(form.StartDirectDraw(), EAbort);
        ASSERT_EQ(fresh.MessageBoxes().size(), 1u);
        EXPECT_EQ(fresh.MessageBoxes()[0].text, text);
        EXPECT_FALSE(form.DirectDrawStarted);
        EXPECT_TRUE(form.CloseRequested());
    }
}

TEST_F(DirectXFormTest, SurfaceFailuresRaiseTheirErrors) {
    const std::pair<platform::Fault, const char*> raised[] = {
        {platform::Fault::VideoMemoryQuery, "Failed attempting to determine free memory"},
        {platform::Fault::PrimarySurface, "Failed attempting to create primary surface"},
    };
    for (const auto& [fault, text] : raised) {
        platform::Harness fresh;
        fresh.Fail(fault);
        TestForm form;
        try {
            form.StartDirectDraw();
            ADD_FAILURE() << "no error for " << text;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), text);
        }
    }
}

TEST_F(DirectXFormTest, SoundFailuresAreReported) {
    const std::pair<platform::Fault, const char*> reported[] = {
        {platform::Fault::DirectSoundCreate, "Failure initializing DirectSound"},
        {platform::Fault::SoundCooperativeLevel, "Failure setting DirectSound cooperative level"},
        {platform::Fault::PrimarySoundBuffer, "Unable to access primary sound buffer"},
        {platform::Fault::SoundFormat, "Unable to set sound format"},
    };
    for (const auto& [fault, text] : reported) {
        platform::Harness fresh;
        TestForm form;
        form.StartDirectDraw();
        fresh.Fail(fault);
        EXPECT_THROW(form.StartDirectSound(), EAbort);
        EXPECT_FALSE(form.DirectSoundStarted);
        ASSERT_EQ(fresh.MessageBoxes().size(), 1u);
        EXPECT_EQ(fresh.MessageBoxes()[0].text, text);
    }
}

TEST_F(DirectXFormTest, WithoutMusicTheGameIsToldOnceAndGoesOn) {
    harness.NoMusic(true);
    TestForm form;
    form.StartDirectDraw();
    ShowCursor(FALSE);
    form.StartDirectMusic();  // starts the sound device itself
    EXPECT_TRUE(form.DirectSoundStarted);
    EXPECT_EQ(form.Performance, nullptr);
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(LastBox("Information"), "Cannot start DirectMusic; music disabled");
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_EQ(harness.CursorCount(), -1);
}

TEST_F(DirectXFormTest, MusicSetUpFailuresRaiseTheirErrors) {
    if (!platform::MusicAvailable()) {
        GTEST_SKIP() << "no MIDI playback on this machine";
    }
    const std::pair<platform::Fault, const char*> raised[] = {
        {platform::Fault::MusicInit, "Unable to Initialize DirectMusic"},
        {platform::Fault::MusicPort, "Unable to add music port"},
        {platform::Fault::MusicLoader, "Unable to create MIDI loader"},
    };
    for (const auto& [fault, text] : raised) {
        platform::Harness fresh;
        TestForm form;
        form.StartDirectDraw();
        fresh.Fail(fault);
        try {
            form.StartDirectMusic();
            ADD_FAILURE() << "no error for " << text;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), text);
        }
    }
}

TEST_F(DirectXFormTest, TheFrameClockMeasuresEachStep) {
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
}

TEST_F(DirectXFormTest, WithoutACounterTheClockCountsMilliseconds) {
    harness.SetCounterFrequency(0);
    TestForm form;
    form.StartTimer();
    EXPECT_FALSE(form.HighResTimer);
    EXPECT_DOUBLE_EQ(form.SecondsPerTick, 0.001);
    harness.AdvanceClock(16.7);
    form.UpdateTimer();
    EXPECT_DOUBLE_EQ(form.Elapsed, 16 * 0.001);
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

TEST_F(DirectXFormTest, AnUncaughtErrorIsShownAndClosesTheForm) {
    TestForm form;
    form.StartDirectDraw();
    ShowCursor(FALSE);
    const RECT confinement{0, 25, 640, 455};
    ClipCursor(&confinement);
    form.HandleAppException(Exception("Aborting; no level files found"));
    EXPECT_EQ(LastBox("Zintrel"), "Aborting; no level files found");
    EXPECT_FALSE(harness.CursorClipped());
    EXPECT_EQ(harness.CursorCount(), 0);
    EXPECT_TRUE(form.CloseRequested());
}

TEST_F(DirectXFormTest, TheWindowStaysOnTopWithoutATaskbarButtonOfItsOwn) {
    TestForm form;
    TCreateParams params;
    form.CreateParams(params);
    EXPECT_EQ(params.ExStyle, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);
}

}  // namespace
