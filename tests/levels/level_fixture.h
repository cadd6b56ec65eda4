// The reader tests' fixture: a folder of its own, the level fields the readers fill, and a
// headless display for the pack pictures.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "levels/levelset.h"
#include "media/picture_fixture.h"
#include "support/test_folder.h"

class LevelTest : public pictures::PictureTest {
  protected:
    void Write(const std::string& name, const std::string& bytes) const {
        folder_.Write(name, bytes);
    }
    // The message of the error the reading raises, or "" when it succeeds.
    static std::string Failure(const std::function<void()>& read);

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

  private:
    TestFolder folder_;
};
