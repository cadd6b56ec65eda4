// Reading, writing and applying the window's settings file.
#include "platform/sdl/settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/api/files.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// A settings file is a few lines; anything larger is not one.
constexpr std::uintmax_t kMaxSettingsBytes = 64 * 1024;
// A window lies on a display when this much of it, across and down, is on that display.
constexpr int kVisiblePart = 64;

struct NumberKey {
    std::string_view name;
    long min;
    long max;
};
constexpr NumberKey kDisplayKey{"display", 0, 63};
// The controls' numbers, each with where it is kept.
struct ControlKey {
    NumberKey key;
    int ControlSettings::*value;
};
constexpr std::array<ControlKey, 4> kControlKeys{{
    {{"stick_dead_zone", 0, 90}, &ControlSettings::stickDeadZone},
    {{"stick_speed", 50, 5000}, &ControlSettings::stickSpeed},
    {{"dpad_speed", 50, 5000}, &ControlSettings::padSpeed},
    {{"key_speed", 50, 5000}, &ControlSettings::keySpeed},
}};
constexpr std::array<NumberKey, 4> kWindowKeys{{{"window_x", -100000, 100000},
                                                {"window_y", -100000, 100000},
                                                {"window_width", kMinWindowWidth, 16384},
                                                {"window_height", kMinWindowHeight, 16384}}};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return (code < 0x20 && c != '\n' && c != '\r' && c != '\t') || code == 0x7F;
    });
}

std::optional<bool> ParseYesNo(std::string_view value) {
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "yes" || lower == "true" || lower == "1") {
        return true;
    }
    if (lower == "no" || lower == "false" || lower == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<int> ParseNumber(std::string_view value, const NumberKey& key) {
    long number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (error != std::errc() || stop != end || number < key.min || number > key.max) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::string LineProblem(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// How much of two spans overlap.
int Overlap(int start, int length, int otherStart, int otherLength) {
    return std::min(start + length, otherStart + otherLength) - std::max(start, otherStart);
}

}  // namespace

ParsedSettings ParseSettings(std::string_view text) {
    ParsedSettings parsed;
    const auto damage = [&parsed](std::string problem) {
        parsed = ParsedSettings{};
        parsed.damaged = true;
        parsed.problem = std::move(problem);
        return parsed;
    };
    if (!IsText(text)) {
        return damage("holds bytes that are not text");
    }
    std::array<std::optional<int>, kWindowKeys.size()> window;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto newline = text.find('\n');
        const std::string_view line = Trim(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            return damage(LineProblem(lineNumber, "not \"key = value\""));
        }
        const std::string key(Trim(line.substr(0, equals)));
        const std::string_view value = Trim(line.substr(equals + 1));
        const auto bad = [&](const std::string& expected) {
            return damage(LineProblem(lineNumber, key + " must be " + expected));
        };
        if (key == "fullscreen") {
            const std::optional<bool> fullscreen = ParseYesNo(value);
            if (!fullscreen) {
                return bad("yes or no");
            }
            parsed.settings.fullscreen = *fullscreen;
            continue;
        }
        const auto range = [](const NumberKey& k) {
            return "a whole number from " + std::to_string(k.min) + " to " + std::to_string(k.max);
        };
        if (key == kDisplayKey.name) {
            const std::optional<int> display = ParseNumber(value, kDisplayKey);
            if (!display) {
                return bad(range(kDisplayKey));
            }
            parsed.settings.display = *display;
            continue;
        }
        const auto windowKey = std::find_if(kWindowKeys.begin(), kWindowKeys.end(),
                                            [&key](const NumberKey& k) { return k.name == key; });
        if (windowKey != kWindowKeys.end()) {
            const std::optional<int> number = ParseNumber(value, *windowKey);
            if (!number) {
                return bad(range(*windowKey));
            }
            window[static_cast<std::size_t>(windowKey - kWindowKeys.begin())] = number;
            continue;
        }
        // A control's value that cannot be read leaves that control as it is by default.
        const auto note = [&](const std::string& what) {
            if (parsed.problem.empty()) {
                parsed.problem = LineProblem(lineNumber, what);
            }
        };
        if (key == "pads") {
            const std::optional<bool> pads = ParseYesNo(value);
            if (pads) {
                parsed.settings.controls.pads = *pads;
            } else {
                note("pads must be yes or no; game controllers are taken");
            }
            continue;
        }
        const auto controlKey =
            std::find_if(kControlKeys.begin(), kControlKeys.end(),
                         [&key](const ControlKey& k) { return k.key.name == key; });
        if (controlKey != kControlKeys.end()) {
            const std::optional<int> number = ParseNumber(value, controlKey->key);
            if (number) {
                parsed.settings.controls.*controlKey->value = *number;
            } else {
                note(key + " must be " + range(controlKey->key) + "; it is " +
                     std::to_string(ControlSettings{}.*controlKey->value));
            }
            continue;
        }
        note("unknown setting \"" + key + "\" skipped");
    }
    // The size goes as a pair, and the place too; a size may come without a place.
    const bool place = window[0] && window[1];
    const bool size = window[2] && window[3];
    const bool given =
        std::any_of(window.begin(), window.end(), [](const auto& v) { return v.has_value(); });
    if (given && (!size || place != (window[0] || window[1]))) {
        return damage(
            "gives only part of the window's place and size (window_width and window_height go "
            "together, and window_x and window_y with them or not at all)");
    }
    if (size) {
        parsed.settings.window =
            DesktopRect{window[0].value_or(0), window[1].value_or(0), *window[2], *window[3]};
        parsed.settings.placed = place;
    }
    return parsed;
}

std::string FormatSettings(const WindowSettings& settings) {
    std::ostringstream text;
    text << "# Zintrel's window, written by the game whenever it changes.\n"
         << "fullscreen = " << (settings.fullscreen ? "yes" : "no") << "\n"
         << "display = " << settings.display << "\n";
    if (settings.window) {
        const DesktopRect& w = *settings.window;
        if (settings.placed) {
            text << "window_x = " << w.x << "\nwindow_y = " << w.y << "\n";
        }
        text << "window_width = " << w.width << "\nwindow_height = " << w.height << "\n";
    }
    // The controls are written only where the player changed them.
    const ControlSettings defaults;
    const ControlSettings& controls = settings.controls;
    if (controls.pads != defaults.pads) {
        text << "pads = " << (controls.pads ? "yes" : "no") << "\n";
    }
    for (const ControlKey& k : kControlKeys) {
        if (controls.*k.value != defaults.*k.value) {
            text << k.key.name << " = " << controls.*k.value << "\n";
        }
    }
    return text.str();
}

std::string SettingsFilePath(const std::string& configHome, const std::string& home) {
    fs::path folder;
    if (!configHome.empty() && fs::path(configHome).is_absolute()) {
        folder = configHome;
    } else if (!home.empty()) {
        folder = fs::path(home) / ".config";
    } else {
        return {};
    }
    return (folder / "zintrel" / "zintrel.conf").string();
}

std::string ProcessSettingsFilePath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return SettingsFilePath(configHome != nullptr ? configHome : "", home != nullptr ? home : "");
}

