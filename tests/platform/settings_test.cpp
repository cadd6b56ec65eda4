// The settings file: its round trip (the window's and the controls'), its damaged and unknown
// contents, how it is written, and where a remembered window opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>

#include "platform/sdl/settings.h"
#include "support/test_folder.h"

namespace {

using platform::DesktopRect;
using platform::LoadedSettings;
using platform::LoadSettings;
using platform::ParseSettings;
using platform::PlaceWindow;
using platform::Settings;

// The window's settings, the rest at their defaults.
Settings Window(bool fullscreen, int display, std::optional<DesktopRect> window,
                bool placed = true) {
    Settings settings;
    settings.fullscreen = fullscreen;
    settings.display = display;
    settings.window = window;
    settings.placed = placed;
    return settings;
}

const Settings kWindowed = Window(false, 1, DesktopRect{-300, 20, 1000, 750});
// As a Wayland compositor tells it: the size without the place.
const Settings kUnplaced = Window(false, 0, DesktopRect{0, 0, 1000, 750}, false);

// Every setting the player may change, away from its default.
Settings Tuned() {
    Settings tuned = kWindowed;
    tuned.scaling = platform::Scaling::PixelExact;
    tuned.sound = {30, 0};
    tuned.controls = {false, 35, 900, 300, 600, 250, {'a', 'd', 'x', 'k', 'q'}, {2, 3, 9}};
    tuned.play = {50, true};
    return tuned;
}

TEST(SettingsTest, WhatIsWrittenReadsBack) {
    for (const Settings& settings : {Settings{}, kWindowed, kUnplaced, Tuned()}) {
        const platform::ParsedSettings parsed = ParseSettings(FormatSettings(settings));
        EXPECT_FALSE(parsed.badValues);
        EXPECT_TRUE(parsed.problems.empty());
        EXPECT_EQ(parsed.settings, settings);
    }
    EXPECT_EQ(FormatSettings(kWindowed),
              "# Zintrel's settings, written by the game whenever they change.\n"
              "fullscreen = no\ndisplay = 1\nwindow_x = -300\nwindow_y = 20\n"
              "window_width = 1000\nwindow_height = 750\n");
    // The rest only where it differs from its default.
    EXPECT_EQ(FormatSettings(Tuned()).substr(FormatSettings(kWindowed).size()),
              "scaling = pixel-exact\npads = no\nlaunch = press\neffects_volume = 30\n"
              "music_volume = 0\nmouse_sensitivity = 250\nstick_dead_zone = 35\n"
              "stick_speed = 900\ndpad_speed = 300\nkey_speed = 600\ngame_speed = 50\n"
              "key_left = A\nkey_right = D\nkey_launch = X\nkey_pause = K\nkey_leave = Q\n"
              "pad_launch = x\npad_pause = y\npad_leave = leftshoulder\n");
    EXPECT_EQ(FormatSettings(kUnplaced).substr(FormatSettings(kWindowed).find("display")),
              "display = 0\nwindow_width = 1000\nwindow_height = 750\n");
}

TEST(SettingsTest, SpacesCommentsLineEndsAndLetterCaseAreForgiven) {
    EXPECT_EQ(ParseSettings("").settings, Settings{});
    const auto parsed = ParseSettings(
        "# mine\r\n\n  fullscreen=No \r\n\twindow_x =5\nwindow_y= 6\nwindow_width = 700\n"
        "window_height = 500\nkey_left = left shift\npad_pause = LEFTSTICK\nlaunch=Press");
    EXPECT_TRUE(parsed.problems.empty());
    Settings expected = Window(false, 0, DesktopRect{5, 6, 700, 500});
    expected.controls.keys[0] = SDLK_LSHIFT;
    expected.controls.buttons[1] = SDL_CONTROLLER_BUTTON_LEFTSTICK;
    expected.play.launchByPress = true;
    EXPECT_EQ(parsed.settings, expected);
}

// Each value that cannot be read gives its default and a line of its own; every good value is
// kept. A window's value, or part of the window's keys, forgets the window's place alone.
TEST(SettingsTest, EachBadValueGivesItsDefaultAndALineTheGoodOnesAreKept) {
    Settings controlsKept;
    controlsKept.fullscreen = false;
    controlsKept.controls.keySpeed = 700;
    controlsKept.controls.stickDeadZone = 30;
    Settings defaults;
    const struct {
        std::string text;
        std::vector<std::string> problems;
        Settings settings;
        bool bad = true;
    } cases[] = {
        {"fullscreen = no\nwindow_x = 1\nwindow_y = 2\nwindow_width = 800\n"
         "window_height = 90000\nkey_speed = 700\nstick_dead_zone = 30\n",
         {"line 5: window_height must be a whole number from 480 to 16384; the window's place "
          "is forgotten"},
         controlsKept},
        {"fullscreen = no\nkey_speed = 700\nwindowed\nstick_dead_zone = 30\nwindow_x = 10\n"
         "window_y = 10\n",
         {"line 3: not \"key = value\"; skipped",
          "gives only part of the window's place and size (window_width and window_height go "
          "together, and window_x and window_y with them or not at all); the window's place is "
          "forgotten"},
         controlsKept},
        {"fullscreen = maybe\nscaling = blurry\nstick_speed = fast\nkey_pause = Return\n"
         "pad_launch = dpup\ngame_speed = 40\n",
         {"line 1: fullscreen must be yes or no; it is yes",
          "line 2: scaling must be sharp, pixel-exact or smooth; it is sharp",
          "line 3: stick_speed must be a whole number from 50 to 5000; it is 1150",
          "line 4: key_pause must name a key, as Left, Space or A, other than Return and F12; it "
          "is P",
          "line 5: pad_launch must name a game controller's button other than the d-pad's, as "
          "a, b, x, y, back, start or leftshoulder; it is a",
          "line 6: game_speed must be a whole number from 50 to 100; it is 100"},
         defaults},
        {"key_left = Space\npad_leave = start\n",
         {"key_left, key_right, key_launch, key_pause and key_leave must be different keys; they "
          "are Left, Right, Space, P and Escape",
          "pad_launch, pad_pause and pad_leave must be different buttons; they are a, start and "
          "back"},
         defaults},
        {"volume = 11\nfullscreen = no\n",
         {"line 1: unknown setting \"volume\" skipped"},
         Window(false, 0, std::nullopt),
         false},
        {std::string("fullscreen = no\n\x89PNG\r\n\x1a\n\0\0", 26),
         {"holds bytes that are not text"},
         defaults},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseSettings(c.text);
        EXPECT_EQ(parsed.problems, c.problems) << c.text;
        EXPECT_EQ(parsed.settings, c.settings) << c.text;
        EXPECT_EQ(parsed.badValues || parsed.damaged, c.bad) << c.text;
    }
}

TEST(SettingsTest, TheFileLivesUnderTheConfigurationFolder) {
    EXPECT_EQ(platform::SettingsFilePath("/x/config", "/home/p"), "/x/config/zintrel/zintrel.conf");
    EXPECT_EQ(platform::SettingsFilePath("", "/home/p"), "/home/p/.config/zintrel/zintrel.conf");
    EXPECT_EQ(platform::SettingsFilePath("relative", "/home/p"),
              "/home/p/.config/zintrel/zintrel.conf");
    EXPECT_EQ(platform::SettingsFilePath("", ""), "");
}

TEST(SettingsTest, LoadingSaysWhyItFellBackToTheDefaults) {
    TestFolder folder;
    const std::string path = (folder.Path() / "zintrel.conf").string();
    using Lines = std::vector<std::string>;
    const struct {
        std::function<void()> make;
        std::string why;
    } fallbacks[] = {
        {[] {}, " does not exist yet"},
        {[&] { folder.Write("zintrel.conf", ""); }, " is empty"},
        {[&] { folder.Write("zintrel.conf", std::string(70'000, '#')); },
         " is too large to hold settings"},
        {[&] { std::filesystem::create_directory(path); }, " is not a file"},
    };
    for (const auto& fallback : fallbacks) {
        fallback.make();
        const LoadedSettings loaded = LoadSettings(path);
        EXPECT_EQ(loaded.problems, Lines{path + fallback.why + "; starting full screen"});
        EXPECT_FALSE(loaded.onDisk) << fallback.why;
        std::filesystem::remove(path);
    }

    // A bad value is written anew, an unknown key is left in the file.
    folder.Write("zintrel.conf", "fullscreen = no\nwindow_width = 5\n");
    LoadedSettings loaded = LoadSettings(path);
    EXPECT_EQ(loaded.problems, Lines{path + " line 2: window_width must be a whole number from "
                                            "640 to 16384; the window's place is forgotten"});
    EXPECT_FALSE(loaded.settings.fullscreen);
    EXPECT_FALSE(loaded.onDisk);

    folder.Write("zintrel.conf", "fullscreen = no\nshade = 3\n");
    loaded = LoadSettings(path);
    EXPECT_EQ(loaded.problems, Lines{path + " line 2: unknown setting \"shade\" skipped"});
    EXPECT_FALSE(loaded.settings.fullscreen);
    EXPECT_EQ(loaded.onDisk, loaded.settings);
}

TEST(SettingsTest, SavingReplacesTheFileWhole) {
    TestFolder folder;
    const std::string path = (folder.Path() / "config" / "zintrel" / "zintrel.conf").string();
    EXPECT_EQ(platform::SaveSettings(path, kWindowed), "");
    EXPECT_EQ(folder.Read("config/zintrel/zintrel.conf"), FormatSettings(kWindowed));
    EXPECT_EQ(platform::SaveSettings(path, Settings{}), "");
    EXPECT_EQ(LoadSettings(path).onDisk, Settings{});
    EXPECT_FALSE(folder.Holds("config/zintrel/zintrel.conf.new"));
}

// A new file that cannot be made, or a folder that cannot: what was there stays as it was.
TEST(SettingsTest, AWriteThatFailsLeavesWhatWasThereAndSaysWhy) {
    TestFolder folder;
    const std::string path = (folder.Path() / "zintrel.conf").string();
    ASSERT_EQ(platform::SaveSettings(path, kWindowed), "");
    std::filesystem::create_directory(path + ".new");
    std::string problem = platform::SaveSettings(path, Settings{});
    EXPECT_EQ(problem.rfind("cannot write " + path + ".new", 0), 0u) << problem;
    EXPECT_EQ(folder.Read("zintrel.conf"), FormatSettings(kWindowed));

    const std::string inFile =
        (folder.Path() / "zintrel.conf" / "zintrel" / "zintrel.conf").string();
    problem = platform::SaveSettings(inFile, kWindowed);
    EXPECT_EQ(problem.rfind("cannot make " + path + "/zintrel", 0), 0u) << problem;
    EXPECT_EQ(folder.Read("zintrel.conf"), FormatSettings(kWindowed));
}

// A remembered window opens where it was when enough of it lies on a display to take hold of;
// else centred on its display, or the first when that is gone; never larger than its display
// nor smaller than the game.
TEST(SettingsTest, AWindowOpensWhereItWasOrCentredAndNeverTooLarge) {
    const std::vector<DesktopRect> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const std::vector<DesktopRect> small{{0, 0, 1024, 768}};
    const std::vector<DesktopRect> tiny{{0, 0, 600, 400}};
    const std::vector<DesktopRect> nothing;
    const std::optional<DesktopRect> none;
    const struct {
        const char* what;
        const std::vector<DesktopRect>& displays;
        int display;
        std::optional<DesktopRect> window;
        DesktopRect place;
        bool placed = true;
    } cases[] = {
        {"on its display", two, 0, DesktopRect{2000, 100, 900, 700}, {2000, 100, 900, 700}},
        {"partly off", two, 0, DesktopRect{-800, -600, 900, 700}, {-800, -600, 900, 700}},
        {"off every display", two, 1, DesktopRect{5000, 5000, 900, 700}, {2110, 162, 900, 700}},
        {"40 pixels on a display", two, 1, DesktopRect{-860, 100, 900, 700}, {2110, 162, 900, 700}},
        {"its place not known", two, 1, DesktopRect{0, 0, 900, 700}, {2110, 162, 900, 700}, false},
        {"its display gone", two, 5, DesktopRect{-880, 100, 900, 700}, {510, 190, 900, 700}},
        {"never placed", small, 0, none, {0, 0, 1024, 768}},
        {"too large", small, 0, DesktopRect{10, 10, 3000, 2000}, {10, 10, 1024, 768}},
        {"on a tiny display", tiny, 0, none, {-20, -40, 640, 480}},
        {"no display known", nothing, 0, none, {0, 0, 1280, 960}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceWindow(Window(false, c.display, c.window, c.placed), c.displays), c.place)
            << c.what;
    }
}

}  // namespace
