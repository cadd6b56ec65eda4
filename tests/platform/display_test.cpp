// The window's presentation: unchanged frames not drawn again, the mouse's grab in a window and
// full screen, Alt+Enter, and the settings read as the window opens. The window's settings kept
// between runs are the end-to-end display check's.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/api/cursor.h"
#include "platform/api/ddraw.h"
#include "platform/api/forms.h"
#include "support/flipping_chain.h"
#include "support/harness.h"
#include "support/test_folder.h"

namespace {

class BodyForm : public TForm {
  public:
    void FormActivate() override {
        if (!started && body) {
            started = true;
            body();
            Close();
        }
    }
    void WndProc(TMessage& message) override { messages.push_back(message); }
    std::function<void()> body;
    bool started = false;
    std::vector<TMessage> messages;
};

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override { Application.Initialize(); }

    // Runs the body inside the application, with its window open.
    void RunInWindow(std::function<void()> body) {
        BodyForm form;
        form.body = std::move(body);
        Application.Run(form);
        messages = form.messages;
    }

    void MakeChain() { chain.Make(); }
    void ReleaseChain() { chain.Release(); }
    void Fill(DWORD colour) {
        DDBLTFX fx;
        fx.dwFillColor = colour;
        ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    TestFolder folder;
    platform::Harness harness;
    FlippingChain chain;
    IDirectDrawSurface3*& primary = chain.primary;
    IDirectDrawSurface3*& back = chain.back;
    std::vector<TMessage> messages;
};

TEST_F(DisplayTest, AFrameEqualToTheOneOnShowIsNotDrawnAgain) {
    RunInWindow([&] {
        MakeChain();
        // The game draws each frame whole; the title's frames are all alike.
        const auto show = [&](DWORD pixel) {
            Fill(0x1234);
            const RECT at{100, 100, 101, 101};
            DDBLTFX fx;
            fx.dwFillColor = pixel;
            ASSERT_EQ(back->Blt(&at, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
            ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        };
        for (int i = 0; i < 5; ++i) {
            show(0x1234);
        }
        EXPECT_EQ(harness.PresentedFrames(), 5);
        EXPECT_EQ(harness.DrawnFrames(), 1);
        show(0x1235);  // one pixel makes a new frame
        EXPECT_EQ(harness.DrawnFrames(), 2);
        // A window switched or uncovered must be drawn again, even with the same frame.
        harness.PressKey("Return", true);
        Application.ProcessMessages();
        show(0x1235);
        EXPECT_EQ(harness.DrawnFrames(), 3);
        harness.ExposeWindow();
        Application.ProcessMessages();
        show(0x1235);
        EXPECT_EQ(harness.DrawnFrames(), 4);
        EXPECT_EQ(harness.PresentedFrames(), 8);
        ReleaseChain();
    });
}

TEST_F(DisplayTest, InAWindowTheMouseIsGrabbedOnlyWhilePlayingWithTheFocus) {
    RunInWindow([&] {
        ShowCursor(FALSE);
        harness.PressKey("Return", true);  // Alt+Enter: to a window
        Application.ProcessMessages();
        ASSERT_FALSE(harness.Fullscreen());
        EXPECT_FALSE(harness.MouseGrabbed());  // a screen outside play
        platform::SetGameInPlay(true);
        EXPECT_TRUE(harness.MouseGrabbed());
        harness.Focus(false);
        Application.ProcessMessages();
        EXPECT_FALSE(harness.MouseGrabbed());
        harness.Focus(true);
        Application.ProcessMessages();
        EXPECT_TRUE(harness.MouseGrabbed());
        platform::SetGameInPlay(false);  // paused, the game over, the screens
        EXPECT_FALSE(harness.MouseGrabbed());
        // Full screen the hidden pointer stays held, in play or not.
        harness.PressKey("Return", true);
        Application.ProcessMessages();
        ASSERT_TRUE(harness.Fullscreen());
        EXPECT_TRUE(harness.MouseGrabbed());
        // A shown cursor is never held.
        ShowCursor(TRUE);
        EXPECT_FALSE(harness.MouseGrabbed());
    });
    // Alt+Enter is the window's own key: the game never sees it.
    for (const TMessage& message : messages) {
        EXPECT_NE(message.Msg, WM_KEYDOWN);
        EXPECT_NE(message.Msg, WM_CHAR);
    }
}

// The settings are read as the window opens: 0 and 1 are no and yes, and a value out of its
// range is named on a line of its own.
TEST_F(DisplayTest, AValueOutOfItsRangeIsNamedAsTheWindowOpens) {
    folder.Write("zintrel.conf", "fullscreen = 0\npads = 1\nstick_dead_zone = 91\n");
    harness.SetSettingsFile((folder.Path() / "zintrel.conf").string());
    testing::internal::CaptureStderr();
    RunInWindow([&] { EXPECT_FALSE(harness.Fullscreen()); });
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("zintrel.conf line 3: stick_dead_zone must be a whole number from 0 to 90"),
              std::string::npos)
        << said;
}

}  // namespace
