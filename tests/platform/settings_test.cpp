// The settings file: its round trip (the window's and the controls'), its damaged and unknown
// contents, how it is written, and where a remembered window opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/sdl/settings.h"
#include "support/test_folder.h"

namespace {

using platform::DesktopRect;
using platform::LoadSettings;
using platform::ParseSettings;
using platform::PlaceWindow;
using platform::WindowSettings;

const WindowSettings kWindowed{false, 1, DesktopRect{-300, 20, 1000, 750}, {}};
// As a Wayland compositor tells it: the size without the place.
const WindowSettings kUnplaced{false, 0, DesktopRect{0, 0, 1000, 750}, {}, false};

TEST(SettingsTest, WhatIsWrittenReadsBack) {
    for (const WindowSettings& settings : {WindowSettings{}, kWindowed, kUnplaced}) {
        const platform::ParsedSettings parsed = ParseSettings(FormatSettings(settings));
        EXPECT_FALSE(parsed.damaged);
        EXPECT_EQ(parsed.problem, "");
        EXPECT_EQ(parsed.settings, settings);
    }
    EXPECT_EQ(FormatSettings(kWindowed),
              "# Zintrel's window, written by the game whenever it changes.\n"
              "fullscreen = no\ndisplay = 1\nwindow_x = -300\nwindow_y = 20\n"
              "window_width = 1000\nwindow_height = 750\n");
    EXPECT_EQ(FormatSettings(kUnplaced),
              "# Zintrel's window, written by the game whenever it changes.\n"
              "fullscreen = no\ndisplay = 0\nwindow_width = 1000\nwindow_height = 750\n");
}

TEST(SettingsTest, SpacesCommentsAndLineEndsAreForgiven) {
    const auto parsed = ParseSettings(
        "# mine\r\n\n  fullscreen=No \r\n\twindow_x =5\nwindow_y= 6\nwindow_width = 700\n"
        "window_height = 500");
    EXPECT_FALSE(parsed.damaged);
    EXPECT_EQ(parsed.settings, (WindowSettings{false, 0, DesktopRect{5, 6, 700, 500}, {}}));
}

TEST(SettingsTest, AnEmptyTextGivesTheDefaults) {
    const auto parsed = ParseSettings("");
    EXPECT_FALSE(parsed.damaged);
    EXPECT_EQ(parsed.settings, WindowSettings{});
}

TEST(SettingsTest, DamageGivesTheDefaultsAndSaysWhere) {
    const std::string kPartOfTheWindow =
        "gives only part of the window's place and size (window_width and window_height go "
        "together, and window_x and window_y with them or not at all)";
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {std::string("fullscreen = no\n\x89PNG\r\n\x1a\n\0\0", 26),
         "holds bytes that are not text"},
        {"fullscreen = no\nwindowed\n", "line 2: not \"key = value\""},
        {"fullscreen = maybe\n", "line 1: fullscreen must be yes or no"},
        {"fullscreen = no\nwindow_width = 99999999999999999999999\n",
         "line 2: window_width must be a whole number from 640 to 16384"},
        {"fullscreen = no\nwindow_height = 300\n",
         "line 2: window_height must be a whole number from 480 to 16384"},
        {"display = -1\n", "line 1: display must be a whole number from 0 to 63"},
        {"window_x = 12abc\n", "line 1: window_x must be a whole number from -100000 to 100000"},
        {"fullscreen = no\nwindow_x = 10\nwindow_y = 10\n", kPartOfTheWindow},
        {"window_x = 10\nwindow_width = 700\nwindow_height = 500\n", kPartOfTheWindow},
        {"window_width = 700\n", kPartOfTheWindow},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseSettings(c.text);
        EXPECT_TRUE(parsed.damaged) << c.text;
        EXPECT_EQ(parsed.problem, c.problem) << c.text;
        EXPECT_EQ(parsed.settings, WindowSettings{}) << c.text;
    }
}

TEST(SettingsTest, UnknownKeysAreSkippedAndTheRestKept) {
    const auto parsed = ParseSettings("volume = 11\nfullscreen = no\ncolour = blue\n");
    EXPECT_FALSE(parsed.damaged);
    EXPECT_EQ(parsed.problem, "line 1: unknown setting \"volume\" skipped");
    EXPECT_FALSE(parsed.settings.fullscreen);
}

