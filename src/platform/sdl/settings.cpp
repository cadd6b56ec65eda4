// Reading, writing and applying the settings file.
#include "platform/sdl/settings.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
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
// The numbers besides the window's, each with where it is kept.
struct SettingNumber {
    NumberKey key;
    int& (*value)(Settings&);
};
constexpr std::array<SettingNumber, 9> kNumbers{{
    {{"display", 0, 63}, [](Settings& s) -> int& { return s.display; }},
    {{"effects_volume", 0, 100}, [](Settings& s) -> int& { return s.sound.effects; }},
    {{"music_volume", 0, 100}, [](Settings& s) -> int& { return s.sound.music; }},
    {{"mouse_sensitivity", 25, 400},
     [](Settings& s) -> int& { return s.controls.mouseSensitivity; }},
    {{"stick_dead_zone", 0, 90}, [](Settings& s) -> int& { return s.controls.stickDeadZone; }},
    {{"stick_speed", 50, 5000}, [](Settings& s) -> int& { return s.controls.stickSpeed; }},
    {{"dpad_speed", 50, 5000}, [](Settings& s) -> int& { return s.controls.padSpeed; }},
    {{"key_speed", 50, 5000}, [](Settings& s) -> int& { return s.controls.keySpeed; }},
    {{"game_speed", 50, 100}, [](Settings& s) -> int& { return s.play.gameSpeed; }},
}};
constexpr std::array<NumberKey, 4> kWindowKeys{{{"window_x", -100000, 100000},
                                                {"window_y", -100000, 100000},
                                                {"window_width", kMinWindowWidth, 16384},
                                                {"window_height", kMinWindowHeight, 16384}}};
// A choice among words, each meaning stored as its index; the further words name the first two
// meanings in turn, as "true false" for yes and no.
struct SettingChoice {
    std::string_view name;
    std::array<std::string_view, 3> words;  // written; empty past the last
    std::string_view also;                  // further words taken, as "1 0" for yes and no
    int (*get)(const Settings&);
    void (*set)(Settings&, int);
};
constexpr std::array<SettingChoice, 4> kChoices{{
    {"fullscreen",
     {"yes", "no", ""},
     "true false 1 0",
     [](const Settings& s) { return s.fullscreen ? 0 : 1; },
     [](Settings& s, int v) { s.fullscreen = v == 0; }},
    {"scaling",
     {"sharp", "pixel-exact", "smooth"},
     "",
     [](const Settings& s) { return static_cast<int>(s.scaling); },
     [](Settings& s, int v) { s.scaling = static_cast<Scaling>(v); }},
    {"pads",
     {"yes", "no", ""},
     "true false 1 0",
     [](const Settings& s) { return s.controls.pads ? 0 : 1; },
     [](Settings& s, int v) { s.controls.pads = v == 0; }},
    {"launch",
     {"hold", "press", ""},
     "",
     [](const Settings& s) { return s.play.launchByPress ? 1 : 0; },
     [](Settings& s, int v) { s.play.launchByPress = v != 0; }},
}};
constexpr std::array<std::string_view, kKeyControls> kKeyNames{
    "key_left", "key_right", "key_launch", "key_pause", "key_leave"};
constexpr std::array<std::string_view, kButtonControls> kButtonNames{"pad_launch", "pad_pause",
                                                                     "pad_leave"};

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

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The index of the meaning the word gives; none when it gives none.
std::optional<int> ParseChoice(std::string_view value, const SettingChoice& choice) {
    const std::string word = Lower(value);
    for (std::size_t i = 0; i < choice.words.size() && !choice.words[i].empty(); ++i) {
        if (word == choice.words[i]) {
            return static_cast<int>(i);
        }
    }
    // The further words name the meanings in turn.
    std::istringstream also{std::string(choice.also)};
    int index = 0;
    for (std::string other; also >> other; ++index) {
        if (word == other) {
            return index % 2;
        }
    }
    return std::nullopt;
}

