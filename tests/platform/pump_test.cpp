// The message pump: errors escaping a handler, and how focus loss treats the surfaces. The input
// of a step delivered whole and in order is every screen's and the editor's to check.
#include <gtest/gtest.h>

#include <functional>

#include "platform/api/ddraw.h"
#include "platform/api/forms.h"
#include "support/harness.h"

namespace {

class BodyForm : public TForm {
  public:
    void FormActivate() override {
        if (++activations == 1 && body) {
            body();
        }
    }
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_CHAR && message.WParam == 'q') {
            throw Exception("raised by a handler");
        }
    }

    std::function<void()> body;
    int activations = 0;
};

class PumpTest : public ::testing::Test {
  protected:
    void SetUp() override { Application.Initialize(); }
    platform::Harness harness;
    BodyForm form;
};

TEST_F(PumpTest, FocusLossInFullScreenLosesEverySurface) {
    IDirectDraw* dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    DDSURFACEDESC desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = desc.dwHeight = 8;
    IDirectDrawSurface3* sheet = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &sheet, nullptr), DD_OK);
    form.body = [&] {
        Application.ProcessMessages();
        EXPECT_EQ(sheet->IsLost(), DD_OK);
        harness.Focus(false);
        Application.ProcessMessages();
        EXPECT_EQ(sheet->IsLost(), DDERR_SURFACELOST);
        form.Close();
    };
    ASSERT_TRUE(harness.Fullscreen());
    Application.Run(form);
    sheet->Release();
    dd->Release();
}

// An error escaping a handler goes to the application's handler; the application's own shows
// errors in a message box, and silent ones not.
TEST_F(PumpTest, AnErrorEscapingAHandlerGoesToTheApplicationsHandler) {
    std::string reported;
    Application.OnException = [&](const std::exception& error) {
        reported = error.what();
        form.Close();
    };
    form.body = [&] {
        harness.Char('q');
        for (;;) {
            Application.ProcessMessages();
        }
    };
    Application.Run(form);
    EXPECT_EQ(reported, "raised by a handler");
    Application.ShowException(Exception("Cannot contain cursor"));
    Application.ShowException(EAbort());
    Application.ShowException(std::bad_alloc());
    ASSERT_EQ(harness.MessageBoxes().size(), 2u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, "Cannot contain cursor");
    EXPECT_EQ(harness.MessageBoxes()[1].text, "Out of memory error");
}

}  // namespace
