// The program entry, above every layer: the command line, the real services, the game form, the
// level editor or a replay made into a video, and the errors that escape them.
#include <iostream>
#include <memory>
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
#include "platform/video/replay_video.h"

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

// Opens the video the command line asks for; null when it cannot.
std::unique_ptr<platform::ReplayVideo> StartVideo(const CommandLine& line) {
    try {
        return platform::OpenReplayVideo(line.video, line.videoScale);
    } catch (const Exception& error) {
        std::cerr << "zintrel: " << error.Message() << '\n';
        return nullptr;
    }
}

// The status a replay ends with: 1 only when the game parted from its record; 2 when the record
// stops before its game's end, or for an error of the replay's own (a file the game needs and
// cannot find).
int ReplayStatus(const platform::SessionOutcome& outcome, int status) {
    if (outcome.matched) {
        return 0;
    }
    return outcome.incomplete || status != 0 ? 2 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine parsed = ParseCommandLine({argv + 1, argv + argc});
    if (const std::optional<int> status = AnswerCommandLine(parsed, std::cout, std::cerr)) {
        return *status;
    }
    const CommandLine& line = std::get<CommandLine>(parsed);
    // An error that ends the program ends it with status 1, once it has been shown.
    int status = 1;
    std::unique_ptr<platform::ReplayVideo> video;
    try {
        if (line.video.empty()) {
            platform::UseSdlServices();
        } else {
            platform::UseHeadlessSdlServices();
        }
        platform::SetUpGameFolders();
        if (!line.video.empty() && !(video = StartVideo(line))) {
            return 2;
        }
        if (!StartSession(line)) {
            return 2;
        }
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
        if (!line.edit.empty()) {
            TLevelEditor editor(line.edit);
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
    std::string videoFailure;
    try {
        if (video) {
            video->Finish();
        }
    } catch (const Exception& error) {
        videoFailure = error.Message();
    }
    const platform::SessionOutcome outcome = platform::EndSession();
    std::cerr << "zintrel: " << outcome.report << '\n';
    if (line.replay.empty()) {
        return outcome.matched ? status : 1;
    }
    const int replayed = ReplayStatus(outcome, status);
    if (!video || replayed != 0) {
        return replayed;
    }
    // The video takes its name only when the replay went as recorded and it was written whole.
    try {
        if (!videoFailure.empty()) {
            throw Exception(videoFailure);
        }
        video->Keep();
    } catch (const Exception& error) {
        std::cerr << "zintrel: " << error.Message() << '\n';
        return 1;
    }
    return 0;
}
