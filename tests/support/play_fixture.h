// Scenario tests of play: the headless game with level sets made for the test, a test bot, and
// reading sprite frames back from the screen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/playbot.h"
#include "support/screen_fixture.h"

class PlayTest : public ScreenTest {
  protected:
    // Copies a file of the built game folder (the shipped pack, say) into the test's folder.
    void CopyShipped(const std::string& name);
    // Writes a level file whose levels all show the title picture: each entry of `levels` is
    // one level's values "MaxBombs,BazzleVisits,EggCount" followed by its "Gull=" lines.
    void WriteLevels(const std::string& name, const std::vector<std::string>& levels);

    // Starts the only level set with Space, waits for play, then runs the steps.
    bool Play(std::vector<Step> steps);
    // Starts a game on a level of the given gull lines (one gull far up on the left by
    // default) and, once it plays, runs the check inside one message step, with the play
    // field's time step set to `frameTime`; then leaves the game.
    bool OnField(const std::function<void(TKestovForm&)>& check, double frameTime = 0.001,
                 const std::string& gulls = "Gull=20,40,0,0,0,0,0\n");

    // Lets a bot play at every pass.
    PlayBot& StartBot(unsigned seed);

    // The share, from 0 to 1, of the frame's opaque pixels that the surface shows at (x, y).
    static double Shows(IDirectDrawSurface3* surface, TDXGraphic& sheet, int frame, int x, int y);

    std::unique_ptr<PlayBot> bot;
};
