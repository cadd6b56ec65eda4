// The handlers of the screens outside play: title, Hall of Fame, scoring, about, pack selection
// and name entry, each with its inner loop.
#include "game/znform.h"

#include "media/dxerrors.h"
#include "platform/timer.h"

template <typename Draw>
void TKestovForm::RunScreen(TGameState state, Draw draw) {
    while (GameState == state) {
        try {
            Application.ProcessMessages();
            UpdateTimer();
            KeepTitleMusic();
            if (AppActive) {
                draw();
                FlipSurfaces(DDFLIP_WAIT);
            } else {
                // In the background nothing is drawn; the loop only waits for the focus.
                Sleep(10);
            }
        } catch (const XSurfaceLost&) {
            if (AppActive) {
                RestoreSurfaces();
            }
        }
    }
}

namespace {
void NothingToDraw() {}
}  // namespace

void TKestovForm::TitleScreen() {
    BeginGame->Play();
    RunScreen(gsTitle, NothingToDraw);
}

void TKestovForm::HallOfFameScreen() {
    RunScreen(gsHallOfFame, NothingToDraw);
}

void TKestovForm::ScoringScreen() {
    RunScreen(gsScoring, NothingToDraw);
}

void TKestovForm::AboutScreen() {
    RunScreen(gsAbout, NothingToDraw);
    AboutSeen = true;
}

void TKestovForm::SelectPack() {
    PackIndex = 0;
    if (PackFiles->empty()) {
        throw Exception("Aborting; no level files found");
    }
    if (PackFiles->size() == 1) {
        GameState = gsLevelStart;
        return;
    }
    if (GameMusic && GameMusic->IsPlaying()) {
        GameMusic->Stop();
    }
    RunScreen(gsSelectPack, NothingToDraw);
}

void TKestovForm::NameEntry() {
    PlayerName.clear();
    while (GameState == gsNameEntry) {
        Application.ProcessMessages();
    }
    if (GameState == gsHallOfFame) {
        InsertHighScore(PlayerName);
    }
}
