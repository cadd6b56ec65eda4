// Screenshots: F12 saves the frame on show as a PNG file in the game's folder, under a name of
// the second it was taken, and the game never sees the key.
#include <gtest/gtest.h>
#include <png.h>

#include <ctime>
#include <functional>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/api/forms.h"
#include "platform/api/gamefolders.h"
#include "platform/sdl/screenshot.h"
#include "support/flipping_chain.h"
#include "support/harness.h"
#include "support/test_folder.h"

namespace {

class MessageForm : public TForm {
  public:
    void FormActivate() override {
        if (body) {
            auto run = std::move(body);
            run();
            Close();
        }
    }
    void WndProc(TMessage& message) override { messages.push_back(message); }
    std::function<void()> body;
    std::vector<TMessage> messages;
};

// A pixel of the test picture: every 565 value turns up somewhere in it.
std::uint16_t Pattern(int x, int y) {
    return static_cast<std::uint16_t>((y * 640 + x) * 11 % 65536);
}

// The wall clock's second when the screenshots are taken; the names are of that local time.
constexpr std::time_t kTaken = 1'000'000'000;

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

Decoded DecodePng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Decoded decoded;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return decoded;
    }
    image.format = PNG_FORMAT_RGB;
    decoded.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, decoded.rgb.data(), 0, nullptr) == 0) {
        return decoded;
    }
    decoded.width = static_cast<int>(image.width);
    decoded.height = static_cast<int>(image.height);
    return decoded;
}

class ScreenshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application.Initialize();
        platform::UseGameFolders({{folder.Path().string()}, folder.Path().string(), ""});
        harness.SetWallClock(kTaken);
    }
    void TearDown() override { platform::UseGameFolders(platform::GameFolders{}); }

    // Shows the test picture, then draws something else into the back buffer, and runs the
    // steps with the picture on show.
    void WithPictureShown(const std::function<void()>& steps) {
        form.body = [&] {
            FlippingChain chain;
            chain.Make();
            IDirectDrawSurface3* primary = chain.primary;
            IDirectDrawSurface3* back = chain.back;
            DDSURFACEDESC locked;
            ASSERT_EQ(back->Lock(nullptr, &locked, 0, nullptr), DD_OK);
            for (int y = 0; y < 480; ++y) {
                auto* row = reinterpret_cast<std::uint16_t*>(
                    static_cast<std::uint8_t*>(locked.lpSurface) + y * locked.lPitch);
                for (int x = 0; x < 640; ++x) {
                    row[x] = Pattern(x, y);
                }
            }
            back->Unlock(nullptr);
            ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
            DDBLTFX fx;
            fx.dwFillColor = 0xFFFF;
            ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
                      DD_OK);
            steps();
            chain.Release();
        };
        Application.Run(form);
    }

    TestFolder folder;
    platform::Harness harness;
    MessageForm form;
};

TEST_F(ScreenshotTest, F12SavesTheFrameOnShowAndTheGameNeverSeesIt) {
    WithPictureShown([&] {
        harness.PressKey("F12");
        Application.ProcessMessages();
        harness.PressKey("F12");  // again, in the same second
        Application.ProcessMessages();
    });
    const std::string first = platform::ScreenshotName(kTaken, 1);
    const std::string second = first.substr(0, first.size() - 4) + "-2.png";
    ASSERT_TRUE(folder.Holds(first));
    ASSERT_TRUE(folder.Holds(second));
    const Decoded shot = DecodePng(folder.Path() / first);
    ASSERT_EQ(shot.width, 640);
    ASSERT_EQ(shot.height, 480);
    int wrong = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const std::uint8_t* rgb = &shot.rgb[static_cast<std::size_t>((y * 640 + x) * 3)];
            const std::uint16_t shown =
                static_cast<std::uint16_t>((rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | rgb[2] >> 3);
            wrong += shown != Pattern(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(DecodePng(folder.Path() / second).rgb, shot.rgb);
    for (const TMessage& message : form.messages) {
        EXPECT_EQ(message.Msg, WM_ACTIVATEAPP) << "the game saw message " << message.Msg;
    }
}

// With no folder to write in, or before the first frame, nothing is saved and the reason is said.
TEST_F(ScreenshotTest, WhenNothingCanBeSavedTheReasonIsSaid) {
    testing::internal::CaptureStderr();
    form.body = [&] {
        harness.PressKey("F12");
        Application.ProcessMessages();
    };
    Application.Run(form);
    platform::UseGameFolders({{folder.Path().string()}, "", "the home folder is read-only"});
    WithPictureShown([&] {
        harness.PressKey("F12");
        Application.ProcessMessages();
    });
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zintrel: no screenshot saved: nothing is shown yet\n"
              "zintrel: no screenshot saved: the home folder is read-only\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
