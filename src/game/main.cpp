// The program entry: the command line, the application, the game form and the errors that
// escape them.
#include <iostream>
#include <new>
#include <string>

#include "assets/baked_resources.h"
#include "game/znform.h"
#include "platform/gamefolders.h"
#include "platform/msgbox.h"
#include "platform/recording.h"
#include "platform/resources.h"

namespace {

constexpr const char* kUsage =
    "Usage: zintrel [--record FILE | --replay FILE]\n"
    "  --record FILE  play as usual and write a record of the game to FILE\n"
    "  --replay FILE  play the recorded game in FILE again and check that it goes the same way\n";

// Starts the recording or replay the command line asks for; false when it cannot.
bool StartSession(int argc, char** argv) {
    if (argc == 1) {
        return true;
    }
    const std::string option = argv[1];
    if (argc != 3 || (option != "--record" && option != "--replay")) {
        std::cerr << kUsage;
        return false;
    }
    try {
        if (option == "--record") {
            platform::StartRecording(argv[2]);
        } else {
            platform::StartReplay(argv[2]);
            // A replay leaves the player's Hall of Fame as it is.
            platform::GameFolders folders = platform::ActiveGameFolders();
            folders.write.clear();
            platform::UseGameFolders(folders);
        }
    } catch (const Exception& error) {
        std::cerr << "Zintrel: " << error.Message() << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        platform::SetUpGameFolders();
        if (!StartSession(argc, argv)) {
            return 2;
        }
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
        TKestovForm form;
        Application.Run(form);
    } catch (const std::bad_alloc&) {
        MessageBoxA(nullptr, "Out of memory error", "Zintrel", MB_OK);
    } catch (const Exception& error) {
        Application.ShowException(error);
    } catch (...) {
        MessageBoxA(nullptr, "Unknown exception", "Zintrel", MB_OK);
    }
    if (!platform::SessionActive()) {
        return 0;
    }
    const platform::SessionOutcome outcome = platform::EndSession();
    std::cerr << "Zintrel: " << outcome.report << '\n';
    return outcome.matched ? 0 : 1;
}
