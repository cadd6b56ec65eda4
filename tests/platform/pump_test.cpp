// The message pump: what is delivered, when, and how focus loss treats the surfaces.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/api/forms.h"
#include "support/harness.h"

namespace {

class RecordingForm : public TForm {
  public:
    void FormActivate() override {
        if (++activations == 1 && body) {
            body();
        }
    }
    void WndProc(TMessage& message) override {
        messages.push_back(message);
        if (message.Msg == WM_CHAR && message.WParam == 'q') {
            throw Exception("raised by a handler");
        }
    }

    std::function<void()> body;
    int activations = 0;
    std::vector<TMessage> messages;
};

class PumpTest : public ::testing::Test {
  protected:
    void SetUp() override { Application.Initialize(); }
    platform::Harness harness;
    RecordingForm form;
};

TEST_F(PumpTest, MessagesArriveOnlyInsideTheMessageStep) {
    form.body = [&] {
        Application.ProcessMessages();  // the window system's first activation
        harness.Char('x');
        harness.Key(VK_UP);
        EXPECT_EQ(form.messages.size(), 1u);
        Application.ProcessMessages();
        form.Close();
    };
    Application.Run(form);
    ASSERT_EQ(form.messages.size(), 3u);
    EXPECT_EQ(form.messages[0].Msg, WM_ACTIVATEAPP);
    EXPECT_EQ(form.messages[0].WParam, 1u);
    EXPECT_EQ(form.messages[1].Msg, WM_CHAR);
    EXPECT_EQ(form.messages[1].WParam, static_cast<WPARAM>('x'));
    EXPECT_EQ(form.messages[2].Msg, WM_KEYDOWN);
    EXPECT_EQ(form.messages[2].WParam, VK_UP);
}

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
