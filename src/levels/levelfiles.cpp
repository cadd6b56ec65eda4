// Finding the level packs and level files beside the program.
#include "levels/levelfiles.h"

#include "platform/files.h"

std::vector<std::string> FindLevelFiles() {
    return platform::FindFiles("*.zn?");
}
