// The play handler: a new game on entry, then the in-play states until the game is left.
#include "game/znform.h"

#include "media/dxerrors.h"
#include "platform/timer.h"

void TKestovForm::PlayGame() {
    if (TitleMusic && TitleMusic->IsPlaying()) {
        TitleMusic->Stop();
    }
    LevelNumber = 1;
    Score = 0;
    HofRank = kHallOfFameSize;
    Lives = 3;
    while (IsInPlay(GameState)) {
        try {
            Application.ProcessMessages();
            if (!AppActive) {
                Sleep(10);
                continue;
            }
            UpdateTimer();
            if (GameState == gsLevelStart) {
                BeginLevel->Play();
                GameState = gsPlaying;
            }
            FlipSurfaces(DDFLIP_WAIT);
        } catch (const XSurfaceLost&) {
            RestoreSurfaces();
        }
    }
}
