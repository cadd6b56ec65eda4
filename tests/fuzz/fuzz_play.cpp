// Fuzz target: the input is a level file, and the game plays its first levels headless with the
// player's input drawn from the same bytes; the field is checked after every pass.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/baked_resources.h"
#include "game/znform.h"
#include "platform/gamefolders.h"
#include "platform/harness.h"
#include "platform/resources.h"
#include "support/field_checks.h"

namespace {

// The game's folder for the runs: the title picture and the level file under test.
const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("zintrel-fuzz-play-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / "ZNTitle.jpg",
                                   path / "ZNTitle.jpg",
                                   std::filesystem::copy_options::overwrite_existing);
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
        return path;
    }();
    return folder;
}

// The player's input at one pass, from one byte: the mouse moved, the button pressed or
// released, and now and then a pause, a focus loss or return, or lost surfaces.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& folder = Folder();
    std::ofstream(folder / "fuzz.znl", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    platform::UseGameFolders({{folder.string()}, "", "the fuzz target keeps no scores"});
    platform::Harness harness;
    // A few hundred frames of play; then Esc until the program has ended.
    harness.SetPassLimit(6000);
    TKestovForm form;
    harness.EveryPass([&](int pass) {
        if (pass == 4) {
            harness.Char(' ');  // the only level set
        } else if (pass > 4 && size > 0) {
            Play(harness, data[static_cast<std::size_t>(pass) * 7 % size]);
        }
        if (IsInPlay(form.GameState)) {
            if (const std::string fault = field_checks::FieldFault(form); !fault.empty()) {
                std::fprintf(stderr, "the field is not sound: %s\n", fault.c_str());
                std::abort();
            }
        }
    });
    Application.Run(form);
    return 0;
}
