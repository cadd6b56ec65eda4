// TKestovForm: the game form, owner of the whole game record, its states and its main loop.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/gamestate.h"
#include "game/halloffame.h"
#include "levels/levelrecords.h"
#include "levels/levelset.h"
#include "media/bltqueue.h"
#include "media/dxform.h"
#include "media/dxgraphic.h"
#include "media/dxmidi.h"
#include "media/dxsfx.h"
#include "playfield/dxsprite.h"

class TKestovForm : public TDirectXForm {
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
    void SelectPack();
    void NameEntry();
    void DrawNameEntry();
    void PlayGame();

    // ---- The level set.
    // The game record's level fields, for the readers.
    TZNLevelSet LevelSet();
    // Reads the level set of PackFiles[PackIndex], as a pack or a level file by its extension.
    void ReadChosenLevels();
    void LoadPackPicture(std::int32_t index);

    // ---- The Hall of Fame.
    void ReadHallOfFame();
    void WriteHallOfFame();
    void AddScore(std::int32_t points);
    void InsertHighScore(const std::string& name);

    // ---- The game record, in declaration order.
    std::unique_ptr<TDXGraphic> Gulls;
    std::unique_ptr<TDXGraphic> AGulls;
    std::unique_ptr<TDXGraphic> BAGulls;
    std::unique_ptr<TDXGraphic> BallSheet;
    std::unique_ptr<TDXGraphic> TennisBalls;
    std::unique_ptr<TDXGraphic> PaddleSheet;
    std::unique_ptr<TDXGraphic> Background;
    std::unique_ptr<TDXGraphic> Digits;
    std::unique_ptr<TDXGraphic> ExplosionSheet;
    std::unique_ptr<TDXGraphic> MiscSheet;
    std::unique_ptr<TDXGraphic> BonusEggs;
    std::unique_ptr<TDXGraphic> ZnText;
    std::vector<TDXSprite> GullList;
    std::vector<TDXSprite> BombList;
    std::vector<TDXSprite> EggList;
    std::vector<TDXSprite> BallList;
    TDXSprite PaddleSprite;
    TDXSprite BazzleSprite;
    TDXSprite ShotSprites[2];
    TDXSprite UmbrellaBurst;
    TDXSprite CannonSprite;
    std::unique_ptr<TDXSound> BeginLevel;
    std::unique_ptr<TDXSound> BallBounce;
    std::unique_ptr<TDXSound> GullBounce;
    std::unique_ptr<TDXSound> BeginGame;
    std::unique_ptr<TDXSound> AGullBounce;
    std::unique_ptr<TDXSound> BAGullBounce;
    std::unique_ptr<TDXSound> Explosion;
    std::unique_ptr<TDXSound> BazzleBounce;
    std::unique_ptr<TDXSound> CreateEgg;
    std::unique_ptr<TDXSound> CatchEgg;
    std::unique_ptr<TDXSound> Fanfare;
    std::unique_ptr<TDXSound> ShotgunFire;
    std::unique_ptr<TDXSound> ShotgunHit;
    std::unique_ptr<TDXSound> Cannon;
    std::unique_ptr<TDXMidi> GameMusic;
    std::unique_ptr<TDXMidi> TitleMusic;
    THallOfFame HallOfFame;
    std::int32_t BombLimit = 0;
    std::int32_t LevelBombLimit = 0;
    std::int32_t BazzlesLeft = 0;
    std::int32_t EggsLeft = 0;
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
    std::int32_t Lives = 3;
    TGameState GameState = gsTitle;
    std::int32_t GullsLeft = 0;
    std::int32_t GullsFalling = 0;
    std::int32_t CheatCount = 0;
    std::int32_t Animations = 0;
    std::int32_t Umbrellas = 0;
    std::int32_t PaddleMinX = 0;
    std::int32_t PaddleMaxX = 576;
    std::int32_t PackIndex = 0;
    bool CheatMode = false;
    bool Activated = false;
    bool AppActive = false;
    bool PlayStarted = false;
    bool RandomLevel = false;
    bool GluePower = false;
    bool TennisPower = false;
    bool ShotgunPower = false;
    bool SlowOnce = false;
    bool DoublerOnce = false;
    bool FastOnce = false;
    bool TennisOnce = false;
    bool MouseHeld = false;
    bool FireRequest = false;
    bool AboutSeen = false;
    bool PackLoaded = false;
    bool Quitting = false;
    bool HofChanged = false;
    double BazzleDelay = 0.0;
    double BombDelay = 0.0;
    double BazzleTimer = 0.0;
    double BombTimer = 0.0;
    double HitTimer = 0.0;
    std::string PlayerName;
    TZNLevelList Levels;

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
    void StopGameMusic();
    void KeepTitleMusic();
    // Space and a mouse click act alike, but on the game-over picture.
    void Advance(bool bySpace);
    void PlayClick();
};
