// The failures that end the program at start or on the way to play.
#include "support/game_fixture.h"

namespace {

// A failure at start (before the main loop) or on the way to play ends the program on its
// message.
struct Failure {
    const char* name;
    std::function<void(const TestFolder&, platform::Harness&)> setUp;
    const char* keys;  // typed one a step: Space leads to the list of level sets, Enter chooses
    const char* message;
};

void PrintTo(const Failure& failure, std::ostream* out) {
    *out << failure.name;
}

class FailureTest : public GameTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailureTest, EndsTheProgramOnItsMessage) {
    const std::string keys = GetParam().keys;
    GetParam().setUp(folder, harness);
    std::vector<Step> steps;
    for (const char key : keys) {
        steps.push_back([&, key] { harness.Char(key); });
    }
    ASSERT_TRUE(Run(steps));
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    const platform::ShownBox& box = harness.MessageBoxes()[0];
    EXPECT_EQ(box.caption + ": " + box.text, GetParam().message);
    EXPECT_TRUE(Application.EndedOnError());
    EXPECT_TRUE(Form().CloseRequested());
    EXPECT_EQ(harness.Pass() == 0, keys.empty());
    if (!keys.empty()) {  // the desktop's cursor given back
        EXPECT_EQ(harness.CursorCount(), 0);
        EXPECT_FALSE(harness.CursorClipped());
    }
}

INSTANTIATE_TEST_SUITE_P(
    AtStart, FailureTest,
    ::testing::Values(Failure{"NoCursorConfinement",
                              [](const TestFolder&, platform::Harness& h) {
                                  h.FailClipCursor(true);
                              },
                              "", "Zintrel: Cannot contain cursor"},
                      Failure{"NoDisplayMode",
                              [](const TestFolder&, platform::Harness& h) {
                                  h.Fail(platform::Fault::DisplayMode);
                              },
                              "", "Failure: SetDisplayMode failed"},
                      Failure{"NoTitlePicture",
                              [](const TestFolder& folder, platform::Harness&) {
                                  std::filesystem::remove(folder.Path() / "ZNTitle.jpg");
                              },
                              "", "Zintrel: Failure loading ZNTitle.jpg: File does not exists"},
                      Failure{"NoLevelFiles", [](const TestFolder&, platform::Harness&) {}, " ",
                              "Zintrel: Aborting; no level files found"},
                      // The list starts at the first name, the damaged pack's.
                      Failure{"ADamagedPackChosen",
                              [](const TestFolder& folder, platform::Harness&) {
                                  folder.Write("Damaged.znk", "not a level pack at all");
                                  folder.Write("Good.znl", "");
                              },
                              " \r", "Zintrel: Level pack Damaged.znk corrupted. Aborting."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
