// Fuzz target: the input is a level file, played headless for its first levels with the
// player's input drawn from the same bytes; the field is checked after every pass. The game
// starts once (its sheets, sounds and tunes cost far more than a while of play) and runs on a
// thread of its own, whose message pump takes each input at a pass boundary: the level file
// written, the game sent back to the selection (which with one level set starts a new game on
// it), and a bounded number of passes played. Only inputs the level reader takes, whose
// pictures are there, are played: the rest is the level file target's to fuzz.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <semaphore>
#include <span>
#include <thread>

#include "assets/baked_resources.h"
#include "fuzz_file.h"
#include "game/znform.h"
#include "platform/api/gamefolders.h"
#include "platform/api/resources.h"
#include "support/field_checks.h"
#include "support/harness.h"
#include "support/level_fields.h"

namespace {

// Passes of the message pump each input plays for: the level's slide-in and some ten seconds
// of play, long enough to launch a ball and lose it or the paddle, and for the lost life to end
// (a frame takes eight passes, one for each updater, and more while its flip waits for the
// display's next refresh). The display refreshes 30 times a second, the longest frame time the
// game takes, so that each frame moves the field as far as a frame can.
constexpr int kPassesPerInput = 7200;
// A lost life ends once the bombs and eggs in sight have fallen, the falling gulls are gone and
// the explosions have run: within ten seconds, a frame at each pass.
constexpr int kLostLifeFrames = 300;

// The player's input at one pass, from one byte: the mouse moved, the button pressed or
// released, or a pause, a focus loss or return, or lost surfaces.
void Play(platform::Harness& harness, std::uint8_t byte) {
    harness.MoveMouse(((byte & 0x1F) - 16) * 4, 0);
    switch (byte) {
        case 0x70:
            harness.Char('p');
            return;
        case 0x71:
            harness.Focus(false);
            return;
        case 0x72:
            harness.Focus(true);
            return;
        case 0x73:
            harness.LoseSurfaces();
            return;
        default:
            break;
    }
    if ((byte & 0x60) == 0x60) {
        harness.Press();
    } else if ((byte & 0x60) == 0x20) {
        harness.Release();
    }
}

// The game on its thread, and the fuzzer handing it inputs.
class Game {
  public:
    Game()
        : folder_(std::filesystem::temp_directory_path() /
                  ("zintrel-fuzz-play-" + std::to_string(getpid()))),
          levelFile_(folder_ / "fuzz.znl") {
        // The title picture and the shipped levels' pictures, which the seeds name.
        std::filesystem::create_directories(folder_);
        for (const auto& entry : std::filesystem::directory_iterator(ZINTREL_GAME_DIR)) {
            if (entry.path().extension() == ".jpg") {
                std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
            }
        }
    }

    // Plays one input; returns once the game is done with it.
    void PlayInput(std::span<const std::uint8_t> input) {
        std::ofstream(levelFile_, std::ios::binary)
            .write(reinterpret_cast<const char*>(input.data()),
                   static_cast<std::streamsize>(input.size()));
        if (!Playable()) {
            return;
        }
        input_ = input;
        given_.release();
        done_.acquire();
    }

    void Run() {
        platform::SetModuleResources(BakedResources());
        harness_.SetRefreshRate(30);
        Application.Initialize();
        TakeInput();
        for (;;) {
            platform::UseGameFolders({{folder_.string()}, "", "the fuzz target keeps no scores"});
            TKestovForm form;
            harness_.EveryPass([&](int) { Pass(form); });
            Application.Run(form);
            // The game ended on what the input held: that input is done.
            InputDone();
            TakeInput();
        }
    }

  private:
    // Whether the level reader takes the file and every picture it names is in the folder.
    bool Playable() const {
        LevelFields fields;
        try {
            ReadLevelSet(fields.Set(), levelFile_.string());
        } catch (const std::exception&) {
            return false;
        }
        std::error_code unreadable;  // a name too long for the file system, say
        for (const TZNLevelWrapper& level : fields.Levels) {
            if (!std::filesystem::is_regular_file(folder_ / level.PictureName, unreadable)) {
                return false;
            }
        }
        return true;
    }

    // Waits for the next input, whose level file is written.
    void TakeInput() {
        given_.acquire();
        passes_ = 0;
    }

    void InputDone() { done_.release(); }

    void Pass(TKestovForm& form) {
        if (passes_ == kPassesPerInput) {
            InputDone();
            TakeInput();
        }
        if (passes_++ == 0) {
            // The selection with one level set starts a new game on it at once.
            form.GameState = gsSelectPack;
        } else if (!input_.empty()) {
            Play(harness_, input_[static_cast<std::size_t>(passes_) * 7 % input_.size()]);
        }
        if (IsInPlay(form.GameState)) {
            if (const std::string fault = field_checks::FieldFault(form); !fault.empty()) {
                FuzzFault("the field is not sound: " + fault);
            }
        }
        lostLifeFrames_ =
            form.GameState == gsLosingLife ? lostLifeFrames_ + (form.AppActive ? 1 : 0) : 0;
        if (lostLifeFrames_ > kLostLifeFrames) {
            FuzzFault("a lost life has not ended in " + std::to_string(kLostLifeFrames) +
                      " frames");
        }
    }

    platform::Harness harness_;
    const std::filesystem::path folder_;
    const std::filesystem::path levelFile_;
    std::span<const std::uint8_t> input_;
    int passes_ = 0;
    int lostLifeFrames_ = 0;  // frames of play while a lost life waits to end
    std::binary_semaphore given_{0};
    std::binary_semaphore done_{0};
};

Game& TheGame() {
    // Never destroyed: its thread is still waiting for an input when the fuzzer exits.
    static Game* const game = [] {
        auto* created = new Game;
        std::thread([created] { created->Run(); }).detach();
        return created;
    }();
    return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TheGame().PlayInput({data, size});
    return 0;
}
