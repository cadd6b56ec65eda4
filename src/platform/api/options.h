// The player's options as the game sees them: the rows of the Options screen, each shown as text
// and stepped within its range; the keys and buttons of play taken anew; the labels of a game
// controller's buttons for the prompts; and the options that change play, which the game takes
// as values of its own when a game begins. The platform's back end keeps them with the window's
// settings, writes them to the settings file and applies what is its own at once (volumes, the
// display, the controls).
#pragma once

#include <optional>
#include <string>

namespace platform {

// What changes play. A game takes them when it begins; a record carries them, so that a replay
// plays with the recorded ones, never the player's.
struct PlayOptions {
    int gameSpeed = 100;         // per cent of the play field's own speed, 50 to 100
    bool launchByPress = false;  // a press holds the button down until the next press
    bool operator==(const PlayOptions&) const = default;
};

// The play options for the game beginning now: the player's, or a replay's recorded ones.
PlayOptions GamePlayOptions();

// The rows of the Options screen.
enum class Option {
    EffectsVolume,
    MusicVolume,
    Fullscreen,
    Scaling,
    GameSpeed,
    LaunchMode,
    MouseSensitivity,
    KeySpeed,
    PadSpeed,
    StickSpeed,
    StickDeadZone,
    Pads,
    KeyLeft,
    KeyRight,
    KeyLaunch,
    KeyPause,
    KeyLeave,
    PadLaunch,
    PadPause,
    PadLeave,
    DefaultControls,
};

// The option's value as the screen shows it: "70 %", "Full screen", "Space", "Cross". Empty for
// the row that puts the controls back to their defaults.
std::string OptionValue(Option option);
// Steps the option one step up (1) or down (-1): a number within its range, a choice to the
// next or the one before, round. Applies it at once and keeps it in the settings file. Keys and
// buttons are not stepped; the defaults row puts every control back to its default.
void StepOption(Option option, int step);
// Whether the row takes a key or a game controller's button.
bool TakesKey(Option option);
bool TakesButton(Option option);

// Takes the next key (or button) pressed for the control of play, in place of the one it has.
// Esc, or a game controller's B or Back while a key is awaited, cancels; a key or button in use
// elsewhere is refused and the wait goes on. What is pressed meanwhile reaches nothing else.
void BeginRemap(Option control);
void CancelRemap();
// The control awaiting its key or button, if any.
std::optional<Option> Remapping();
// Why the last key or button pressed for it was refused ("Right is in use"); empty: none.
std::string RemapRefusal();

// Counts every change of what the Options screen shows, the player's or the window's own (a
// key taken, Alt+Enter), so that the screen is drawn again only when it changed.
int OptionsShown();

// The kind of device the player's input last came from, as the WM_INPUTDEVICE message tells
// the game when it changes.
enum class DeviceKind { Keys = 0, XboxPad = 1, PlayStationPad = 2 };

// A game controller's buttons that prompts name: the screens' own (the south button goes on,
// the east button and Back leave, Start pauses) and those of the controls of play.
enum class PadButton { South, East, Back, Start, Launch, Pause, Leave };
// The button's label in the style of the kind of pad: "A", "B", "Start" on an Xbox-style pad;
// "Cross", "Circle", "Options" on a PlayStation pad.
std::string PadLabel(PadButton button, DeviceKind kind);
// The name of the key that pauses play ("P").
std::string PauseKeyName();

}  // namespace platform
