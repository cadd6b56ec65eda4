// The handlers of the screens outside play (title, Hall of Fame, scoring, about) and of the
// level pack selection: each draws its content, then runs the shared inner loop. The title and
// the scoring screen draw theirs again when the kind of device in use changes, for their
// prompts; the title also when its chosen line moves.
#include "levels/screens.h"
#include "game/znform.h"
#include "media/dxerrors.h"
#include "platform/api/timer.h"

namespace {

// Draws a screen's fixed content; a surface lost meanwhile is restored and the drawing ends.
template <typename Draw>
void DrawOrRestore(TKestovForm& form, Draw draw) {
    try {
        draw();
    } catch (const XSurfaceLost&) {
        form.RestoreSurfaces();
    }
}

// Draws a table screen's content; any failure, a lost surface included, returns to the title.
template <typename Draw>
void DrawOrLeave(TKestovForm& form, Draw draw) {
    try {
        draw();
    } catch (const XSurfaceLost&) {
        form.RestoreSurfaces();
        form.GameState = gsTitle;
    } catch (const std::exception&) {
        form.GameState = gsTitle;
    }
}

}  // namespace

void TKestovForm::RunScreen(TGameState state, const ScreenSteps& steps) {
    while (GameState == state) {
        try {
            Application.ProcessMessages();
            UpdateTimer();
            KeepTitleMusic();
            if (AppActive) {
                if (steps.BeforeCopy) {
                    steps.BeforeCopy();
                }
                Background->DrawFrame(BackBuffer, 0, 0, 0);
                if (steps.AfterCopy) {
                    steps.AfterCopy();
                }
                FlipSurfaces(DDFLIP_WAIT);
            } else {
                // In the background nothing is drawn; the loop only waits for the focus.
                Sleep(10);
            }
        } catch (const XSurfaceLost&) {
            // The restore brings the pictures back, not what was written onto them.
            if (AppActive) {
                RestoreSurfaces();
                if (steps.Redraw) {
                    steps.Redraw();
                }
            }
        }
    }
}

void TKestovForm::StopGameMusic() {
    if (GameMusic && GameMusic->IsPlaying()) {
        GameMusic->Stop();
    }
}

void TKestovForm::TitleScreen() {
    LoadBackground("ZNTitle.jpg");
    TitleChoice = -1;
    std::pair drawn{InputDevice, TitleChoice};
    const auto draw = [this, &drawn] {
        drawn = {InputDevice, TitleChoice};
        DrawOrRestore(*this, [this] { DrawTitleText(*Background, InputDevice, TitleChoice); });
    };
    draw();
    BeginGame->Play();
    TDirectXForm::RestoreSurfaces();
    RunScreen(gsTitle, {.Redraw = draw, .BeforeCopy = [this, &drawn, &draw] {
                            if (drawn != std::pair{InputDevice, TitleChoice}) {
                                // The picture as loaded, without the menu, then the menu anew.
                                Background->Restore(DirectDraw);
                                draw();
                            }
                        }});
}

void TKestovForm::HallOfFameScreen() {
    const auto draw = [this] {
        DrawOrLeave(*this, [this] { DrawHallOfFame(*Background, *ZnText, HallOfFame, HofRank); });
    };
    draw();
    StopGameMusic();
    RunScreen(gsHallOfFame, {.Redraw = draw});
}

void TKestovForm::ScoringScreen() {
    StopGameMusic();
    platform::DeviceKind drawn = InputDevice;
    const auto draw = [this, &drawn] {
        drawn = InputDevice;
        DrawOrLeave(*this, [this] {
            DrawScoring(*Background, *ZnText, InputDevice);
            // The play field's gull list is borrowed; the next level start empties it again.
            SetScoringSprites(GullList, *Gulls, *MiscSheet, *BonusEggs);
        });
    };
    draw();
    RunScreen(gsScoring, {.Redraw = draw,
                          .BeforeCopy =
                              [this, &drawn, &draw] {
                                  if (drawn != InputDevice) {
                                      draw();
                                  }
                              },
                          .AfterCopy =
                              [this] {
                                  // The sprites stand still and only run through their frames.
                                  for (TDXSprite& sprite : GullList) {
                                      sprite.Animate(Elapsed);
                                      sprite.Draw(BackBuffer);
                                  }
                              }});
}

void TKestovForm::AboutScreen() {
    const auto draw = [this] {
        DrawOrRestore(*this, [this] { DrawAbout(*Background, *MiscSheet); });
    };
    draw();
    StopGameMusic();
    RunScreen(gsAbout, {.Redraw = draw});
    AboutSeen = true;
}

void TKestovForm::SelectPack() {
    PackIndex = 0;
    std::int32_t drawn = -1;  // the selection the list was last drawn for; -1: draw it
    if (PackFiles->empty()) {
        throw Exception("Aborting; no level files found");
    }
    if (PackFiles->size() == 1) {
        GameState = gsLevelStart;
        return;
    }
    StopGameMusic();
    // The list is drawn again only when the selection has moved or a surface was restored.
    RunScreen(gsSelectPack, {.Redraw = [&drawn] { drawn = -1; },
                             .BeforeCopy =
                                 [this, &drawn] {
                                     if (PackIndex != drawn) {
                                         DrawPackList(*Background, *PackFiles, PackIndex);
                                         drawn = PackIndex;
                                     }
                                 }});
}
