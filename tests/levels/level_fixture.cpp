// The reader tests' fixture.
#include "level_fixture.h"

#include <fstream>

void LevelTest::SetUp() {
    PictureTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("zintrel-levels-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
}

void LevelTest::TearDown() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
    PictureTest::TearDown();
}

void LevelTest::Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
}

std::string LevelTest::Failure(const std::function<void()>& read) {
    try {
        read();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
