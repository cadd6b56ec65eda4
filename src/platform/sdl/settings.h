// The settings kept between runs: the window (full screen or a window, its place and size, and
// the display), the picture's scaling, the volumes, the controls and their keys and buttons,
// and the options that change play, as "key = value" lines in the player's configuration
// folder.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/options.h"

namespace platform {

// A rectangle on the desktop, in pixels.
struct DesktopRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DesktopRect&) const = default;
};

// How the 640 by 480 picture is brought to the window's size, its aspect ratio kept: sharp (the
// largest whole multiple, then smoothly to the final size), pixel-exact (whole multiples only,
// a black border around) or smooth (smoothly all the way).
enum class Scaling { Sharp, PixelExact, Smooth };

// The controls of play that take a key of the player's choice, and those that take a game
// controller's button.
enum class KeyControl { Left, Right, Launch, Pause, Leave };
enum class ButtonControl { Launch, Pause, Leave };
inline constexpr std::size_t kKeyControls = 5;
inline constexpr std::size_t kButtonControls = 3;
// SDL's key codes and game controller buttons: Left, Right, Space, P and Escape; the south
// button, Start and Back.
std::array<std::int32_t, kKeyControls> DefaultKeys();
std::array<std::int32_t, kButtonControls> DefaultButtons();

// How the mouse, game controllers and the keyboard move the paddle, and the keys and buttons
// of play. Speeds are in screen pixels a second: the stick's at full deflection; the d-pad's
// and the arrow keys' when first held, rising to three times as much while held.
struct ControlSettings {
    bool pads = true;        // game controllers are taken
    int stickDeadZone = 20;  // percent of the stick's travel that moves nothing
    int stickSpeed = 1150;   // full deflection crosses the screen in half a second
    int padSpeed = 400;
    int keySpeed = 400;
    int mouseSensitivity = 100;  // per cent of the mouse's motion that moves the cursor
    std::array<std::int32_t, kKeyControls> keys = DefaultKeys();
    std::array<std::int32_t, kButtonControls> buttons = DefaultButtons();
    std::int32_t Key(KeyControl control) const { return keys[static_cast<std::size_t>(control)]; }
    std::int32_t Button(ButtonControl control) const {
        return buttons[static_cast<std::size_t>(control)];
    }
    bool operator==(const ControlSettings&) const = default;
};

// The volumes, in per cent.
struct SoundSettings {
    int effects = 100;
    int music = 100;
    bool operator==(const SoundSettings&) const = default;
};

struct Settings {
    bool fullscreen = true;
    int display = 0;  // counted from 0
    // Where the window was, once the game has been in a window.
    std::optional<DesktopRect> window;
    Scaling scaling = Scaling::Sharp;
    SoundSettings sound;
    ControlSettings controls;
    PlayOptions play;
    // Whether the window's place is known: a window system that keeps its windows' places to
    // itself (Wayland) tells only the size.
    bool placed = true;
    bool operator==(const Settings&) const = default;
};

// The smallest window: the game's own 640 by 480.
inline constexpr int kMinWindowWidth = 640;
inline constexpr int kMinWindowHeight = 480;

// What a settings text holds. A text that is not text at all (bytes of a picture, say) gives the
// defaults and `damaged`. Otherwise each value that can be read is kept, and each that cannot
// gives its default (a window's value, or part of the window's keys without the rest, forgets
// the window's place and size): `problems` says so, a line for each, as it does for a line that
// is not "key = value" and an unknown key, which are skipped. The window's size may come
// without its place.
struct ParsedSettings {
    Settings settings;
    bool damaged = false;
    bool badValues = false;  // a value was replaced by its default
    std::vector<std::string> problems;
};
ParsedSettings ParseSettings(std::string_view text);
std::string FormatSettings(const Settings& settings);

// SDL's names of keys and game controller buttons, as the settings file writes them: "Left",
// "Space", "P"; "a", "start". Empty for a key or button without one.
std::string KeyName(std::int32_t key);
std::string ButtonName(std::int32_t button);
// The keys and buttons that no control of play may take: Enter and F12 (a screenshot), which
// the game keeps for itself; the d-pad, which moves the paddle and the screens' highlight.
bool ReservedKey(std::int32_t key);
bool ReservedButton(std::int32_t button);

// A number of the settings by its key in the file ("music_volume"), with its range; null value
// for a key that is not a number's.
struct NumberSetting {
    int* value = nullptr;
    int min = 0;
    int max = 0;
};
NumberSetting FindNumber(Settings& settings, std::string_view key);

// The settings file under XDG_CONFIG_HOME (HOME/.config when it is unset or not absolute):
// zintrel/zintrel.conf. Empty when neither names a folder.
std::string SettingsFilePath(const std::string& configHome, const std::string& home);
// The settings file of this process, from its environment.
std::string ProcessSettingsFilePath();

struct LoadedSettings {
    Settings settings;
    // What the file holds, when every value was read: nothing to write while the settings stay
    // so.
    std::optional<Settings> onDisk;
    std::vector<std::string> problems;  // lines for standard error
};
// Reads the file; a missing, unreadable or damaged file gives the defaults and says so.
LoadedSettings LoadSettings(const std::string& path);
// Writes the settings into a new file beside the old one and renames it over the old one, so
// that the file is always whole. Makes the folder when missing. Returns what went wrong; empty
// on success.
std::string SaveSettings(const std::string& path, const Settings& settings);

// Where a window with these settings opens, given the displays' usable areas (the first is the
// primary): its remembered place and size when the window lies on a display, else the
// remembered size (twice the game's when none) centred on the remembered display (the first
// when that display is gone or no place is known). A size larger than the display is cut down to
// it, never below the game's own.
DesktopRect PlaceWindow(const Settings& settings, const std::vector<DesktopRect>& displays);

}  // namespace platform
