// The recorded games: their level sets, the bot's settings and the fixture that plays them.
#include "support/recorded_games.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>

#include "playfield/spritekinds.h"

namespace {

using E = PlayEvent;

// Bombs from a low, fast flock, for lives lost to bombs and umbrellas used up.
const std::vector<std::string> kBombs = {
    "12,0,12\n"
    "Gull=0,150,-120,0,0,0,0\nGull=120,170,-120,0,0,0,0\nGull=240,150,-120,0,0,0,0\n"
    "Gull=360,170,-120,0,0,0,0\nGull=480,150,-120,0,0,0,0\nGull=60,110,100,0,1,0,0\n"
    "Gull=300,110,100,0,1,0,0\nGull=540,110,100,0,2,0,0",
    "10,1,6\n"
    "Gull=0,120,150,0,0,0,0\nGull=200,160,-150,0,0,0,0\nGull=400,120,150,0,0,0,0\n"
    "Gull=100,200,120,20,1,160,240\nGull=500,200,-120,-20,1,160,240"};

// Every kind of gull on three levels, hovering and diving ones among them.
const std::vector<std::string> kFlock = {
    "2,1,4\n"
    "Gull=50,60,90,0,0,0,0\nGull=250,60,90,0,1,0,0\nGull=450,60,90,0,2,0,0\n"
    "Gull=150,140,-70,25,0,120,200\nGull=350,140,-70,-25,1,120,200",
    "3,2,6\n"
    "Gull=320,80,0,0,2,0,0\nGull=100,100,130,0,1,0,0\nGull=500,100,-130,0,0,0,0\n"
    "Gull=0,180,200,40,0,150,260\nGull=600,180,-200,-40,0,150,260",
    "4,2,8\n"
    "Gull=0,40,260,0,2,0,0\nGull=320,40,-260,0,2,0,0\nGull=160,220,80,60,1,100,300\n"
    "Gull=480,220,-80,60,1,100,300\nGull=240,300,50,0,0,0,0"};

// The powers, the Bazzle and the cannon: many eggs and Bazzles, then one gull out of reach.
const std::vector<std::string> kSky = {
    "1,5,40\n"
    "Gull=0,60,-80,0,0,0,0\nGull=160,60,-80,0,1,0,0\nGull=320,60,-80,0,0,0,0\n"
    "Gull=480,60,-80,0,0,0,0\nGull=40,130,70,0,0,0,0\nGull=240,130,70,0,1,0,0\n"
    "Gull=440,130,70,0,0,0,0\nGull=100,200,-60,30,0,180,260\n"
    "Gull=300,200,-60,-30,0,180,260\nGull=500,200,-60,30,0,180,260",
    "0,0,0\nGull=0,-60,90,0,0,0,0"};

// A flock high above the Bazzle's path, an egg from every gull and many Bazzles, on three
// levels alike: the shotgun's shots meet the Bazzle before any gull.
const std::string kHighFlock =
    "1,60,60\n"
    "Gull=0,4,60,0,0,0,0\nGull=40,12,-63,0,0,0,0\nGull=80,20,66,0,0,0,0\n"
    "Gull=120,4,-69,0,0,0,0\nGull=160,12,72,0,0,0,0\nGull=200,20,-75,0,0,0,0\n"
    "Gull=240,4,78,0,0,0,0\nGull=280,12,-81,0,0,0,0\nGull=320,20,84,0,0,0,0\n"
    "Gull=360,4,-87,0,0,0,0\nGull=400,12,90,0,0,0,0\nGull=440,20,-93,0,0,0,0\n"
    "Gull=480,4,96,0,0,0,0\nGull=520,12,-99,0,0,0,0\nGull=560,20,102,0,0,0,0\n"
    "Gull=600,4,-105,0,0,0,0\n";
const std::vector<std::string> kBazzle(3, kHighFlock);

// One short level, so that the bot soon plays past the last.
const std::vector<std::string> kOne = {
    "2,1,3\nGull=100,80,-90,0,0,0,0\nGull=400,120,90,0,0,0,0\nGull=250,160,-60,0,1,0,0"};

std::vector<RecordedGame> MakeGames() {
    std::vector<RecordedGame> games;
    const auto add = [&](RecordedGame game) { games.push_back(std::move(game)); };
    // The shipped pack at the display rates players have.
    add({.name = "pack-60",
         .levels = "pack",
         .seed = 1001,
         .refreshHz = 60,
         .botSeed = 1,
         .reaches = {}});
    add({.name = "pack-144",
         .levels = "pack",
         .seed = 1002,
         .refreshHz = 144,
         .botSeed = 2,
         .reaches = {E::SlowerCaught, E::DoublerCaught, E::GlueCaught}});
    add({.name = "pack-240",
         .levels = "pack",
         .seed = 1003,
         .refreshHz = 240,
         .botSeed = 3,
         .reaches = {E::GlueCaught}});
    add({.name = "pack-30",
         .levels = "pack",
         .seed = 1004,
         .refreshHz = 30,
         .botSeed = 4,
         .reaches = {E::GlueCaught, E::FasterCaught, E::ShotgunCaught, E::TennisBallCaught,
                     E::UmbrellaCaught, E::BazzleByBall, E::LifeLostByLastBall}});
    add({.name = "pack-still",
         .levels = "pack",
         .seed = 1005,
         .refreshHz = 60,
         .botSeed = 5,
         .steering = false,
         .reaches = {E::LifeLostByBomb, E::LifeLostByLastBall, E::GameOver}});
    add({.name = "pack-paused",
         .levels = "pack",
         .seed = 1006,
         .refreshHz = 75,
         .botSeed = 6,
         .pauseAtPass = 3000,
         .lostAtPass = 6000,
         .reaches = {E::FasterCaught, E::BazzleByBall, E::LifeLostByFallingGull, E::Pause,
                     E::LostSurfaces}});
    // Powers, Bazzles and the cannon.
    add({.name = "sky-60",
         .levels = "sky",
         .seed = 4242,
         .refreshHz = 0,
         .botSeed = 11,
         .shooting = true,
         .frames = 9000,
         .reaches = {E::SlowerCaught, E::DoublerCaught, E::ExtraPaddleCaught, E::FasterCaught,
                     E::ShotgunCaught, E::TennisBallCaught, E::UmbrellaCaught, E::BazzleByBall,
                     E::Cannon, E::LifeLostByLastBall, E::LevelPastTheLast}});
    add({.name = "sky-144",
         .levels = "sky",
         .seed = 4243,
         .refreshHz = 144,
         .botSeed = 12,
         .shooting = true,
         .frames = 9000,
         .reaches = {E::FasterCaught, E::ShotgunCaught, E::TennisBallCaught,
                     E::LifeLostByFallingGull}});
    add({.name = "sky-30",
         .levels = "sky",
         .seed = 4244,
         .refreshHz = 30,
         .botSeed = 13,
         .shooting = true,
         .frames = 6000,
         .reaches = {E::SlowerCaught, E::ExtraPaddleCaught, E::GlueCaught, E::FasterCaught,
                     E::ShotgunCaught, E::TennisBallCaught, E::UmbrellaCaught, E::BazzleByBall,
                     E::Cannon, E::LifeLostByLastBall, E::LevelPastTheLast}});
    add({.name = "sky-balls",
         .levels = "sky",
         .seed = 4245,
         .refreshHz = 60,
         .botSeed = 14,
         .frames = 6000,
         .reaches = {E::DoublerCaught, E::ExtraPaddleCaught, E::ShotgunCaught, E::TennisBallCaught,
                     E::UmbrellaCaught, E::Cannon, E::LifeLostByLastBall, E::UmbrellaUsed,
                     E::LevelPastTheLast}});
    add({.name = "sky-careless",
         .levels = "sky",
         .seed = 4246,
         .refreshHz = 60,
         .botSeed = 15,
         .dodging = false,
         .shooting = true,
         .frames = 12000,
         .reaches = {E::SlowerCaught, E::DoublerCaught, E::ExtraPaddleCaught, E::GlueCaught,
                     E::TennisBallCaught, E::BazzleByBall, E::Cannon, E::LifeLostByBomb,
                     E::LifeLostByFallingGull, E::GameOver, E::NameEntry, E::LevelPastTheLast}});
    add({.name = "bazzle-60",
         .levels = "bazzle",
         .seed = 6,
         .refreshHz = 60,
         .botSeed = 16,
         .shooting = true,
         .frames = 4000,
         .reaches = {E::SlowerCaught, E::ExtraPaddleCaught, E::ShotgunCaught, E::TennisBallCaught,
                     E::UmbrellaCaught, E::BazzleByShot, E::UmbrellaUsed}});
    add({.name = "bazzle-144",
         .levels = "bazzle",
         .seed = 5,
         .refreshHz = 144,
         .botSeed = 16,
         .shooting = true,
         .frames = 5000,
         .reaches = {E::SlowerCaught, E::DoublerCaught, E::BazzleByBall,
                     E::LifeLostByFallingGull}});
    // A level past the last.
    add({.name = "one-60",
         .levels = "one",
         .seed = 77,
         .refreshHz = 60,
         .botSeed = 21,
         .frames = 4000,
         .reaches = {E::GlueCaught, E::BazzleByBall, E::LevelPastTheLast}});
    add({.name = "one-240",
         .levels = "one",
         .seed = 78,
         .refreshHz = 240,
         .botSeed = 22,
         .frames = 6000,
         .reaches = {E::UmbrellaCaught, E::BazzleByBall}});
    // Played with a game controller: its record holds what the game took, as a mouse's does.
    add({.name = "one-pad",
         .levels = "one",
         .seed = 80,
         .refreshHz = 60,
         .botSeed = 24,
         .pad = true,
         .frames = 4000,
         .reaches = {E::SlowerCaught, E::BazzleByBall, E::LifeLostByBomb, E::LevelPastTheLast}});
    // Recorded at half the game speed and launching by a press: the record carries both, and
    // the replay takes them from it, never from the player's settings.
    add({.name = "one-slow",
         .levels = "one",
         .seed = 81,
         .refreshHz = 60,
         .botSeed = 25,
         .frames = 8000,
         .settings = "game_speed = 50\nlaunch = press\n",
         .reaches = {E::LevelPastTheLast}});
    add({.name = "one-still",
         .levels = "one",
         .seed = 79,
         .refreshHz = 30,
         .botSeed = 23,
         .steering = false,
         .reaches = {E::GlueCaught, E::LifeLostByBomb, E::LifeLostByLastBall, E::GameOver}});
    // Bombs and falling gulls that the bot does not step away from.
    add({.name = "bombs-60",
         .levels = "bombs",
         .seed = 500,
         .refreshHz = 60,
         .botSeed = 31,
         .dodging = false,
         .frames = 6000,
         .reaches = {E::LifeLostByBomb, E::GameOver}});
    add({.name = "bombs-144",
         .levels = "bombs",
         .seed = 501,
         .refreshHz = 144,
         .botSeed = 32,
         .dodging = false,
         .frames = 8000,
         .reaches = {E::LifeLostByBomb, E::GameOver}});
    add({.name = "bombs-dodged",
         .levels = "bombs",
         .seed = 502,
         .refreshHz = 60,
         .botSeed = 33,
         .frames = 3000,
         .pauseAtPass = 5000,
         .reaches = {E::DoublerCaught, E::FasterCaught, E::ShotgunCaught, E::UmbrellaCaught,
                     E::LifeLostByLastBall, E::Pause}});
    add({.name = "bombs-240",
         .levels = "bombs",
         .seed = 503,
         .refreshHz = 240,
         .botSeed = 34,
         .dodging = false,
         .frames = 9000,
         .reaches = {E::LifeLostByBomb, E::GameOver}});
    // The shipped level file, its pictures and tunes.
    add({.name = "harbour-60",
         .levels = "shipped",
         .levelSet = 1,
         .seed = 1100,
         .refreshHz = 60,
         .botSeed = 51,
         .frames = 3000,
         .reaches = {E::SlowerCaught, E::BazzleByBall}});
    // Every kind of gull, with the focus lost and the surfaces lost on the way.
    add({.name = "flock-60",
         .levels = "flock",
         .seed = 900,
         .refreshHz = 60,
         .botSeed = 41,
         .frames = 4000,
         .focusAtPass = 4000,
         .reaches = {E::UmbrellaCaught, E::BazzleByBall, E::Pause, E::LostSurfaces}});
    add({.name = "flock-144",
         .levels = "flock",
         .seed = 901,
         .refreshHz = 144,
         .botSeed = 42,
         .frames = 5000,
         .lostAtPass = 3000,
         .reaches = {E::ShotgunCaught, E::BazzleByBall, E::LostSurfaces}});
    add({.name = "flock-30",
         .levels = "flock",
         .seed = 902,
         .refreshHz = 30,
         .botSeed = 43,
         .dodging = false,
         .frames = 4000,
         .reaches = {E::FasterCaught, E::LifeLostByBomb, E::GameOver, E::NameEntry}});
    add({.name = "flock-shooting",
         .levels = "flock",
         .seed = 903,
         .refreshHz = 60,
         .botSeed = 44,
         .shooting = true,
         .frames = 5000,
         .pauseAtPass = 2500,
         .focusAtPass = 7000,
         .lostAtPass = 9000,
         .reaches = {E::DoublerCaught, E::GlueCaught, E::FasterCaught, E::UmbrellaCaught,
                     E::BazzleByBall, E::LevelPastTheLast, E::Pause, E::LostSurfaces}});
    return games;
}

}  // namespace

