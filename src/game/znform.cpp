// The game form: construction and destruction, start-up, the main loop and the input handlers.
#include "game/znform.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "levels/levelset.h"
#include "levels/screens.h"
#include "platform/api/cursor.h"
#include "platform/api/random.h"
#include "platform/api/timer.h"
#include "playfield/spritekinds.h"

namespace {

// The word that, typed while paused, turns on the hidden mode.
constexpr char kHiddenWord[] = "quillosent";
constexpr int kHiddenWordLength = sizeof(kHiddenWord) - 1;

// Names are kept printable and short enough to read back from the score file.
constexpr std::size_t kMaxPlayerName = 255;
// What the arrow keys step through to make a name without typing.
constexpr std::string_view kNameLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .-'!?&";

}  // namespace

TKestovForm::TKestovForm() {
    // The play field's sheets are made with it.
    Background = OpaqueGraphic();
    Digits = TransparentGraphic();
    ZnText = TransparentGraphic();
    for (auto* sound : {&BeginLevel, &BallBounce, &GullBounce, &BeginGame, &AGullBounce,
                        &BAGullBounce, &Explosion, &BazzleBounce, &CreateEgg, &CatchEgg, &Fanfare,
                        &ShotgunFire, &ShotgunHit, &Cannon}) {
        *sound = std::make_unique<TDXSound>();
    }
    PackFiles = std::make_unique<std::vector<std::string>>();
    MusicFiles = std::make_unique<std::vector<std::string>>();
    platform::SeedRandom(static_cast<std::uint32_t>(platform::WallClockSeconds()));
    SetDefaultHallOfFame(HallOfFame);
    ReadHallOfFame();
}

TKestovForm::~TKestovForm() {
    if (HofChanged) {
        WriteHallOfFame();
    }
    TitleMusic.reset();
    GameMusic.reset();
    MusicFiles.reset();
    PackFiles.reset();
    for (auto* sheet : {&ZnText, &BonusEggs, &MiscSheet, &ExplosionSheet, &Digits, &Background,
                        &PaddleSheet, &TennisBalls, &BallSheet, &BAGulls, &AGulls, &Gulls}) {
        sheet->reset();
    }
    PlayerName.clear();
    for (THighScore& entry : HallOfFame) {
        entry.Name.clear();
    }
    for (auto* sound : {&Cannon, &ShotgunHit, &ShotgunFire, &Fanfare, &CatchEgg, &CreateEgg,
                        &BazzleBounce, &Explosion, &BAGullBounce, &AGullBounce, &BeginGame,
                        &GullBounce, &BallBounce, &BeginLevel}) {
        sound->reset();
    }
    for (auto* list : {&BallList, &EggList, &BombList, &GullList}) {
        list->clear();
    }
}

void TKestovForm::CreateParams(TCreateParams& params) {
    TDirectXForm::CreateParams(params);
    params.Caption = "Welcome to Zintrel";
}

void TKestovForm::FormActivate() {
    if (Activated) {
        AppActive = true;
        return;
    }
    StartUp();
    MainLoop();
    ExitGame();
}

void TKestovForm::StartUp() {
    Activated = true;
    StartDirectDraw();
    ShowCursor(FALSE);
    StartDirectSound();
    StartDirectMusic();
    StartTimer();
    LoadBackground("ZNTitle.jpg");
    LoadSprites();
    CreateSoundsAndMusic();
    const RECT confinement{0, 25, 640, 455};
    if (ClipCursor(&confinement) == FALSE) {
        throw Exception("Cannot contain cursor");
    }
    *PackFiles = FindLevelFiles();
}

void TKestovForm::MainLoop() {
    for (;;) {
        Application.ProcessMessages();
        KeepTitleMusic();
        switch (GameState) {
            case gsQuit:
                if (!AboutSeen) {
                    GameState = gsAbout;
                }
                break;
            case gsTitle:
                TitleScreen();
                break;
            case gsPlaying:
            case gsLosingLife:
            case gsPaused:
            case gsLevelStart:
            case gsGameOver:
                PlayGame();
                break;
            case gsHallOfFame:
                HallOfFameScreen();
                break;
            case gsNameEntry:
                NameEntry();
                break;
            case gsScoring:
                ScoringScreen();
                break;
            case gsSelectPack:
                SelectPack();
                break;
            case gsAbout:
                AboutScreen();
                break;
            case gsOptions:
                OptionsScreen();
                break;
        }
        if (AboutSeen && GameState == gsQuit) {
            break;
        }
    }
}

void TKestovForm::ExitGame() {
    DirectDraw->FlipToGDISurface();
    ShowCursor(TRUE);
    ClipCursor(nullptr);
    Close();
}

void TKestovForm::KeepTitleMusic() {
    if (TitleMusic && !TitleMusic->IsPlaying()) {
        TitleMusic->Play();
    }
}

void TKestovForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_ACTIVATEAPP:
            if (message.WParam != 0) {
                AppActive = true;
            } else {
                AppActive = false;
                if (GameState == gsPlaying) {
                    GameState = gsPaused;
                }
            }
            return;
        case WM_KEYDOWN:
            HandleKey(message.WParam);
            return;
        case WM_INPUTDEVICE:
            if (message.WParam <= static_cast<WPARAM>(platform::DeviceKind::PlayStationPad)) {
                InputDevice = static_cast<platform::DeviceKind>(message.WParam);
            }
            return;
        case WM_MOUSEWHEEL: {
            const bool away = GET_WHEEL_DELTA_WPARAM(message.WParam) > 0;
            if (GameState == gsSelectPack) {
                MoveSelection(away ? -1 : 1);
            } else if (GameState == gsOptions) {
                ChangeOption(OptionChoice, away ? 1 : -1);
            }
            return;
        }
        case WM_MOUSEMOVE: {
            // The line under a pointer that can be seen is the one chosen.
            Pointer = POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            std::int32_t* chosen = GameState == gsSelectPack ? &PackIndex
                                   : GameState == gsTitle    ? &TitleChoice
                                   : GameState == gsOptions  ? &OptionChoice
                                                             : nullptr;
            const std::int32_t entry = GameState == gsSelectPack
                                           ? PackEntryAt(Pointer.y, PackIndex, PackFiles->size())
                                       : GameState == gsTitle ? TitleLineAt(Pointer.x, Pointer.y)
                                                              : OptionRowAt(Pointer);
            if (chosen != nullptr && entry >= 0) {
                *chosen = entry;
            }
            return;
        }
        case WM_CHAR:
            HandleChar(static_cast<unsigned char>(message.WParam));
            return;
        case WM_SYSCOMMAND:
            if (message.WParam == SC_SCREENSAVE || message.WParam == SC_MONITORPOWER) {
                message.Result = 1;
                return;
            }
            break;
        case WM_CLOSE:
        case WM_ENDSESSION:
            // The window's close button, or a termination request, leaves like Esc on the
            // farewell screen.
            Quitting = true;
            AboutSeen = true;
            GameState = gsQuit;
            return;
        default:
            break;
    }
    DefaultHandler(message);
}

void TKestovForm::HandleKey(WPARAM virtualKey) {
    const bool upOrDown = virtualKey == VK_UP || virtualKey == VK_DOWN;
    const int step = virtualKey == VK_UP || virtualKey == VK_LEFT ? -1 : 1;
    if (GameState == gsSelectPack) {
        if (upOrDown) {
            MoveSelection(step);
        }
    } else if (GameState == gsTitle) {
        if (upOrDown) {
            MoveTitleChoice(step);
        }
    } else if (GameState == gsOptions) {
        if (upOrDown) {
            MoveOptionChoice(step);
        } else if (virtualKey == VK_LEFT || virtualKey == VK_RIGHT) {
            ChangeOption(OptionChoice, step);
        }
    } else if (GameState == gsNameEntry) {
        switch (virtualKey) {
            case VK_UP:
            case VK_DOWN:
                PickLetter(virtualKey == VK_UP ? 1 : -1);
                break;
            case VK_RIGHT:
                PickingLetter = false;
                break;
            case VK_LEFT:
                HandleChar(8);
                break;
            default:
                break;
        }
    }
}

void TKestovForm::MoveSelection(int step) {
    const auto last = static_cast<std::int32_t>(PackFiles->size()) - 1;
    if (step < 0 && PackIndex >= 1) {
        --PackIndex;
    } else if (step > 0 && PackIndex < last) {
        ++PackIndex;
    }
}

void TKestovForm::MoveTitleChoice(int step) {
    // Before the player moves it, the choice stands on the line that begins.
    TitleChoice = std::clamp(std::max(TitleChoice, 0) + (TitleChoice < 0 && step < 0 ? 0 : step), 0,
                             kTitleLines - 1);
}

void TKestovForm::ChooseTitleLine(std::int32_t line) {
    switch (line) {
        case tlHallOfFame:
            GameState = gsHallOfFame;
            break;
        case tlScoring:
            GameState = gsScoring;
            break;
        case tlAbout:
            GameState = gsAbout;
            break;
        case tlExit:
            HandleChar(27);
            break;
        case tlOptions:
            GameState = gsOptions;
            break;
        default:
            GameState = gsSelectPack;
            break;
    }
}

bool TKestovForm::PadLeavesToTitle() const {
    return InputDevice != platform::DeviceKind::Keys &&
           (GameState == gsHallOfFame || GameState == gsScoring ||
            (GameState == gsAbout && !Quitting));
}

void TKestovForm::PickLetter(int step) {
    const auto count = static_cast<std::int32_t>(kNameLetters.size());
    if (PickingLetter && !PlayerName.empty()) {
        const std::size_t at = kNameLetters.find(PlayerName.back());
        const auto current = at == std::string_view::npos ? 0 : static_cast<std::int32_t>(at);
        PlayerName.back() =
            kNameLetters[static_cast<std::size_t>((current + step + count) % count)];
    } else if (PlayerName.size() < kMaxPlayerName) {
        PlayerName.push_back(step > 0 ? kNameLetters.front() : kNameLetters.back());
        PickingLetter = true;
    }
}

