// TKestovForm: the game form, owner of the whole game record, its states and its main loop. The
// play field's share of the record comes with TPlayField; the rest is declared here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/halloffame.h"
#include "levelformat/records.h"
#include "levels/levelset.h"
#include "media/bltqueue.h"
#include "media/dxform.h"
#include "media/dxgraphic.h"
#include "media/dxmidi.h"
#include "media/dxsfx.h"
#include "platform/api/options.h"
#include "playfield/gamestate.h"
#include "playfield/playfield.h"

class TKestovForm : public TDirectXForm, public TPlayField {
  public:
    TKestovForm();
    ~TKestovForm() override;

    // ---- The window's events.
    void CreateParams(TCreateParams& params) override;
    void FormActivate() override;
    void WndProc(TMessage& message) override;
    void FormMouseDown(TMouseButton button, int x, int y) override;
    void FormMouseUp(TMouseButton button, int x, int y) override;
    void HandleChar(unsigned char code);
    void HandleKey(WPARAM virtualKey);

    // ---- Start-up and the loops.
    void StartUp();
    void MainLoop();
    void ExitGame();
    void LoadSprites();
    void LoadBackground(const std::string& fileName);
    void CreateSoundsAndMusic();
    void RestoreSurfaces() override;

    // ---- The state handlers.
    void TitleScreen();
    void HallOfFameScreen();
    void ScoringScreen();
    void AboutScreen();
    void OptionsScreen();
    // The Options screen's rows, top to bottom and left to right: how many, the option of each,
    // the row at a point of the screen (-1 where there is none), and where a click steps a row
    // down (-1) or up (1).
    static std::int32_t OptionRows();
    static platform::Option OptionOfRow(std::int32_t row);
    static std::int32_t OptionRowAt(POINT at);
    static RECT OptionArrow(std::int32_t row, int step);
    void SelectPack();
    void NameEntry();
    void DrawNameEntry();
    // Writes lines centred at x 320 on the back buffer in the lettering of the name entry, each
    // line cut with "..." to `width` pixels (keeping its end when asked): its top and its text.
    struct GameLine {
        int y;
        std::string text;
        bool keepEnd = false;
    };
    void WriteGameLines(const std::vector<GameLine>& lines, int width);
    void PlayGame();

    // ---- Play: the levels, the lives and the frames.
    // Virtual for a form that plays levels of its own, as the level editor's test play does.
    virtual void StartLevel(std::int32_t levelNumber);
    void StartLife();
    // Runs the next updater of the frame; true when it was the frame's last.
    bool StepFrame();
    void UpdateAll();
    // Hands the game's digest after a frame of play to a recording or replay under way.
    void RecordFrame() const;
    bool ComposeFrame();
    void DrawStatus();
    // On the game-over picture, when the score reached a place in the Hall of Fame: the keys
    // that enter a name and that skip it; empty otherwise.
    virtual std::string GameOverPrompt() const;
    void ShowFrame();
    void LevelIntro();

    // ---- The level set.
    // The game record's level fields, for the readers.
    TZNLevelSet LevelSet();
    // Reads the level set of PackFiles[PackIndex], as a pack or a level file by its extension.
    virtual void ReadChosenLevels();
    virtual void LoadPackPicture(std::int32_t index);

    // ---- The Hall of Fame.
    void ReadHallOfFame();
    void WriteHallOfFame();
    void AddScore(std::int32_t points) override;
    void InsertHighScore(const std::string& name);

