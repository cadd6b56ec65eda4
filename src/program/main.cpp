// The program entry, above every layer: the command line, the real services, the game form or
// the level editor, and the errors that escape them.
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <variant>

#include "assets/baked_resources.h"
#include "editor/editorform.h"
#include "game/command_line.h"
#include "game/znform.h"
#include "platform/api/gamefolders.h"
#include "platform/api/msgbox.h"
#include "platform/api/resources.h"
#include "platform/api/services.h"
#include "platform/sdl/sdl_services.h"
#include "platform/session/recording.h"

namespace {

// Starts the recording or replay the command line asks for; false when it cannot.
bool StartSession(const CommandLine& line) {
    try {
        if (!line.record.empty()) {
            platform::StartRecording(line.record);
        } else if (!line.replay.empty()) {
            platform::StartReplay(line.replay);
            // A replay leaves the player's Hall of Fame as it is, and the window's settings: it
            // neither reads nor writes them.
            platform::GameFolders folders = platform::ActiveGameFolders();
            folders.write.clear();
            platform::UseGameFolders(folders);
            platform::System().settingsFile = std::string();
        }
    } catch (const Exception& error) {
        std::cerr << "zintrel: " << error.Message() << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine parsed = ParseCommandLine({argv + 1, argv + argc});
    if (const std::optional<int> status = AnswerCommandLine(parsed, std::cout, std::cerr)) {
        return *status;
    }
    // An error that ends the program ends it with status 1, once it has been shown.
    int status = 1;
    try {
        platform::UseSdlServices();
        platform::SetUpGameFolders();
        if (!StartSession(std::get<CommandLine>(parsed))) {
            return 2;
        }
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
        if (const std::string& edit = std::get<CommandLine>(parsed).edit; !edit.empty()) {
            TLevelEditor editor(edit);
            Application.Run(editor);
        } else {
            TKestovForm form;
            Application.Run(form);
        }
        status = Application.EndedOnError() ? 1 : 0;
    } catch (const std::bad_alloc&) {
        MessageBoxA(nullptr, "Out of memory error", "Zintrel", MB_OK);
    } catch (const Exception& error) {
        Application.ShowException(error);
    } catch (...) {
        MessageBoxA(nullptr, "Unknown exception", "Zintrel", MB_OK);
    }
    if (!platform::SessionActive()) {
        return status;
    }
    const platform::SessionOutcome outcome = platform::EndSession();
    std::cerr << "zintrel: " << outcome.report << '\n';
    if (std::get<CommandLine>(parsed).replay.empty()) {
        return outcome.matched ? status : 1;
    }
    // A replay ends with 1 only when the game parted from its record; a record that stops
    // before its game's end, or an error of the replay's own (a file the game needs and cannot
    // find), ends it with 2.
    if (outcome.matched) {
        return 0;
    }
    return outcome.incomplete || status != 0 ? 2 : 1;
}