std::string ChoiceWords(const SettingChoice& choice) {
    std::string words;
    std::size_t count = 0;
    while (count < choice.words.size() && !choice.words[count].empty()) {
        ++count;
    }
    for (std::size_t i = 0; i < count; ++i) {
        words += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(choice.words[i]);
    }
    return words;
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

std::string Range(const NumberKey& key) {
    return "a whole number from " + std::to_string(key.min) + " to " + std::to_string(key.max);
}

template <std::size_t N>
bool AllDifferent(const std::array<std::int32_t, N>& values) {
    return std::set<std::int32_t>(values.begin(), values.end()).size() == N;
}

template <std::size_t N, typename Name>
std::string NamesList(const std::array<std::int32_t, N>& values, Name name) {
    std::string list;
    for (std::size_t i = 0; i < N; ++i) {
        list += (i == 0 ? "" : i + 1 == N ? " and " : ", ") + name(values[i]);
    }
    return list;
}

template <std::size_t N>
std::string KeysList(const std::array<std::string_view, N>& names) {
    std::string list;
    for (std::size_t i = 0; i < N; ++i) {
        list += (i == 0 ? "" : i + 1 == N ? " and " : ", ") + std::string(names[i]);
    }
    return list;
}

std::string LineProblem(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// How much of two spans overlap.
int Overlap(int start, int length, int otherStart, int otherLength) {
    return std::min(start + length, otherStart + otherLength) - std::max(start, otherStart);
}

}  // namespace

std::array<std::int32_t, kKeyControls> DefaultKeys() {
    return {SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_p, SDLK_ESCAPE};
}

std::array<std::int32_t, kButtonControls> DefaultButtons() {
    return {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK};
}

bool ReservedKey(std::int32_t key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_F12 || key == SDLK_UNKNOWN;
}

bool ReservedButton(std::int32_t button) {
    return button <= SDL_CONTROLLER_BUTTON_INVALID || button >= SDL_CONTROLLER_BUTTON_MAX ||
           (button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
}

NumberSetting FindNumber(Settings& settings, std::string_view key) {
    for (const SettingNumber& number : kNumbers) {
        if (number.key.name == key) {
            return {&number.value(settings), static_cast<int>(number.key.min),
                    static_cast<int>(number.key.max)};
        }
    }
    return {};
}

std::string KeyName(std::int32_t key) {
    return SDL_GetKeyName(key);
}

std::string ButtonName(std::int32_t button) {
    const char* name =
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    return name != nullptr ? name : "";
}

ParsedSettings ParseSettings(std::string_view text) {
    ParsedSettings parsed;
    if (!IsText(text)) {
        parsed.damaged = true;
        parsed.problems.push_back("holds bytes that are not text");
        return parsed;
    }
    Settings& settings = parsed.settings;
    const Settings defaults;
    const auto bad = [&parsed](int line, const std::string& what) {
        parsed.badValues = true;
        parsed.problems.push_back(LineProblem(line, what));
    };
    std::array<std::optional<int>, kWindowKeys.size()> window;
    bool windowForgotten = false;
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
            bad(lineNumber, "not \"key = value\"; skipped");
            continue;
        }
        const std::string key(Trim(line.substr(0, equals)));
        const std::string_view value = Trim(line.substr(equals + 1));
        const auto windowKey = std::find_if(kWindowKeys.begin(), kWindowKeys.end(),
                                            [&key](const NumberKey& k) { return k.name == key; });
        if (windowKey != kWindowKeys.end()) {
            const std::optional<int> number = ParseNumber(value, *windowKey);
            if (!number) {
                bad(lineNumber,
                    key + " must be " + Range(*windowKey) + "; the window's place is forgotten");
                windowForgotten = true;
            }
            window[static_cast<std::size_t>(windowKey - kWindowKeys.begin())] = number;
            continue;
        }
        const auto number =
            std::find_if(kNumbers.begin(), kNumbers.end(),
                         [&key](const SettingNumber& n) { return n.key.name == key; });
        if (number != kNumbers.end()) {
            if (const std::optional<int> read = ParseNumber(value, number->key)) {
                number->value(settings) = *read;
            } else {
                Settings fallback;
                bad(lineNumber, key + " must be " + Range(number->key) + "; it is " +
                                    std::to_string(number->value(fallback)));
            }
            continue;
        }
        const auto choice = std::find_if(kChoices.begin(), kChoices.end(),
                                         [&key](const SettingChoice& c) { return c.name == key; });
        if (choice != kChoices.end()) {
            if (const std::optional<int> read = ParseChoice(value, *choice)) {
                choice->set(settings, *read);
            } else {
                bad(lineNumber,
                    key + " must be " + ChoiceWords(*choice) + "; it is " +
                        std::string(
                            choice->words[static_cast<std::size_t>(choice->get(defaults))]));
            }
            continue;
        }
        if (const auto k = std::find(kKeyNames.begin(), kKeyNames.end(), key);
            k != kKeyNames.end()) {
            const auto index = static_cast<std::size_t>(k - kKeyNames.begin());
            const std::int32_t code = SDL_GetKeyFromName(std::string(value).c_str());
            if (!ReservedKey(code)) {
                settings.controls.keys[index] = code;
            } else {
                bad(lineNumber, key +
                                    " must name a key, as Left, Space or A, other than Return "
                                    "and F12; it is " +
                                    KeyName(defaults.controls.keys[index]));
            }
            continue;
        }
        if (const auto b = std::find(kButtonNames.begin(), kButtonNames.end(), key);
            b != kButtonNames.end()) {
            const auto index = static_cast<std::size_t>(b - kButtonNames.begin());
            const std::int32_t button =
                SDL_GameControllerGetButtonFromString(std::string(value).c_str());
            if (!ReservedButton(button)) {
                settings.controls.buttons[index] = button;
            } else {
                bad(lineNumber, key +
                                    " must name a game controller's button other than the "
                                    "d-pad's, as a, b, x, y, back, start or leftshoulder; it is " +
                                    ButtonName(defaults.controls.buttons[index]));
            }
            continue;
        }
        parsed.problems.push_back(
            LineProblem(lineNumber, "unknown setting \"" + key + "\" skipped"));
    }
    ControlSettings& controls = settings.controls;
    if (!AllDifferent(controls.keys)) {
        controls.keys = defaults.controls.keys;
        parsed.badValues = true;
        parsed.problems.push_back(KeysList(kKeyNames) + " must be different keys; they are " +
                                  NamesList(controls.keys, KeyName));
    }
    if (!AllDifferent(controls.buttons)) {
        controls.buttons = defaults.controls.buttons;
        parsed.badValues = true;
        parsed.problems.push_back(KeysList(kButtonNames) + " must be different buttons; they are " +
                                  NamesList(controls.buttons, ButtonName));
    }
    // The size goes as a pair, and the place too; a size may come without a place.
    const bool place = window[0] && window[1];
    const bool size = window[2] && window[3];
    const bool given =
        std::any_of(window.begin(), window.end(), [](const auto& v) { return v.has_value(); });
    if (given && (!size || place != (window[0] || window[1]))) {
        if (!windowForgotten) {
            parsed.badValues = true;
            parsed.problems.push_back(
                "gives only part of the window's place and size (window_width and window_height "
                "go together, and window_x and window_y with them or not at all); the window's "
                "place is forgotten");
        }
    } else if (size) {
        settings.window =
            DesktopRect{window[0].value_or(0), window[1].value_or(0), *window[2], *window[3]};
        settings.placed = place;
    }
    return parsed;
}

