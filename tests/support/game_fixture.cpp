// The headless game fixture.
#include "support/game_fixture.h"

#include <algorithm>

#include "assets/baked_resources.h"
#include "platform/api/resources.h"

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
        if (IsLevelPackName(name)) {
            std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / "GullCoast.znk",
                                       folder.Path() / name);
        } else {
            WriteLevels(name, {"1,3,3\nGull=100,60,-90,0,0,0,0"});
        }
    }
}

void GameTest::CopyShipped(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / name,
                               folder.Path() / name);
}

void GameTest::WriteLevels(const std::string& name, const std::vector<std::string>& levels) {
    std::string text = "Zintrel Level File Version 1.0\n";
    for (const std::string& level : levels) {
        const std::size_t end = level.find('\n');
        const std::string gulls = end == std::string::npos ? "" : level.substr(end + 1);
        text += "Level=" + level.substr(0, end) + "," +
                std::to_string(std::count(gulls.begin(), gulls.end(), '=')) + ",ZNTitle.jpg\n" +
                gulls + (gulls.empty() || gulls.back() == '\n' ? "" : "\n");
    }
    folder.Write(name, text);
}

bool GameTest::EnterNameAndClose(std::int32_t rank, std::int32_t score, const std::string& name) {
    return Run({
        [&] {
            Form().HofRank = rank;
            Form().Score = score;
            Form().GameState = gsNameEntry;
        },
        [&] { harness.Type(name); },
        [&] { harness.Char(13); },
        [&] {
            EXPECT_EQ(Form().GameState, gsHallOfFame);
            harness.CloseWindow();
        },
    });
}

std::vector<GameTest::Step> GameTest::Press(int pad, platform::Harness::PadControl control) {
    return {[this, pad, control] { harness.PadButton(pad, control, true); },
            [this, pad, control] { harness.PadButton(pad, control, false); }};
}

std::vector<GameTest::Step> GameTest::Press(const std::string& key) {
    return {[this, key] { harness.PressKey(key); }, [this, key] { harness.ReleaseKey(key); }};
}

void GameTest::UseSettings(const std::string& text) {
    folder.Write("zintrel.conf", text);
    harness.SetSettingsFile((folder.Path() / "zintrel.conf").string());
}

GameTest::Step GameTest::WaitUntil(std::function<bool()> condition) {
    Step step([] {});
    step.ready = std::move(condition);
    return step;
}

GameTest::Step GameTest::WaitForPlay() {
    // The pipeline moves FrameStep at every pass of play, the slide-in does not; three frames'
    // updaters mean a frame of play has been shown.
    struct Watch {
        int step = -1;
        int moves = 0;
    };
    auto watch = std::make_shared<Watch>();
    return WaitUntil([this, watch] {
        if (Form().GameState != gsPlaying) {
            *watch = Watch{};
            return false;
        }
        if (watch->step >= 0 && watch->step != Form().FrameStep) {
            ++watch->moves;
        }
        watch->step = Form().FrameStep;
        return watch->moves >= 24;
    });
}

GameTest::Step GameTest::WaitFrames(int frames) {
    auto until = std::make_shared<int>(-1);
    return WaitUntil([this, until, frames] {
        if (*until < 0) {
            *until = harness.PresentedFrames() + frames;
        }
        return harness.PresentedFrames() >= *until;
    });
}

bool GameTest::Run(const std::vector<Step>& steps) {
    form = MakeForm();
    std::size_t next = 0;
    int due = kFirstStepPass;
    int limit = kFirstStepPass + passesAfterSteps;
    harness.SetPassLimit(limit);
    harness.EveryPass([&](int pass) {
        if (onPass) {
            onPass();
        }
        if (next >= steps.size() || pass < due) {
            return;
        }
        const Step& step = steps[next];
        if (step.ready) {
            if (!step.ready()) {
                return;
            }
            ++next;
            due = pass + 1;
        } else {
            step.act();
            ++next;
            due = pass + kPassesPerStep;
        }
        // Every step leaves the run room to finish.
        limit = std::max(limit, pass + passesAfterSteps);
        harness.SetPassLimit(limit);
    });
    Application.Run(*form);
    harness.EveryPass(nullptr);
    EXPECT_EQ(next, steps.size()) << "the program ended before every step had run";
    return !harness.PassLimitReached();
}
