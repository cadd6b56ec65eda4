// Runs the whole game headless in a folder of its own, driven by scripted steps.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/znform.h"
#include "platform/harness.h"
#include "support/test_folder.h"

class GameTest : public ::testing::Test {
  protected:
    using Step = std::function<void()>;

    void SetUp() override;
    void TearDown() override;

    // Creates level files by name in the game's folder (their contents do not matter until a
    // game reads them).
    void AddLevelFiles(const std::vector<std::string>& names);

    // Creates the form and runs the program until it ends. The steps run one after another,
    // a few passes of the message pump apart, each inside the message step where the window
    // system would deliver input; a step usually checks the state the previous one led to and
    // then queues the next input. Returns whether the program ended by itself.
    bool Run(const std::vector<Step>& steps);

    TKestovForm& Form() { return *form; }

    TestFolder folder;
    platform::Harness harness;
    std::unique_ptr<TKestovForm> form;
};
