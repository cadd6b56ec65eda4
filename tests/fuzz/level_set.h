// The game record's level fields, standing alone for the level readers' fuzz targets.
#pragma once

#include <array>
#include <string>

#include "levels/levelset.h"

struct FuzzLevelSet {
    TZNLevelList levels;
    TZNEntryList pictures;
    std::int32_t firstPictureOffset = 0;
    std::int32_t pictureCount = 0;
    std::array<char, 4> pictureMagic{};
    std::string packName;
    bool packLoaded = false;

    TZNLevelSet View() {
        return {levels,       pictures, firstPictureOffset, pictureCount,
                pictureMagic, packName, packLoaded};
    }
};
