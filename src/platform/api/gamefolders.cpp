// The game's folders: a game folder beside the program, or the player's and the shipped ones.
#include "platform/api/gamefolders.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/api/files.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitlePicture = "ZNTitle.jpg";
constexpr const char* kFolderName = "zintrel";

GameFolders g_folders;

bool IsGameFolder(const std::string& folder) {
    std::error_code error;
    return fs::is_regular_file(ResolveFileName(kTitlePicture, folder), error);
}

// The player's folder, or an empty path when the environment names no home for it.
fs::path PlayerFolder(const FolderEnvironment& environment) {
    if (!environment.dataHome.empty() && fs::path(environment.dataHome).is_absolute()) {
        return fs::path(environment.dataHome) / kFolderName;
    }
    if (!environment.home.empty()) {
        return fs::path(environment.home) / ".local" / "share" / kFolderName;
    }
    return {};
}

// Makes the folder when it is missing; an empty answer when it can be written, else the reason
// it cannot.
std::string MakeWritableFolder(const fs::path& folder) {
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
        return "the folder " + folder.string() + " cannot be made: a file of that name is there";
    }
    fs::create_directories(folder, error);
    if (error) {
        return "the folder " + folder.string() + " cannot be made (" + error.message() + ")";
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        return "the folder " + folder.string() + " is not writable";
    }
    return {};
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

GameFolders LocateGameFolders(const FolderEnvironment& environment) {
    GameFolders folders;
    if (IsGameFolder(environment.programFolder)) {
        folders.search = {environment.programFolder};
        folders.write = environment.programFolder;
        return folders;
    }
    const fs::path shipped =
        (fs::path(environment.programFolder) / ZINTREL_SHIPPED_FROM_PROGRAM).lexically_normal();
    const fs::path player = PlayerFolder(environment);
    folders.search.clear();
    folders.write.clear();
    if (player.empty()) {
        folders.problem = "neither XDG_DATA_HOME nor HOME names a folder for them";
    } else {
        folders.search.push_back(player.string());
        folders.problem = MakeWritableFolder(player);
        if (folders.problem.empty()) {
            folders.write = player.string();
        }
    }
    folders.search.push_back(shipped.string());
    return folders;
}

FolderEnvironment ProcessFolderEnvironment() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return {error ? std::string(".") : program.parent_path().string(), Variable("XDG_DATA_HOME"),
            Variable("HOME")};
}

void UseGameFolders(GameFolders folders) {
    g_folders = std::move(folders);
}

const GameFolders& ActiveGameFolders() {
    return g_folders;
}

void SetUpGameFolders() {
    UseGameFolders(LocateGameFolders(ProcessFolderEnvironment()));
    if (!g_folders.problem.empty()) {
        std::fprintf(stderr, "Scores will not be kept: %s\n", g_folders.problem.c_str());
    }
}

}  // namespace platform
