// A soak: the test bot plays game after game on random level sets (odd and extreme values
// among them), with pauses, focus losses and lost surfaces thrown in, and the field is checked
// at every pass. ZINTREL_SOAK_SECONDS sets the game time to play (20 minutes by default).
#include <cstdlib>
#include <iostream>
#include <limits>
#include <sstream>

#include "playfield/spritekinds.h"
#include "support/field_checks.h"
#include "support/play_fixture.h"

namespace {

// A random level set: one to five levels of up to twelve gulls, the values at times zero,
// negative or far larger than any level would hold; a gull's, from the whole range the level
// reader takes.
std::vector<std::string> RandomLevels(std::mt19937& random) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const auto odd = [&](int usual, int low, int high) {
        return pick(0, 5) == 0 ? pick(low, high) : usual;
    };
    const auto any = [&](int usual) {
        return odd(usual, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    };
    std::vector<std::string> levels;
    const int count = pick(1, 5);
    for (int l = 0; l < count; ++l) {
        std::string level = std::to_string(odd(pick(1, 4), -3, 40)) + "," +
                            std::to_string(odd(pick(0, 3), -2, 10)) + "," +
                            std::to_string(odd(pick(2, 6), -5, 200)) + "\n";
        // Now and then a level without gulls, which ends as soon as it begins; never the
        // first, for a set of such levels alone would go on from one to the next for ever,
        // with no play to count.
        const int gulls = l > 0 && pick(0, 30) == 0 ? 0 : pick(1, 12);
        for (int g = 0; g < gulls; ++g) {
            const int minY = pick(-20, 380);
            level += "Gull=" + std::to_string(any(pick(-64, 640))) + "," +
                     std::to_string(any(pick(-20, 380))) + "," +
                     std::to_string(any(pick(-150, 150))) + "," +
                     std::to_string(any(pick(-80, 80))) + "," + std::to_string(any(pick(0, 1))) +
                     "," + std::to_string(any(minY)) + "," +
                     std::to_string(any(minY + pick(0, 200))) + "\n";
        }
        levels.push_back(level);
    }
    return levels;
}

// What holds a level open: the state, the counters and the sprites still about.
std::string Stalled(const TKestovForm& f) {
    std::ostringstream text;
    text << "state " << f.GameState << ", gulls left " << f.GullsLeft << ", animations "
         << f.Animations << ", Bazzle " << f.BazzleSprite.Kind << ", cannon "
         << f.CannonSprite.Kind;
    for (const TDXSpriteList* list : {&f.GullList, &f.BombList, &f.EggList, &f.BallList}) {
        text << ";";
        for (const TDXSprite& s : *list) {
            text << " " << s.Kind << "@" << s.X << "," << s.Y;
        }
    }
    return text.str();
}

using SoakTest = PlayTest;

TEST_F(SoakTest, GamesOnRandomLevelsKeepTheFieldSound) {
    const char* budget = std::getenv("ZINTREL_SOAK_SECONDS");
    const double seconds = budget != nullptr ? std::atof(budget) : 1200.0;
    std::mt19937 random(20261206);
    PlayBot& player = StartBot(3);
    player.shooting = true;
    struct {
        int games = 0, levels = 0, frames = 0, pauses = 0, focusLosses = 0, lostSurfaces = 0;
    } figures;
    double gameTime = 0;
    double levelTime = 0;
    double lostLifeTime = 0;
    std::int32_t level = 0;
    int previousStep = -1;
    TGameState previousState = gsTitle;
    int chaosUntil = 0;  // the pass at which a pause or a focus loss ends
    char chaos = 0;
    bool stop = false;
    WriteLevels("soak.znl", RandomLevels(random));
    passesAfterSteps = 1 << 30;
    onPass = [&, botTurn = onPass] {
        if (!form || stop) {
            return;
        }
        TKestovForm& f = Form();
        // A new level set for every game; Space on through the game over and the Hall of Fame.
        if (f.GameState == gsTitle) {
            WriteLevels("soak.znl", RandomLevels(random));
        }
        if (f.GameState == gsTitle || f.GameState == gsGameOver || f.GameState == gsHallOfFame) {
            if (f.GameState == gsGameOver) {
                ++figures.games;
                levelTime = 0;  // the next game starts at level 1 again
            }
            harness.Char(' ');
            return;
        }
        if (!IsInPlay(f.GameState)) {
            return;
        }
        botTurn();
        if (const std::string fault = field_checks::FieldFault(f); !fault.empty()) {
            ADD_FAILURE() << fault;
            stop = true;
            harness.Char(27);
            return;
        }
        // The frames, the game time and the time spent on each level: the pipeline finished a
        // frame, or a life was being lost, which takes a whole frame at every pass.
        if ((previousStep == 6 && f.FrameStep == 0) || previousState == gsLosingLife) {
            ++figures.frames;
            gameTime += f.FrameTime;
            levelTime += f.FrameTime;
            lostLifeTime = previousState == gsLosingLife ? lostLifeTime + f.FrameTime : 0;
        }
        previousStep = f.FrameStep;
        previousState = f.GameState;
        if (f.LevelNumber != level) {
            level = f.LevelNumber;
            levelTime = 0;
            ++figures.levels;
        }
        // What a lost life waits for (bombs and eggs in sight, falling gulls, explosions) is
        // gone within a few seconds.
        if (lostLifeTime > 10) {
            ADD_FAILURE() << "a lost life has not ended in 10 seconds: " << Stalled(f);
            stop = true;
        }
        if (levelTime > 900) {
            ADD_FAILURE() << "level " << level
                          << " has not ended in 15 minutes of play: " << Stalled(f);
            stop = true;
        }
        // Now and then a pause, a focus loss or lost surfaces.
        const int pass = harness.Pass();
        if (chaos != 0) {
            if (pass >= chaosUntil) {
                if (chaos == 's') {
                    player.steering = true;
                    chaos = 0;
                } else if (chaos == 'f') {
                    // Back in front: the game stays paused until 'p'.
                    harness.Focus(true);
                    chaos = 'p';
                    chaosUntil = pass + 20;
                } else {
                    if (f.GameState == gsPaused) {
                        harness.Char('p');
                    }
                    chaos = 0;
                }
            }
        } else if (f.GameState == gsPlaying) {
            const int draw = std::uniform_int_distribution<int>(0, 30000)(random);
            if (draw == 0) {
                harness.Char('p');
                chaos = 'p';
                chaosUntil = pass + 300;
                ++figures.pauses;
            } else if (draw == 1) {
                harness.Focus(false);
                chaos = 'f';
                chaosUntil = pass + 200;
                ++figures.focusLosses;
            } else if (draw == 2) {
                harness.LoseSurfaces();
                ++figures.lostSurfaces;
            } else if (draw < 5) {
                // The player looks away for a while: the paddle stays where it is.
                player.steering = false;
                chaos = 's';
                chaosUntil = pass + 4000;
            }
        }
        if (gameTime >= seconds || stop) {
            stop = true;
            harness.Char(27);
        }
    };
    Run({WaitUntil([&] { return stop; }), WaitUntil([&] { return Form().GameState == gsAbout; }),
         [&] { harness.Char(27); }});
    std::cout << "soak: " << gameTime << " s of play, " << figures.games << " games, "
              << figures.levels << " levels, " << figures.frames << " frames, " << figures.pauses
              << " pauses, " << figures.focusLosses << " focus losses, " << figures.lostSurfaces
              << " lost surfaces\n";
    EXPECT_GE(gameTime, seconds);
    EXPECT_GT(figures.games, 0);
}

}  // namespace
