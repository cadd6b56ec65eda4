// The reader tests' fixture.
#include "support/level_fixture.h"

std::string LevelTest::Failure(const std::function<void()>& read) {
    try {
        read();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