std::string FormatSettings(const Settings& settings) {
    std::ostringstream text;
    text << "# Zintrel's settings, written by the game whenever they change.\n"
         << "fullscreen = " << (settings.fullscreen ? "yes" : "no") << "\n"
         << "display = " << settings.display << "\n";
    if (settings.window) {
        const DesktopRect& w = *settings.window;
        if (settings.placed) {
            text << "window_x = " << w.x << "\nwindow_y = " << w.y << "\n";
        }
        text << "window_width = " << w.width << "\nwindow_height = " << w.height << "\n";
    }
    // The rest is written only where the player changed it.
    Settings defaults;
    Settings shown = settings;
    for (const SettingChoice& choice : kChoices) {
        const int value = choice.get(settings);
        if (choice.name != "fullscreen" && value != choice.get(defaults)) {
            text << choice.name << " = " << choice.words[static_cast<std::size_t>(value)] << "\n";
        }
    }
    for (const SettingNumber& number : kNumbers) {
        if (number.key.name != "display" && number.value(shown) != number.value(defaults)) {
            text << number.key.name << " = " << number.value(shown) << "\n";
        }
    }
    const ControlSettings& controls = settings.controls;
    for (std::size_t i = 0; i < kKeyControls; ++i) {
        if (controls.keys[i] != defaults.controls.keys[i]) {
            text << kKeyNames[i] << " = " << KeyName(controls.keys[i]) << "\n";
        }
    }
    for (std::size_t i = 0; i < kButtonControls; ++i) {
        if (controls.buttons[i] != defaults.controls.buttons[i]) {
            text << kButtonNames[i] << " = " << ButtonName(controls.buttons[i]) << "\n";
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
    const auto fail = [&loaded](const std::string& why) {
        loaded.problems.push_back(why + "; starting full screen");
        return loaded;
    };
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return fail(path + " does not exist yet");
    }
    if (status.type() != fs::file_type::regular) {
        return fail(path + " is not a file");
    }
    if (fs::file_size(path, error) > kMaxSettingsBytes) {
        return fail(path + " is too large to hold settings");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return fail("cannot read " + path + " (" + std::strerror(errno) + ")");
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        return fail("cannot read " + path);
    }
    const ParsedSettings parsed = ParseSettings(text.str());
    loaded.settings = parsed.settings;
    if (parsed.damaged) {
        return fail(path + " " + parsed.problems.front());
    }
    if (text.str().empty()) {
        return fail(path + " is empty");
    }
    // A value replaced by its default is written back, with the good ones.
    if (!parsed.badValues) {
        loaded.onDisk = parsed.settings;
    }
    for (const std::string& problem : parsed.problems) {
        loaded.problems.push_back(path + " " + problem);
    }
    return loaded;
}

std::string SaveSettings(const std::string& path, const Settings& settings) {
    std::error_code error;
    const fs::path target(path);
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return "cannot make " + target.parent_path().string() + " (" + error.message() + ")";
    }
    return ReplaceFileContents(path, FormatSettings(settings));
}

DesktopRect PlaceWindow(const Settings& settings, const std::vector<DesktopRect>& displays) {
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