// The controls are written only where they differ from their defaults; a control's value that
// cannot be read gives that control's default, keeps the rest, and says so once.
TEST(SettingsTest, ControlsAreKeptAndAnOddValueGivesItsDefault) {
    WindowSettings tuned = kWindowed;
    tuned.controls = {false, 35, 900, 300, 600};
    const auto parsed = ParseSettings(FormatSettings(tuned));
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.settings, tuned);
    EXPECT_EQ(FormatSettings(tuned).substr(FormatSettings(kWindowed).size()),
              "pads = no\nstick_dead_zone = 35\nstick_speed = 900\ndpad_speed = 300\n"
              "key_speed = 600\n");

    const auto odd = ParseSettings(
        "fullscreen = no\nstick_dead_zone = 95\npads = sometimes\nkey_speed = 700\n"
        "stick_speed = fast\n");
    EXPECT_FALSE(odd.damaged);
    EXPECT_FALSE(odd.settings.fullscreen);
    EXPECT_EQ(odd.problem, "line 2: stick_dead_zone must be a whole number from 0 to 90; it is 20");
    platform::ControlSettings expected;
    expected.keySpeed = 700;
    EXPECT_EQ(odd.settings.controls, expected);
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
    auto loaded = LoadSettings(path);
    EXPECT_EQ(loaded.problem, path + " does not exist yet; starting full screen");
    EXPECT_FALSE(loaded.onDisk);

    folder.Write("zintrel.conf", "");
    loaded = LoadSettings(path);
    EXPECT_EQ(loaded.problem, path + " is empty; starting full screen");
    EXPECT_FALSE(loaded.onDisk);

    folder.Write("zintrel.conf", "fullscreen = no\nwindow_width = 5\n");
    loaded = LoadSettings(path);
    EXPECT_EQ(loaded.problem,
              path +
                  " line 2: window_width must be a whole number from 640 to 16384; starting "
                  "full screen");
    EXPECT_EQ(loaded.settings, WindowSettings{});
    EXPECT_FALSE(loaded.onDisk);

    folder.Write("zintrel.conf", std::string(70'000, '#'));
    EXPECT_EQ(LoadSettings(path).problem,
              path + " is too large to hold settings; starting full screen");

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(LoadSettings(path).problem, path + " is not a file; starting full screen");
    std::filesystem::remove(path);

    folder.Write("zintrel.conf", "fullscreen = no\nshade = 3\n");
    loaded = LoadSettings(path);
    EXPECT_EQ(loaded.problem, path + " line 2: unknown setting \"shade\" skipped");
    EXPECT_FALSE(loaded.settings.fullscreen);
    EXPECT_EQ(loaded.onDisk, loaded.settings);
}

TEST(SettingsTest, SavingReplacesTheFileWhole) {
    TestFolder folder;
    const std::string path = (folder.Path() / "config" / "zintrel" / "zintrel.conf").string();
    EXPECT_EQ(platform::SaveSettings(path, kWindowed), "");
    EXPECT_EQ(folder.Read("config/zintrel/zintrel.conf"), FormatSettings(kWindowed));
    EXPECT_EQ(platform::SaveSettings(path, WindowSettings{}), "");
    EXPECT_EQ(LoadSettings(path).onDisk, WindowSettings{});
    EXPECT_FALSE(folder.Holds("config/zintrel/zintrel.conf.new"));
}

TEST(SettingsTest, AWriteThatFailsLeavesTheOldFileWhole) {
    TestFolder folder;
    const std::string path = (folder.Path() / "zintrel.conf").string();
    ASSERT_EQ(platform::SaveSettings(path, kWindowed), "");
    // The new file cannot be made: the old one stays as it was.
    std::filesystem::create_directory(path + ".new");
    const std::string problem = platform::SaveSettings(path, WindowSettings{});
    EXPECT_EQ(problem.rfind("cannot write " + path + ".new", 0), 0u) << problem;
    EXPECT_EQ(folder.Read("zintrel.conf"), FormatSettings(kWindowed));
}

TEST(SettingsTest, AFolderThatCannotBeMadeKeepsNothingAndSaysWhy) {
    TestFolder folder;
    folder.Write("config", "a file where the folder should be");
    const std::string path = (folder.Path() / "config" / "zintrel" / "zintrel.conf").string();
    const std::string problem = platform::SaveSettings(path, kWindowed);
    EXPECT_EQ(problem.rfind("cannot make " + (folder.Path() / "config" / "zintrel").string(), 0),
              0u)
        << problem;
    EXPECT_EQ(folder.Read("config"), "a file where the folder should be");
}

TEST(SettingsTest, ARememberedWindowOpensWhereItWas) {
    const std::vector<DesktopRect> displays{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    WindowSettings settings{false, 0, DesktopRect{2000, 100, 900, 700}, {}};
    EXPECT_EQ(PlaceWindow(settings, displays), (DesktopRect{2000, 100, 900, 700}));
    // Partly off the screen, but enough of it on one to take hold of.
    settings.window = DesktopRect{-800, -600, 900, 700};
    EXPECT_EQ(PlaceWindow(settings, displays), (DesktopRect{-800, -600, 900, 700}));
}

TEST(SettingsTest, AWindowOffEveryDisplayIsCentredOnItsDisplay) {
    const std::vector<DesktopRect> displays{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    WindowSettings settings{false, 1, DesktopRect{5000, 5000, 900, 700}, {}};
    EXPECT_EQ(PlaceWindow(settings, displays), (DesktopRect{2110, 162, 900, 700}));
    // Barely on a display is off it.
    settings.window = DesktopRect{-880, 100, 900, 700};
    EXPECT_EQ(PlaceWindow(settings, displays), (DesktopRect{2110, 162, 900, 700}));
    // A place that is not known is no place.
    settings.window = DesktopRect{0, 0, 900, 700};
    settings.placed = false;
    EXPECT_EQ(PlaceWindow(settings, displays), (DesktopRect{2110, 162, 900, 700}));
    // A display that is gone gives way to the first.
    settings.display = 5;
    EXPECT_EQ(PlaceWindow(settings, displays), (DesktopRect{510, 190, 900, 700}));
}

TEST(SettingsTest, AWindowLargerThanItsDisplayIsCutDown) {
    const std::vector<DesktopRect> displays{{0, 0, 1024, 768}};
    EXPECT_EQ(PlaceWindow(WindowSettings{false, 0, std::nullopt, {}}, displays),
              (DesktopRect{0, 0, 1024, 768}));
    EXPECT_EQ(PlaceWindow(WindowSettings{false, 0, DesktopRect{10, 10, 3000, 2000}, {}}, displays),
              (DesktopRect{10, 10, 1024, 768}));
    // Never below the game's own size, and with no display known, twice that size.
    EXPECT_EQ(PlaceWindow(WindowSettings{false, 0, std::nullopt, {}}, {{0, 0, 600, 400}}),
              (DesktopRect{-20, -40, 640, 480}));
    EXPECT_EQ(PlaceWindow(WindowSettings{}, {}), (DesktopRect{0, 0, 1280, 960}));
}

}  // namespace
