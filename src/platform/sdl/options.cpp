// The player's options over the settings the display keeps: the Options screen's rows, the wait
// for a key or button of play, the labels of the pads' buttons, and the options that change
// play as a game takes them.
#include <SDL.h>

#include <optional>

#include "platform/sdl/controls.h"
#include "platform/sdl/display.h"
#include "platform/sdl/remap.h"
#include "platform/session/session.h"

namespace platform {

namespace {

// A row that steps a number of the settings, by its key in the settings file.
struct NumberRow {
    Option option;
    const char* key;
    int step;
    const char* unit;
};
constexpr NumberRow kNumberRows[] = {
    {Option::EffectsVolume, "effects_volume", 10, " %"},
    {Option::MusicVolume, "music_volume", 10, " %"},
    {Option::GameSpeed, "game_speed", 10, " %"},
    {Option::MouseSensitivity, "mouse_sensitivity", 25, " %"},
    {Option::KeySpeed, "key_speed", 50, ""},
    {Option::PadSpeed, "dpad_speed", 50, ""},
    {Option::StickSpeed, "stick_speed", 50, ""},
    {Option::StickDeadZone, "stick_dead_zone", 5, " %"},
};

const NumberRow* FindRow(Option option) {
    for (const NumberRow& row : kNumberRows) {
        if (row.option == option) {
            return &row;
        }
    }
    return nullptr;
}

// A row that chooses among a few words: the choice's index in the settings, and its words.
struct ChoiceRow {
    Option option;
    int (*get)(const Settings&);
    void (*set)(Settings&, int);
    std::array<const char*, 3> words;  // null past the last
};
constexpr ChoiceRow kChoiceRows[] = {
    {Option::Fullscreen,
     [](const Settings& s) { return s.fullscreen ? 0 : 1; },
     [](Settings& s, int v) { s.fullscreen = v == 0; },
     {"Full screen", "Window", nullptr}},
    {Option::Scaling,
     [](const Settings& s) { return static_cast<int>(s.scaling); },
     [](Settings& s, int v) { s.scaling = static_cast<Scaling>(v); },
     {"Sharp", "Pixel-exact", "Smooth"}},
    {Option::LaunchMode,
     [](const Settings& s) { return s.play.launchByPress ? 1 : 0; },
     [](Settings& s, int v) { s.play.launchByPress = v != 0; },
     {"Hold", "Press", nullptr}},
    {Option::Pads,
     [](const Settings& s) { return s.controls.pads ? 0 : 1; },
     [](Settings& s, int v) { s.controls.pads = v == 0; },
     {"On", "Off", nullptr}},
};

const ChoiceRow* FindChoice(Option option) {
    for (const ChoiceRow& row : kChoiceRows) {
        if (row.option == option) {
            return &row;
        }
    }
    return nullptr;
}

std::size_t KeyIndex(Option option) {
    return static_cast<std::size_t>(option) - static_cast<std::size_t>(Option::KeyLeft);
}

std::size_t ButtonIndex(Option option) {
    return static_cast<std::size_t>(option) - static_cast<std::size_t>(Option::PadLaunch);
}

std::string Label(std::int32_t button) {
    return ButtonLabel(button, LastPadKind());
}

// The wait for a key or button: the control, and why the last one offered was refused.
std::optional<Option> g_remap;
std::string g_refusal;
int g_waitChanges = 0;

void EndWait() {
    g_remap.reset();
    g_refusal.clear();
    ++g_waitChanges;
}

// Gives the control at the index of the list of keys or buttons the one pressed, unless the
// game keeps it or another control of the list has it: then it is refused by its name.
template <std::size_t N>
void Take(std::array<std::int32_t, N> ControlSettings::*list, std::size_t index,
          std::int32_t pressed, bool reserved, const std::string& name) {
    const std::array<std::int32_t, N>& taken = Display::Get().Controls().*list;
    const auto holder = std::find(taken.begin(), taken.end(), pressed);
    if (reserved || (holder != taken.end() && holder != taken.begin() + index)) {
        g_refusal = name + " is in use";
        ++g_waitChanges;
        return;
    }
    Display::Get().ChangeSettings(
        [list, index, pressed](Settings& s) { (s.controls.*list)[index] = pressed; });
    EndWait();
}

}  // namespace

PlayOptions GamePlayOptions() {
    return SessionPlayOptions(Display::Get().PlayerSettings().play);
}

bool TakesKey(Option option) {
    return option >= Option::KeyLeft && option <= Option::KeyLeave;
}

bool TakesButton(Option option) {
    return option >= Option::PadLaunch && option <= Option::PadLeave;
}

std::string OptionValue(Option option) {
    const Settings& settings = Display::Get().PlayerSettings();
    if (const NumberRow* row = FindRow(option)) {
        Settings copy = settings;
        return std::to_string(*FindNumber(copy, row->key).value) + row->unit;
    }
    if (const ChoiceRow* row = FindChoice(option)) {
        return row->words[static_cast<std::size_t>(row->get(settings))];
    }
    if (TakesKey(option)) {
        return KeyName(settings.controls.keys[KeyIndex(option)]);
    }
    if (TakesButton(option)) {
        return Label(settings.controls.buttons[ButtonIndex(option)]);
    }
    return {};
}

void StepOption(Option option, int step) {
    Display& display = Display::Get();
    if (const NumberRow* row = FindRow(option)) {
        display.ChangeSettings([row, step](Settings& s) {
            const NumberSetting number = FindNumber(s, row->key);
            // Onto the steps' grid first: a value the file gave between two steps goes to the
            // next one in the direction asked.
            const int below = *number.value / row->step * row->step;
            const int next =
                step > 0 ? below + row->step : (below == *number.value ? below - row->step : below);
            *number.value = std::clamp(next, number.min, number.max);
        });
    } else if (const ChoiceRow* row = FindChoice(option)) {
        display.ChangeSettings([row, step](Settings& s) {
            int count = 0;
            while (count < static_cast<int>(row->words.size()) &&
                   row->words[static_cast<std::size_t>(count)] != nullptr) {
                ++count;
            }
            row->set(s, (row->get(s) + (step > 0 ? 1 : count - 1)) % count);
        });
    } else if (option == Option::DefaultControls) {
        display.ChangeSettings([](Settings& s) { s.controls = ControlSettings{}; });
    }
}

void BeginRemap(Option control) {
    if (TakesKey(control) || TakesButton(control)) {
        g_remap = control;
        g_refusal.clear();
        ++g_waitChanges;
    }
}

void CancelRemap() {
    if (g_remap) {
        EndWait();
    }
}

std::optional<Option> Remapping() {
    return g_remap;
}

std::string RemapRefusal() {
    return g_refusal;
}

int OptionsShown() {
    return Display::Get().SettingsChanges() + g_waitChanges;
}

bool OfferKey(std::int32_t key) {
    if (!g_remap) {
        return false;
    }
    const Option control = *g_remap;
    if (key == SDLK_ESCAPE || !TakesKey(control)) {
        // Esc cancels; a button's wait takes no key.
        if (key == SDLK_ESCAPE) {
            EndWait();
        }
        return true;
    }
    Take(&ControlSettings::keys, KeyIndex(control), key, ReservedKey(key), KeyName(key));
    return true;
}

bool OfferButton(std::int32_t button) {
    if (!g_remap) {
        return false;
    }
    const Option control = *g_remap;
    if (!TakesButton(control)) {
        // A key's wait is left by the buttons that leave the screens.
        if (button == SDL_CONTROLLER_BUTTON_B || button == SDL_CONTROLLER_BUTTON_BACK) {
            EndWait();
        }
        return true;
    }
    Take(&ControlSettings::buttons, ButtonIndex(control), button, ReservedButton(button),
         Label(button));
    return true;
}

std::string PadLabel(PadButton button, DeviceKind kind) {
    const ControlSettings& controls = Display::Get().Controls();
    switch (button) {
        case PadButton::South:
            return ButtonLabel(SDL_CONTROLLER_BUTTON_A, kind);
        case PadButton::East:
            return ButtonLabel(SDL_CONTROLLER_BUTTON_B, kind);
        case PadButton::Back:
            return ButtonLabel(SDL_CONTROLLER_BUTTON_BACK, kind);
        case PadButton::Start:
            return ButtonLabel(SDL_CONTROLLER_BUTTON_START, kind);
        case PadButton::Launch:
            return ButtonLabel(controls.Button(ButtonControl::Launch), kind);
        case PadButton::Pause:
            return ButtonLabel(controls.Button(ButtonControl::Pause), kind);
        case PadButton::Leave:
            return ButtonLabel(controls.Button(ButtonControl::Leave), kind);
    }
    return {};
}

std::string PauseKeyName() {
    return KeyName(Display::Get().Controls().Key(KeyControl::Pause));
}

}  // namespace platform
