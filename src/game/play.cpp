// The play handler: a new game on entry, then one pass of the in-play states at a time, with
// the frame pipeline that spreads a frame's work over several passes.
#include <algorithm>
#include <cstdio>

#include "game/znform.h"
#include "media/dxerrors.h"
#include "platform/api/cursor.h"
#include "platform/api/random.h"
#include "platform/api/timer.h"
#include "platform/session/recording.h"
#include "playfield/spritekinds.h"

void TKestovForm::PlayGame() {
    ReadChosenLevels();
    const platform::PlayOptions options = platform::GamePlayOptions();
    GameSpeed = options.gameSpeed / 100.0;
    LaunchByPress = options.launchByPress;
    platform::SetPlayControls(true);
    // Where the pointer was before the game is not where it is after.
    Pointer = POINT{-1, -1};
    if (TitleMusic && TitleMusic->IsPlaying()) {
        TitleMusic->Stop();
    }
    if (MusicFiles->size() == 1) {
        GameMusic->Load(MusicFiles->front());
    }
    LevelNumber = 1;
    Score = 0;
    HofRank = kHallOfFameSize;
    Lives = 3;
    ClearLeftovers();
    StartLevel(LevelNumber);

    FramePipeline pipeline;
    bool playing = true;
    while (playing) {
        Application.ProcessMessages();
        platform::SetGameInPlay(GameState == gsPlaying || GameState == gsLosingLife ||
                                GameState == gsLevelStart);
        if (!AppActive) {
            // Frozen while another application has the focus.
            Sleep(10);
            continue;
        }
        if (GameMusic && !GameMusic->IsPlaying()) {
            GameMusic->Play();
        }
        try {
            if (GameState != gsPlaying) {
                pipeline = FramePipeline{};
            }
            playing = PlayPass(pipeline);
        } catch (const XSurfaceLost&) {
            if (AppActive) {
                RestoreSurfaces();
            } else {
                GameState = gsPaused;
            }
        }
    }
    platform::SetPlayControls(false);
}

void TKestovForm::ClearLeftovers() {
    // A game left with Esc may have left bombs and eggs in the sky, or the paddle in the middle
    // of its explosion; a new game starts without them.
    BombList.clear();
    EggList.clear();
    PaddleSprite.Sheet = PaddleSheet.get();
    PaddleSprite.Frame = 0;
    UmbrellaBurst.Kind = BurstIdle;
}

bool TKestovForm::PlayPass(FramePipeline& pipeline) {
    switch (GameState) {
        case gsPlaying:
            RunPipeline(pipeline);
            return true;
        case gsLosingLife:
            MeasureFrame();
            // The life ends once the field is clear: no gull falling, no bomb or egg in the
            // air, no explosion running. Bombs not yet in sight no longer count.
            DropUnseenBombs();
            if (GullsFalling <= 0 && BombList.empty() && EggList.empty() && Animations <= 0) {
                --Lives;
                if (Lives <= 0) {
                    GameState = gsGameOver;
                } else {
                    StartLife();
                    GameState = gsPlaying;
                }
            } else {
                ShowFrame();
                UpdateAll();
                RecordFrame();
            }
            return true;
        case gsPaused:
        case gsGameOver:
            UpdateTimer();
            ShowFrame();
            return true;
        case gsLevelStart:
            if (MusicFiles->size() > 1) {
                GameMusic->Stop();
                const auto pick = static_cast<std::size_t>(platform::Random()) % MusicFiles->size();
                GameMusic->Load((*MusicFiles)[pick]);
            }
            UpdateTimer();
            BeginLevel->Play();
            GameState = gsPlaying;
            LevelIntro();
            PaddleSprite.Kind = PaddleAlive;
            return true;
        default:
            UpdateTimer();
            return false;
    }
}

void TKestovForm::RunPipeline(FramePipeline& pipeline) {
    if (pipeline.updating && !pipeline.composing) {
        if (pipeline.first) {
            MeasureFrame();  // one frame time per frame, taken at its first updater
            pipeline.first = false;
        }
        if (StepFrame()) {
            RecordFrame();
            pipeline.updating = false;
            pipeline.composing = true;
            if (GullsLeft <= 0) {
                DropUnseenBombs();
            }
            if (LevelCleared()) {
                ++LevelNumber;
                GameState = gsLevelStart;
                // Every buffer of the flipping chain shows the finished field.
                for (std::int32_t i = 0; i <= BackBufferCount; ++i) {
                    ShowFrame();
                }
                BltQueue.Reset();
                StartLevel(LevelNumber);
                return;
            }
        }
    }
    if (pipeline.composing && !pipeline.blitting) {
        ComposeFrame();
        pipeline.composing = false;
        pipeline.first = true;
        pipeline.updating = true;
        pipeline.blitting = true;
    }
    if (pipeline.blitting && !pipeline.flipping) {
        if (BltQueue.Flush(BackBuffer)) {
            pipeline.blitting = false;
            pipeline.flipping = true;
        }
    }
    if (pipeline.flipping) {
        if (FlipSurfaces(0)) {
            pipeline.flipping = false;
        }
    }
}

bool TKestovForm::LevelCleared() const {
    // Balls still in flight do not hold a level open.
    return GullsLeft <= 0 && Animations <= 0 && BazzleSprite.Kind == BazzleAbsent &&
           BombList.empty() && EggList.empty();
}

void TKestovForm::MeasureFrame() {
    UpdateTimer();
    FrameTime = std::min(Elapsed, kMaxFrameTime) * GameSpeed;
}

bool TKestovForm::StepFrame() {
    switch (FrameStep) {
        case 0:
            UpdateBombs();
            FrameStep = 1;
            return false;
        case 1:
            UpdateEggs();
            FrameStep = 2;
            return false;
        case 2:
            UpdateBalls();
            FrameStep = 3;
            return false;
        case 3:
            UpdateGulls();
            FrameStep = 4;
            return false;
        case 4:
            UpdateBazzle();
            FrameStep = 5;
            return false;
        case 5:
            UpdateShots();
            FrameStep = 7;
            return false;
        case 7:
            UpdatePaddle();
            FrameStep = 6;
            return false;
        default:
            UpdateCannon();
            FrameStep = 0;
            return true;
    }
}

void TKestovForm::RecordFrame() const {
    if (!platform::SessionActive()) {
        return;
    }
    platform::FrameRecord record;
    Describe(record);
    record.Show("score", Score);
    record.Show("level", LevelNumber);
    record.Show("random", platform::RandomState(), true);
    platform::NoteFrame(record);
}

void TKestovForm::UpdateAll() {
    while (!StepFrame()) {
    }
}
