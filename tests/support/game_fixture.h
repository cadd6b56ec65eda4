// Runs the whole game headless in a folder of its own, driven by scripted steps.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/znform.h"
#include "support/harness.h"
#include "support/test_folder.h"

class GameTest : public ::testing::Test {
  protected:
    // A scripted step: an action, or a wait until a condition holds.
    struct Step {
        template <typename Action>
        Step(Action action) : act(std::move(action)) {}
        std::function<void()> act;
        std::function<bool()> ready;
    };

    void SetUp() override;
    void TearDown() override;

    // Creates level sets by name in the game's folder: a pack is a copy of the shipped pack,
    // a level file holds one level of one gull, shown on the title picture.
    void AddLevelFiles(const std::vector<std::string>& names);
    // Copies a file of the built game folder (the shipped pack, say) into the test's folder.
    void CopyShipped(const std::string& name);
    // Writes a level file whose levels all show the title picture: each entry of `levels` is
    // one level's values "MaxBombs,BazzleVisits,EggCount" followed by its "Gull=" lines.
    void WriteLevels(const std::string& name, const std::vector<std::string>& levels);

    // Creates the form and runs the program until it ends. The actions run one after another,
    // a few passes of the message pump apart, each inside the message step where the window
    // system would deliver input; a step usually checks the state the previous one led to and
    // then queues the next input. A wait holds the next step back until its condition holds.
    // Returns whether the program ended by itself.
    bool Run(const std::vector<Step>& steps);

    // A wait until the condition holds.
    static Step WaitUntil(std::function<bool()> condition);
    // A wait until the level's picture has slid in and frames of play have been shown.
    Step WaitForPlay();
    // A wait until that many more frames have been shown.
    Step WaitFrames(int frames);

    // One press of a control as its device gives it: down at one step, up at the next.
    std::vector<Step> Press(int pad, platform::Harness::PadControl control);
    std::vector<Step> Press(const std::string& key);
    // Adds steps to the end of a list.
    static void Add(std::vector<Step>& steps, const std::vector<Step>& more) {
        steps.insert(steps.end(), more.begin(), more.end());
    }

    // Runs the program from the name entry of a game that scored so much and reached that
    // place of the table: the name typed, Enter, and on the Hall of Fame the window closed.
    bool EnterNameAndClose(std::int32_t rank, std::int32_t score, const std::string& name);

    TKestovForm& Form() { return *form; }

    // The settings file the game reads and writes, in the test's folder, written with the text.
    void UseSettings(const std::string& text);
    std::string SettingsText() { return folder.Read("zintrel.conf"); }

    // The form Run creates: the game's, or one that stands on it.
    virtual std::unique_ptr<TKestovForm> MakeForm() { return std::make_unique<TKestovForm>(); }

    // Runs at every pass of the message pump, before the steps: a test bot's turn.
    std::function<void()> onPass;
    // The passes a run may take after its last step before the harness presses Esc.
    int passesAfterSteps = 2000;

    TestFolder folder;
    platform::Harness harness;
    std::unique_ptr<TKestovForm> form;
};