void TKestovForm::HandleChar(unsigned char code) {
    // A typed character ends the choosing of a letter: the next arrow starts a new one.
    PickingLetter = false;
    switch (code) {
        case 8:
            if (GameState == gsNameEntry && !PlayerName.empty()) {
                PlayerName.pop_back();
            }
            return;
        case 13:
            if (GameState == gsNameEntry) {
                GameState = gsHallOfFame;
            } else if (GameState == gsSelectPack) {
                GameState = gsLevelStart;
            } else if (GameState == gsGameOver) {
                // As a click: a keyboard player reaches the name entry too.
                Advance(false);
            } else if (GameState == gsTitle) {
                ChooseTitleLine(std::max(TitleChoice, 0));
            } else if (GameState == gsOptions) {
                ActOnOption(OptionChoice);
            }
            return;
        case 27:
            // Esc leaves the Options screen for the title, and so do a game controller's B and
            // Back the other screens reached from the title; elsewhere Esc leaves the game.
            if (GameState == gsOptions || PadLeavesToTitle()) {
                GameState = gsTitle;
                return;
            }
            Quitting = true;
            GameState = gsQuit;
            return;
        default:
            break;
    }
    if (GameState == gsNameEntry) {
        if (code >= 32 && PlayerName.size() < kMaxPlayerName) {
            PlayerName.push_back(static_cast<char>(code));
        }
        return;
    }
    if (code == ' ') {
        Advance(true);
        return;
    }
    switch (GameState) {
        case gsTitle:
            switch (std::tolower(code)) {
                case 'a':
                    GameState = gsAbout;
                    break;
                case 'h':
                    GameState = gsHallOfFame;
                    break;
                case 's':
                    GameState = gsScoring;
                    break;
                case 'o':
                    GameState = gsOptions;
                    break;
                default:
                    break;
            }
            break;
        case gsPlaying:
            if (code == 'p' || code == 'P') {
                GameState = gsPaused;
            }
            break;
        case gsPaused:
            if (CheatMode) {
                CheatCount = 0;
            } else if (static_cast<char>(code) != kHiddenWord[CheatCount++]) {
                CheatCount = 0;
            } else if (CheatCount == kHiddenWordLength) {
                CheatMode = true;
            }
            if (code == 'p' || code == 'P') {
                GameState = gsPlaying;
            }
            break;
        default:
            break;
    }
}

void TKestovForm::PlayPress() {
    // Launching by a press: the press holds the button down for the player until the next.
    if (LaunchByPress && MouseHeld) {
        MouseHeld = false;
        FireRequest = false;
    } else {
        PlayClick();
    }
}

void TKestovForm::PlayClick() {
    PlayStarted = true;
    if (ShotgunPower && ShotSprites[0].Kind == ShotIdle && ShotSprites[1].Kind == ShotIdle) {
        FireRequest = true;
    }
    MouseHeld = true;
    PaddleMinX = 0;
    PaddleMaxX = 576;
}

void TKestovForm::FormMouseDown(TMouseButton, int, int) {
    const bool pad = InputDevice != platform::DeviceKind::Keys;
    const bool pointed = !pad && Pointer.x >= 0;
    if (GameState == gsTitle) {
        // A game controller acts on the line chosen; a pointer that can be seen, or a tap, on
        // the line under it; any other click begins.
        const std::int32_t line = pad       ? TitleChoice
                                  : pointed ? TitleLineAt(Pointer.x, Pointer.y)
                                            : -1;
        ChooseTitleLine(std::max(line, 0));
    } else if (GameState == gsOptions) {
        if (pointed) {
            ClickOptions(Pointer);
        } else {
            ActOnOption(OptionChoice);
        }
    } else {
        Advance(false);
    }
}

void TKestovForm::Advance(bool bySpace) {
    switch (GameState) {
        case gsTitle:
            GameState = gsSelectPack;
            break;
        case gsPlaying:
            PlayPress();
            break;
        case gsGameOver:
            // Space skips the name entry even when the score reached a place.
            GameState = bySpace || HofRank >= kHallOfFameSize ? gsHallOfFame : gsNameEntry;
            break;
        case gsHallOfFame:
        case gsScoring:
            GameState = gsTitle;
            break;
        case gsAbout:
            if (!Quitting) {
                GameState = gsTitle;
            }
            break;
        case gsSelectPack:
            // A click chooses the entry highlighted, as Enter does; Space does nothing here.
            if (!bySpace) {
                GameState = gsLevelStart;
            }
            break;
        default:
            break;
    }
}

void TKestovForm::FormMouseUp(TMouseButton, int, int) {
    // Launching by a press, the release lets nothing go.
    if (!LaunchByPress) {
        MouseHeld = false;
        FireRequest = false;
    }
}