    // ---- The game record, in declaration order.
    std::unique_ptr<TDXGraphic> Background;
    std::unique_ptr<TDXGraphic> Digits;
    std::unique_ptr<TDXGraphic> ZnText;
    std::unique_ptr<TDXSound> BeginLevel;
    std::unique_ptr<TDXSound> BeginGame;
    std::unique_ptr<TDXSound> Fanfare;
    std::unique_ptr<TDXMidi> GameMusic;
    std::unique_ptr<TDXMidi> TitleMusic;
    THallOfFame HallOfFame;
    std::int32_t LevelBombLimit = 0;
    ::BltQueue BltQueue;
    std::int32_t FirstPictureOffset = 0;
    std::int32_t PictureCount = 0;
    std::array<char, 4> PictureMagic{};
    TZNEntryList PackPictures;
    std::string PackName;
    std::unique_ptr<std::vector<std::string>> PackFiles;
    std::unique_ptr<std::vector<std::string>> MusicFiles;
    std::int32_t Score = 0;
    std::int32_t HofRank = kHallOfFameSize;
    std::int32_t LevelNumber = 1;
    std::int32_t CheatCount = 0;
    std::int32_t PackIndex = 0;
    bool Activated = false;
    bool AppActive = false;
    bool AboutSeen = false;
    bool PackLoaded = false;
    bool Quitting = false;
    bool HofChanged = false;
    std::string PlayerName;
    // The name's last character is being chosen with the arrow keys, not yet taken.
    bool PickingLetter = false;
    TZNLevelList Levels;
    // Which updater of the frame pipeline runs next; it lives as long as the program.
    std::int32_t FrameStep = 0;
    // ---- The menus.
    // The kind of device the player's input last came from: the prompts name its buttons.
    platform::DeviceKind InputDevice = platform::DeviceKind::Keys;
    // The line of the title's menu chosen by the arrows, the d-pad or the pointer; -1 until the
    // player moves it.
    std::int32_t TitleChoice = -1;
    // The row of the Options screen chosen.
    std::int32_t OptionChoice = 0;
    // Where the pointer was last seen on the screens, where it is shown; (-1, -1) when unknown.
    POINT Pointer{-1, -1};

  private:
    // What a screen adds to the shared inner loop; empty steps are skipped.
    struct ScreenSteps {
        std::function<void()> Redraw = {};      // after a lost surface has been restored
        std::function<void()> BeforeCopy = {};  // before Background is copied to the back buffer
        std::function<void()> AfterCopy = {};   // over that copy, in the back buffer
    };
    // Runs a screen's inner loop while the state holds: messages, clock, title tune, and the
    // frame drawn and shown only while the application is active.
    void RunScreen(TGameState state, const ScreenSteps& steps);
    // The frame pipeline's flags, local to one game: which of a frame's stages are under way.
    struct FramePipeline {
        bool first = true;  // the next updater is the frame's first: measure the frame time
        bool updating = true;
        bool composing = false;
        bool blitting = false;
        bool flipping = false;
    };
    // One pass of the in-play states; false once the game has been left.
    bool PlayPass(FramePipeline& pipeline);
    void RunPipeline(FramePipeline& pipeline);
    bool LevelCleared() const;
    // Reads the frame clock and sets the play field's time step from it.
    void MeasureFrame();
    void ClearLeftovers();
    void StopGameMusic();
    void KeepTitleMusic();
    // Space and a mouse click act alike, but on the game-over picture and the selection.
    void Advance(bool bySpace);
    // The selection moves by one entry up (-1) or down (1), within the list.
    void MoveSelection(int step);
    // The name's last character steps through the letters a name is made of.
    void PickLetter(int step);
    // A press of the button in play: held with it, or by a press until the next.
    void PlayPress();
    void PlayClick();
    // The title's menu: the choice moved up (-1) or down (1), and a line acted on.
    void MoveTitleChoice(int step);
    void ChooseTitleLine(std::int32_t line);
    // The Options screen: the row chosen moved, a row's value stepped (a sound played at a new
    // effects volume), a row acted on (a key's or button's wait begun, the controls' defaults
    // taken, a choice stepped), and a click or tap on a row or its arrows.
    void MoveOptionChoice(int step);
    void ChangeOption(std::int32_t row, int step);
    void ActOnOption(std::int32_t row);
    void ClickOptions(POINT at);
    void DrawOptions();
    // Whether Esc from a game controller (its B or Back) leaves the Hall of Fame, Scoring or
    // About screen for the title.
    bool PadLeavesToTitle() const;
};
