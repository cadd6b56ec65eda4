// The reader tests' fixture: a folder of its own, the level fields the readers fill, and a
// headless display for the pack pictures.
#pragma once

#include <functional>
#include <string>

#include "levels/levelset.h"
#include "support/level_fields.h"
#include "support/picture_fixture.h"
#include "support/test_folder.h"

class LevelTest : public pictures::PictureTest, protected LevelFields {
  protected:
    void Write(const std::string& name, const std::string& bytes) const {
        folder_.Write(name, bytes);
    }
    // The message of the error the reading raises, or "" when it succeeds.
    static std::string Failure(const std::function<void()>& read) {
        try {
            read();
        } catch (const std::exception& error) {
            return error.what();
        }
        return "";
    }

  private:
    TestFolder folder_;
};
