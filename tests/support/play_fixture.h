// Scenario tests of play: the headless game, a test bot, and sprite frames read back from the
// screen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/playbot.h"
#include "support/screen_fixture.h"

class PlayTest : public ScreenTest {
  protected:
    // Starts the only level set with Space, waits for play, then runs the steps.
    bool Play(std::vector<Step> steps);
    // Lets a bot play at every pass.
    PlayBot& StartBot(unsigned seed);

    // The share, from 0 to 1, of the frame's opaque pixels that the surface shows at (x, y).
    static double Shows(IDirectDrawSurface3* surface, TDXGraphic& sheet, int frame, int x, int y);

    std::unique_ptr<PlayBot> bot;
};