std::string EventName(PlayEvent event) {
    static const char* const names[] = {
        "the slower egg caught",
        "the doubler egg caught",
        "the extra paddle egg caught",
        "the glue egg caught",
        "the faster egg caught",
        "the shotgun egg caught",
        "the tennis ball egg caught",
        "the umbrella egg caught",
        "the Bazzle struck by a ball",
        "the Bazzle struck by a shot",
        "the cannon",
        "a life lost by a bomb",
        "a life lost by a falling gull",
        "a life lost by the last ball",
        "an umbrella used",
        "the game over",
        "the name entry",
        "a level past the last",
        "a pause",
        "the surfaces lost",
    };
    return names[static_cast<int>(event)];
}

const std::vector<RecordedGame>& RecordedGames() {
    static const std::vector<RecordedGame> games = MakeGames();
    return games;
}

std::string RecordingsFolder() {
    return ZINTREL_RECORDINGS_DIR;
}

std::string RecordText(const std::string& path) {
    std::string text;
    if (gzFile file = gzopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (int n; (n = gzread(file, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        gzclose(file);
    }
    return text;
}

void RecordedGameTest::Prepare(const RecordedGame& game, bool replaying) {
    if (game.levels == "shipped") {
        // Recorded in the whole game folder; replayed with the pictures alone, the record
        // carrying the level file and the tunes.
        for (const auto& entry : std::filesystem::directory_iterator(ZINTREL_GAME_DIR)) {
            const std::string name = entry.path().filename().string();
            const bool picture = name.size() > 4 && name.substr(name.size() - 4) == ".jpg";
            if (name != "zintrel" && (picture || !replaying) && !folder.Holds(name)) {
                CopyShipped(name);
            }
        }
    } else if (game.levels == "pack") {
        CopyShipped("GullCoast.znk");
    } else {
        const std::vector<std::string>& levels = game.levels == "sky"      ? kSky
                                                 : game.levels == "one"    ? kOne
                                                 : game.levels == "bombs"  ? kBombs
                                                 : game.levels == "bazzle" ? kBazzle
                                                                           : kFlock;
        WriteLevels(game.levels + ".znl", levels);
    }
    if (!replaying && !game.settings.empty()) {
        UseSettings(game.settings);
    }
    harness.SetWallClock(game.seed);
    if (game.refreshHz > 0) {
        harness.SetRefreshRate(game.refreshHz);
    }
    passesAfterSteps = 1'000'000;
}

platform::SessionOutcome RecordedGameTest::Record(const RecordedGame& game,
                                                  const std::string& path) {
    Prepare(game, false);
    PlayBot& player = StartBot(game.botSeed);
    player.steering = game.steering;
    player.dodging = game.dodging;
    player.shooting = game.shooting;
    if (game.pad) {
        player.hands = PlayBot::Hands::Pad;
        player.pad = harness.AttachPad();
    }
    bool finishing = false;
    bool named = false;
    int played = 0;  // frames of play
    std::int32_t step = 0;
    onPass = [&, botTurn = onPass] {
        botTurn();
        const int pass = harness.Pass();
        if (pass == game.pauseAtPass || (game.pauseAtPass > 0 && pass == game.pauseAtPass + 400)) {
            harness.Char('p');
        }
        // Back from another application the game waits, paused, for the player.
        if (pass == game.focusAtPass || (game.focusAtPass > 0 && pass == game.focusAtPass + 300)) {
            harness.Focus(pass != game.focusAtPass);
        }
        if (game.focusAtPass > 0 && pass == game.focusAtPass + 400) {
            harness.Char('p');
        }
        if (pass == game.lostAtPass) {
            harness.LoseSurfaces();
        }
        // Offered the level sets, the bot steps down the list to its own and takes it.
        if (Form().GameState == gsSelectPack && pass % 40 == 20) {
            if (Form().PackIndex < game.levelSet) {
                harness.Key(VK_DOWN);
            } else {
                harness.Char(13);
            }
        }
        // The end of the game: the game-over picture clicked away, a name given to the Hall of
        // Fame, then Esc until the program has ended.
        const TGameState state = Form().GameState;
        played += step != 0 && Form().FrameStep == 0 ? 1 : 0;
        step = Form().FrameStep;
        finishing = finishing || state == gsGameOver || played >= game.frames;
        if (!finishing || pass % 40 != 0) {
            return;
        }
        if (state == gsGameOver) {
            harness.Click();
        } else if (state == gsNameEntry && !named) {
            harness.Type("BOT");
            harness.Char(13);
            named = true;
        } else if (state != gsNameEntry) {
            harness.Char(27);
        }
    };
    platform::StartRecording(path);
    Play({});
    return platform::EndSession();
}

platform::SessionOutcome RecordedGameTest::Replay(const RecordedGame& game, const std::string& path,
                                                  std::set<PlayEvent>* seen) {
    Prepare(game, true);
    PlayBot& referee = StartBot(0);
    referee.playing = false;
    platform::StartReplay(path);
    Run({});
    const platform::SessionOutcome outcome = platform::EndSession();
    if (seen == nullptr) {
        return outcome;
    }
    const PlayBot::Tally& t = referee.tally;
    const auto note = [&](bool happened, PlayEvent event) {
        if (happened) {
            seen->insert(event);
        }
    };
    for (const std::int32_t power : t.powersCaught) {
        seen->insert(static_cast<PlayEvent>(power));
    }
    note(t.bazzleStrikesByBall > 0, E::BazzleByBall);
    note(t.bazzleStrikes > t.bazzleStrikesByBall, E::BazzleByShot);
    note(t.cannonShots > 0, E::Cannon);
    note(t.livesLostByBomb > 0, E::LifeLostByBomb);
    note(t.livesLostByGull > 0, E::LifeLostByFallingGull);
    note(t.livesLostByLastBall > 0, E::LifeLostByLastBall);
    note(t.umbrellasUsed > 0, E::UmbrellaUsed);
    note(t.statesSeen.count(gsGameOver) > 0, E::GameOver);
    note(t.statesSeen.count(gsNameEntry) > 0, E::NameEntry);
    note(t.levelPastLast, E::LevelPastTheLast);
    note(t.statesSeen.count(gsPaused) > 0, E::Pause);
    note(RecordText(path).find(" lost\n") != std::string::npos, E::LostSurfaces);
    return outcome;
}
