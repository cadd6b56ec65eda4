// The headless game fixture.
#include "game_fixture.h"

#include <fstream>
#include <sstream>

#include "assets/baked_resources.h"
#include "platform/resources.h"

namespace {
// Enough passes for a state change to reach the handler of the new state.
constexpr int kPassesPerStep = 6;
constexpr int kFirstStepPass = 4;
}  // namespace

void GameTest::SetUp() {
    previous_ = std::filesystem::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::temp_directory_path() /
             (std::string("zintrel-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / "ZNTitle.jpg",
                               folder / "ZNTitle.jpg");
    std::filesystem::current_path(folder);
    platform::SetModuleResources(BakedResources());
    Application.Initialize();
}

void GameTest::TearDown() {
    form.reset();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder);
}

void GameTest::AddLevelFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        WriteFile(name, "Zintrel Level File Version 1.0\n");
    }
}

void GameTest::WriteFile(const std::string& name, const std::string& contents) {
    std::ofstream(folder / name, std::ios::binary) << contents;
}

std::string GameTest::ReadFile(const std::string& name) const {
    std::ifstream file(folder / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool GameTest::Exists(const std::string& name) const {
    return std::filesystem::exists(folder / name);
}

bool GameTest::Run(const std::vector<Step>& steps) {
    form = std::make_unique<TKestovForm>();
    int pass = kFirstStepPass;
    for (const Step& step : steps) {
        harness.At(pass, step);
        pass += kPassesPerStep;
    }
    harness.SetPassLimit(pass + 2000);
    Application.Run(*form);
    return !harness.PassLimitReached();
}
