// The headless game fixture.
#include "game_fixture.h"

#include "assets/baked_resources.h"
#include "platform/resources.h"

namespace {
// Enough passes for a state change to reach the handler of the new state.
constexpr int kPassesPerStep = 6;
constexpr int kFirstStepPass = 4;
}  // namespace

void GameTest::SetUp() {
    std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / "ZNTitle.jpg",
                               folder.Path() / "ZNTitle.jpg");
    platform::SetModuleResources(BakedResources());
    Application.Initialize();
}

void GameTest::TearDown() {
    form.reset();
}

void GameTest::AddLevelFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        folder.Write(name, "Zintrel Level File Version 1.0\n");
    }
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
