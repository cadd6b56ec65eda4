// The editor's fixture: the pointer at twice the size, as the harness's window is.
#include "editor_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "levelformat/leveltext.h"

void EditorTest::PointAt(std::vector<Step>& steps, int x, int y) {
    steps.push_back([this, x, y] {
        // The screen fills the largest 4:3 rectangle of the window, centred.
        const platform::DesktopRect window = harness.WindowPlace();
        int width = window.width;
        int height = width * 480 / 640;
        if (height > window.height) {
            height = window.height;
            width = height * 640 / 480;
        }
        const int left = (window.width - width) / 2;
        const int top = (window.height - height) / 2;
        // The middle of the window's pixels that show the screen's pixel.
        harness.PointAt(left + (2 * x + 1) * width / 1280, top + (2 * y + 1) * height / 960);
    });
}

void EditorTest::ClickAt(std::vector<Step>& steps, int x, int y) {
    PointAt(steps, x, y);
    steps.push_back([this] { harness.Click(); });
}

void EditorTest::Drag(std::vector<Step>& steps, POINT from, POINT to) {
    PointAt(steps, from.x, from.y);
    steps.push_back([this] { harness.Press(); });
    PointAt(steps, to.x, to.y);
    steps.push_back([this] { harness.Release(); });
}

void EditorTest::Type(std::vector<Step>& steps, const std::string& text) {
    for (const char c : text) {
        steps.push_back([this, c] { harness.Char(c); });
    }
}

std::string EditorTest::Shipped(const std::string& name) {
    std::ifstream file(std::filesystem::path(ZINTREL_GAME_DIR) / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void EditorTest::CopyShipped(const std::string& name) const {
    folder.Write(name, Shipped(name));
}

TZNLevelList EditorTest::ReadBack(const std::string& name) const {
    const auto read = levelformat::ReadLevelText(folder.Read(name), name);
    EXPECT_TRUE(read.Ok()) << read.Error;
    return read.Value;
}

TZNLevelWrapper MakeLevel(std::int32_t maxBombs, std::int32_t bazzleVisits, std::int32_t eggCount,
                          const std::string& picture, const std::vector<TZNGull>& gulls) {
    TZNLevelWrapper level;
    level.MaxBombs = maxBombs;
    level.BazzleVisits = bazzleVisits;
    level.EggCount = eggCount;
    level.GullCount = static_cast<std::int32_t>(gulls.size());
    level.PictureName = picture;
    for (const TZNGull& gull : gulls) {
        level.GullRecords.Add(gull);
    }
    return level;
}
