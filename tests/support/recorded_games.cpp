// The recorded games: their level sets, the bot's settings and the fixture that plays them.
#include "support/recorded_games.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>

namespace {

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

}  // namespace

const std::vector<RecordedGame>& RecordedGames() {
    // Name, level set, seed, display rate, the bot's seed, frames, how the bot plays, the passes
    // of a pause, a focus loss and lost surfaces, and the player's settings.
    static const std::vector<RecordedGame> games = {
        // The shipped pack at the display rates players have: powers, a Bazzle, the game over.
        {"pack-60", "pack", 1001, 60, 1, 2400, ""},
        {"pack-144", "pack", 1002, 144, 2, 2400, ""},
        {"pack-240", "pack", 1003, 240, 3, 2400, ""},
        {"pack-30", "pack", 1004, 30, 4, 2400, ""},
        {"pack-still", "pack", 1005, 60, 5, 2400, "still"},
        {"pack-paused", "pack", 1006, 75, 6, 2400, "", 3000, 0, 6000},
        // Every power, Bazzles struck by balls and shots, the cannon, levels past the last.
        {"sky-60", "sky", 4242, 0, 11, 9000, "shooting"},
        {"sky-144", "sky", 4243, 144, 12, 9000, "shooting"},
        {"sky-30", "sky", 4244, 30, 13, 6000, "shooting"},
        {"sky-balls", "sky", 4245, 60, 14, 6000, ""},
        {"sky-careless", "sky", 4246, 60, 15, 12000, "careless shooting"},
        {"bazzle-60", "bazzle", 6, 60, 16, 4000, "shooting"},
        {"bazzle-144", "bazzle", 5, 144, 16, 5000, "shooting"},
        // A level past the last; with a game controller, whose record holds what a mouse's would.
        {"one-60", "one", 77, 60, 21, 4000, ""},
        {"one-240", "one", 78, 240, 22, 6000, ""},
        {"one-pad", "one", 80, 60, 24, 4000, "pad"},
        // Recorded at half the game speed and launching by a press: the record carries both, and
        // the replay takes them from it, never from the player's settings.
        {"one-slow", "one", 81, 60, 25, 8000, "", 0, 0, 0, "game_speed = 50\nlaunch = press\n"},
        {"one-still", "one", 79, 30, 23, 2400, "still"},
        // Bombs and falling gulls that the bot does not step away from: lives lost, the game over.
        {"bombs-60", "bombs", 500, 60, 31, 6000, "careless"},
        {"bombs-144", "bombs", 501, 144, 32, 8000, "careless"},
        {"bombs-dodged", "bombs", 502, 60, 33, 3000, "", 5000},
        {"bombs-240", "bombs", 503, 240, 34, 9000, "careless"},
        // The shipped level file, its pictures and tunes.
        {"harbour-60", "shipped", 1100, 60, 51, 3000, "second"},
        // Every kind of gull, with pauses, the focus lost and the surfaces lost on the way; a name
        // entered into the Hall of Fame.
        {"flock-60", "flock", 900, 60, 41, 4000, "", 0, 4000},
        {"flock-144", "flock", 901, 144, 42, 5000, "", 0, 0, 3000},
        {"flock-30", "flock", 902, 30, 43, 4000, "careless"},
        {"flock-shooting", "flock", 903, 60, 44, 5000, "shooting", 2500, 7000, 9000},
    };
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
    } else if (game.levels == "pack" && !folder.Holds("GullCoast.znk")) {
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
    platform::System().pass = 0;  // a record counts the passes of one run of the program
    if (game.refreshHz > 0) {
        harness.SetRefreshRate(game.refreshHz);
    }
    passesAfterSteps = 1'000'000;
}

platform::SessionOutcome RecordedGameTest::Record(const RecordedGame& game,
                                                  const std::string& path) {
    Prepare(game, false);
    PlayBot& player = StartBot(game.botSeed);
    player.steering = !game.Plays("still");
    player.dodging = !game.Plays("careless");
    player.shooting = game.Plays("shooting");
    if (game.Plays("pad")) {
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
            if (Form().PackIndex < (game.Plays("second") ? 1 : 0)) {
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

platform::SessionOutcome RecordedGameTest::Replay(const RecordedGame& game,
                                                  const std::string& path) {
    Prepare(game, true);
    onPass = nullptr;
    platform::StartReplay(path);
    Run({});
    return platform::EndSession();
}
