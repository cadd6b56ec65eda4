// The virtual cursor: its confinement and relative motion.
#include <gtest/gtest.h>

#include "platform/api/cursor.h"
#include "platform/api/forms.h"
#include "support/harness.h"

namespace {

class CursorForm : public TForm {
  public:
    void FormActivate() override {
        const RECT confinement{0, 25, 640, 455};
        ASSERT_EQ(ClipCursor(&confinement), TRUE);
        harness->MoveMouse(-1000, -1000);
        Application.ProcessMessages();
        GetCursorPos(&topLeft);
        harness->MoveMouse(5000, 5000);
        Application.ProcessMessages();
        GetCursorPos(&bottomRight);
        harness->MoveMouse(-100, -30);
        Application.ProcessMessages();
        GetCursorPos(&moved);
        Close();
    }
    platform::Harness* harness = nullptr;
    POINT topLeft, bottomRight, moved;
};

// Relative motion stays inside the confinement; it can be released, and it can fail.
TEST(CursorTest, RelativeMotionStaysInsideTheConfinementUntilReleased) {
    platform::Harness harness;
    Application.Initialize();
    CursorForm form;
    form.harness = &harness;
    Application.Run(form);
    EXPECT_EQ(form.topLeft, (POINT{0, 25}));
    EXPECT_EQ(form.bottomRight, (POINT{639, 454}));
    EXPECT_EQ(form.moved, (POINT{539, 424}));
    EXPECT_TRUE(harness.CursorClipped());
    ASSERT_EQ(ClipCursor(nullptr), TRUE);
    EXPECT_FALSE(harness.CursorClipped());
    harness.FailClipCursor(true);
    const RECT box{100, 100, 200, 200};
    EXPECT_EQ(ClipCursor(&box), FALSE);
}

}  // namespace
