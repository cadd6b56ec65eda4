// The settings file: its round trip (the window's and the controls'), its damaged and unknown
// contents, how it is written, and where a remembered window opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/sdl/settings.h"
#include "support/test_folder.h"

namespace {

using platform::DesktopRect;
using platform::LoadedSettings;
using platform::LoadSettings;
using platform::ParseSettings;
using platform::PlaceWindow;
using platform::WindowSettings;

const WindowSettings kWindowed{false, 1, DesktopRect{-300, 20, 1000, 750}, {}};

TEST(SettingsTest, WhatIsWrittenReadsBack) {
    for (const WindowSettings& settings : {WindowSettings{}, kWindowed}) {
        const platform::ParsedSettings parsed = ParseSettings(FormatSettings(settings));
        EXPECT_FALSE(parsed.damaged);
        EXPECT_EQ(parsed.problem, "");
        EXPECT_EQ(parsed.settings, settings);
    }
    EXPECT_EQ(FormatSettings(kWindowed),
              "# Zintrel's window, written by the game whenever it changes.\n"
              "fullscreen = no\ndisplay = 1\nwindow_x = -300\nwindow_y = 20\n"
              "window_width = 1000\nwindow_height = 750\n");
}

TEST(SettingsTest, SpacesCommentsLineEndsAndUnknownKeysAreForgiven) {
    const struct {
        std::string text;
        WindowSettings settings;
        std::string problem;
    } cases[] = {
        {"", WindowSettings{}, ""},
        {"fullscreen = 1\n", WindowSettings{}, ""},
        {"# mine\r\n\n  fullscreen=No \r\n\twindow_x =5\nwindow_y= 6\nwindow_width = 700\n"
         "window_height = 500",
         WindowSettings{false, 0, DesktopRect{5, 6, 700, 500}, {}}, ""},
        {"volume = 11\nfullscreen = no\ncolour = blue\n", WindowSettings{false, 0, {}, {}},
         "line 1: unknown setting \"volume\" skipped"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseSettings(c.text);
        EXPECT_FALSE(parsed.damaged) << c.text;
        EXPECT_EQ(parsed.problem, c.problem) << c.text;
        EXPECT_EQ(parsed.settings, c.settings) << c.text;
    }
}

TEST(SettingsTest, DamageGivesTheDefaultsAndSaysWhere) {
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
        {"fullscreen = no\nwindow_x = 10\nwindow_y = 10\n",
         "gives only part of the window's place and size (window_x, window_y, window_width and "
         "window_height go together)"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseSettings(c.text);
        EXPECT_TRUE(parsed.damaged) << c.text;
        EXPECT_EQ(parsed.problem, c.problem) << c.text;
        EXPECT_EQ(parsed.settings, WindowSettings{}) << c.text;
    }
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
    const struct {
        std::optional<std::string> contents;  // none: no file; "/": a folder in its place
        std::string problem;
    } cases[] = {
        {std::nullopt, " does not exist yet; starting full screen"},
        {"", " is empty; starting full screen"},
        {"fullscreen = no\nwindow_width = 5\n",
         " line 2: window_width must be a whole number from 640 to 16384; starting full screen"},
        {std::string(70'000, '#'), " is too large to hold settings; starting full screen"},
        {"/", " is not a file; starting full screen"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(path);
        if (c.contents == "/") {
            std::filesystem::create_directory(path);
        } else if (c.contents) {
            folder.Write("zintrel.conf", *c.contents);
        }
        const LoadedSettings loaded = LoadSettings(path);
        EXPECT_EQ(loaded.problem, path + c.problem);
        EXPECT_EQ(loaded.settings, WindowSettings{}) << c.problem;
        EXPECT_FALSE(loaded.onDisk) << c.problem;
    }
    std::filesystem::remove(path);
    folder.Write("zintrel.conf", "fullscreen = no\nshade = 3\n");
    const LoadedSettings loaded = LoadSettings(path);
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
    } cases[] = {
        {"on its display", two, 0, DesktopRect{2000, 100, 900, 700}, {2000, 100, 900, 700}},
        {"partly off", two, 0, DesktopRect{-800, -600, 900, 700}, {-800, -600, 900, 700}},
        {"off every display", two, 1, DesktopRect{5000, 5000, 900, 700}, {2110, 162, 900, 700}},
        {"40 pixels on a display", two, 1, DesktopRect{-860, 100, 900, 700}, {2110, 162, 900, 700}},
        {"its display gone", two, 5, DesktopRect{-880, 100, 900, 700}, {510, 190, 900, 700}},
        {"never placed", small, 0, none, {0, 0, 1024, 768}},
        {"too large", small, 0, DesktopRect{10, 10, 3000, 2000}, {10, 10, 1024, 768}},
        {"on a tiny display", tiny, 0, none, {-20, -40, 640, 480}},
        {"no display known", nothing, 0, none, {0, 0, 1280, 960}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceWindow({false, c.display, c.window, {}}, c.displays), c.place) << c.what;
    }
}

}  // namespace
