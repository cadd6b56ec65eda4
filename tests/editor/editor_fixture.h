// Runs the level editor headless on a file of the test's folder, driven by the pointer and keys.
#pragma once

#include <string>
#include <vector>

#include "editor/editorform.h"
#include "levelformat/records.h"
#include "support/screen_fixture.h"

class EditorTest : public ScreenTest {
  protected:
    std::unique_ptr<TKestovForm> MakeForm() override {
        return std::make_unique<TLevelEditor>(fileName);
    }
    TLevelEditor& Editor() { return static_cast<TLevelEditor&>(Form()); }
    const std::vector<TZNGull>& Gulls() {
        return Editor().EditedLevels()[Editor().LevelIndex()].Gulls;
    }

    // The steps of a level maker's hand: the pointer to a pixel of the screen, a click there,
    // a drag from one point to another.
    void PointAt(std::vector<Step>& steps, int x, int y);
    void ClickAt(std::vector<Step>& steps, int x, int y);
    void Drag(std::vector<Step>& steps, POINT from, POINT to);
    // Characters typed one step apart; Ctrl+S and Ctrl+Z as the keyboard types them.
    void Type(std::vector<Step>& steps, const std::string& text);
    static constexpr char kSave = 19;
    static constexpr char kUndo = 26;
    static constexpr char kRedo = 25;

    // A copy of a file of the game's folder in the test's folder.
    void CopyShipped(const std::string& name) const;
    static std::string Shipped(const std::string& name);
    // The levels of a level file of the test's folder, as the game reads them.
    TZNLevelList ReadBack(const std::string& name) const;

    std::string fileName = "new.znl";
};

// A level record as the game's reader gives it.
TZNLevelWrapper MakeLevel(std::int32_t maxBombs, std::int32_t bazzleVisits, std::int32_t eggCount,
                          const std::string& picture, const std::vector<TZNGull>& gulls);
