// The settings kept between runs: the window (full screen or a window, its place and size, and
// the display) and the controls besides the mouse, as "key = value" lines in the player's
// configuration folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A rectangle on the desktop, in pixels.
struct DesktopRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DesktopRect&) const = default;
};

// How game controllers and the keyboard move the paddle. Speeds are in screen pixels a second:
// the stick's at full deflection; the d-pad's and the arrow keys' when first held, rising to
// three times as much while held.
struct ControlSettings {
    bool pads = true;        // game controllers are taken
    int stickDeadZone = 20;  // percent of the stick's travel that moves nothing
    int stickSpeed = 1150;   // full deflection crosses the screen in half a second
    int padSpeed = 400;
    int keySpeed = 400;
    bool operator==(const ControlSettings&) const = default;
};

struct WindowSettings {
    bool fullscreen = true;
    int display = 0;  // counted from 0
    // Where the window was, once the game has been in a window.
    std::optional<DesktopRect> window;
    ControlSettings controls;
    // Whether the window's place is known: a window system that keeps its windows' places to
    // itself (Wayland) tells only the size.
    bool placed = true;
    bool operator==(const WindowSettings&) const = default;
};

// The smallest window: the game's own 640 by 480.
inline constexpr int kMinWindowWidth = 640;
inline constexpr int kMinWindowHeight = 480;

// What a settings text holds. A damaged text (a line that is not "key = value", a value of the
// window's out of its range, one of a pair of the window's keys without the other, a place
// without a size) gives the defaults, and `problem` says where it is damaged. A control's value
// out of its range gives that control's default, and an unknown key is skipped, the rest kept;
// `problem` names the first.
struct ParsedSettings {
    WindowSettings settings;
    bool damaged = false;
    std::string problem;  // empty: none
};
ParsedSettings ParseSettings(std::string_view text);
std::string FormatSettings(const WindowSettings& settings);

// The settings file under XDG_CONFIG_HOME (HOME/.config when it is unset or not absolute):
// zintrel/zintrel.conf. Empty when neither names a folder.
std::string SettingsFilePath(const std::string& configHome, const std::string& home);
// The settings file of this process, from its environment.
std::string ProcessSettingsFilePath();

struct LoadedSettings {
    WindowSettings settings;
    // What the file holds, when it was read without damage: nothing to write while the
    // settings stay so.
    std::optional<WindowSettings> onDisk;
    std::string problem;  // a line for standard error; empty: none
};
// Reads the file; a missing, unreadable or damaged file gives the defaults and says so.
LoadedSettings LoadSettings(const std::string& path);
// Writes the settings into a new file beside the old one and renames it over the old one, so
// that the file is always whole. Makes the folder when missing. Returns what went wrong; empty
// on success.
std::string SaveSettings(const std::string& path, const WindowSettings& settings);

// Where a window with these settings opens, given the displays' usable areas (the first is the
// primary): its remembered place and size when the window lies on a display, else the
// remembered size (twice the game's when none) centred on the remembered display (the first
// when that display is gone or no place is known). A size larger than the display is cut down to
// it, never below the game's own.
DesktopRect PlaceWindow(const WindowSettings& settings, const std::vector<DesktopRect>& displays);

}  // namespace platform
