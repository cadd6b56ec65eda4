// The game's folders: where the files it reads are found and where it writes the score file.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The files the game reads "beside the program" are looked up in `search`, the first folder
// that holds a name winning; the score file is written in `write`. Until the program entry
// sets them, both are the current folder.
struct GameFolders {
    std::vector<std::string> search{"."};
    std::string write = ".";
    // Why nothing can be written, when `write` is empty.
    std::string problem;
};

// What the folders are worked out from: the program's own folder and the values of
// XDG_DATA_HOME and HOME (empty when unset).
struct FolderEnvironment {
    std::string programFolder;
    std::string dataHome;
    std::string home;
};

// The program's folder is a game folder when it holds the title picture "ZNTitle.jpg" (in any
// letter case), as the build's game folder does: then that folder alone is searched and
// written. Otherwise the program is installed: the player's folder, XDG_DATA_HOME/zintrel
// (HOME/.local/share/zintrel when XDG_DATA_HOME is unset or not absolute), is made when
// missing, searched first and written; the shipped files' folder, found from the program's
// folder the way the install lays them out, is searched second. A player's folder that cannot
// be made or written is still searched, and `problem` says why scores will not be kept.
GameFolders LocateGameFolders(const FolderEnvironment& environment);

// The environment of this process: the folder of its executable and its variables.
FolderEnvironment ProcessFolderEnvironment();

void UseGameFolders(GameFolders folders);
const GameFolders& ActiveGameFolders();

// Locates and uses the folders of this process; says once on standard error why scores will
// not be kept, when they cannot be.
void SetUpGameFolders();

}  // namespace platform