LoadedSettings LoadSettings(const std::string& path) {
    LoadedSettings loaded;
    const std::string fallback = "; starting full screen";
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        loaded.problem = path + " does not exist yet" + fallback;
        return loaded;
    }
    if (status.type() != fs::file_type::regular) {
        loaded.problem = path + " is not a file" + fallback;
        return loaded;
    }
    if (fs::file_size(path, error) > kMaxSettingsBytes) {
        loaded.problem = path + " is too large to hold settings" + fallback;
        return loaded;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        loaded.problem = "cannot read " + path + " (" + std::strerror(errno) + ")" + fallback;
        return loaded;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        loaded.problem = "cannot read " + path + fallback;
        return loaded;
    }
    const ParsedSettings parsed = ParseSettings(text.str());
    loaded.settings = parsed.settings;
    if (parsed.damaged) {
        loaded.problem = path + " " + parsed.problem + fallback;
        return loaded;
    }
    if (text.str().empty()) {
        loaded.problem = path + " is empty" + fallback;
        return loaded;
    }
    loaded.onDisk = parsed.settings;
    if (!parsed.problem.empty()) {
        loaded.problem = path + " " + parsed.problem;
    }
    return loaded;
}

std::string SaveSettings(const std::string& path, const WindowSettings& settings) {
    std::error_code error;
    const fs::path target(path);
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return "cannot make " + target.parent_path().string() + " (" + error.message() + ")";
    }
    return ReplaceFileContents(path, FormatSettings(settings));
}

DesktopRect PlaceWindow(const WindowSettings& settings, const std::vector<DesktopRect>& displays) {
    const DesktopRect twice{0, 0, kMinWindowWidth * 2, kMinWindowHeight * 2};
    DesktopRect window = settings.window.value_or(twice);
    auto display = std::find_if(displays.begin(), displays.end(), [&](const DesktopRect& d) {
        return Overlap(window.x, window.width, d.x, d.width) >= kVisiblePart &&
               Overlap(window.y, window.height, d.y, d.height) >= kVisiblePart;
    });
    const bool remembered = settings.window && settings.placed && display != displays.end();
    if (!remembered) {
        const auto index = static_cast<std::size_t>(settings.display);
        display = displays.begin() + static_cast<long>(index < displays.size() ? index : 0);
    }
    const DesktopRect& area = displays.empty() ? twice : *display;
    window.width = std::max(kMinWindowWidth, std::min(window.width, area.width));
    window.height = std::max(kMinWindowHeight, std::min(window.height, area.height));
    if (!remembered) {
        window.x = area.x + (area.width - window.width) / 2;
        window.y = area.y + (area.height - window.height) / 2;
    }
    return window;
}

}  // namespace platform
