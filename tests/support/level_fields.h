// The game record's level fields standing alone, with the view the level readers fill.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "levels/levelset.h"

struct LevelFields {
    TZNLevelSet Set() {
        return {Levels,       PackPictures, FirstPictureOffset, PictureCount,
                PictureMagic, PackName,     PackLoaded};
    }

    TZNLevelList Levels;
    TZNEntryList PackPictures;
    std::int32_t FirstPictureOffset = 0;
    std::int32_t PictureCount = 0;
    std::array<char, 4> PictureMagic{};
    std::string PackName;
    bool PackLoaded = false;
};
