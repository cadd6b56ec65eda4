// Level design: each level is a few rows of gulls, with its bomb, Bazzle and egg allowances.
#include "levels.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "levelformat/files.h"
#include "levelformat/leveltext.h"
#include "scenes.h"

namespace bake {
namespace {

// A row of gulls spread evenly across the wrap-around width, flying the same way.
struct Row {
    int count;
    int y;
    int dx;     // pixels per second; the sign is the direction
    int tough;  // how many of the row are gulls of the second kind, spread along it
    int band;   // half-height of the up-and-down band; 0 flies level
    int dy;
};

struct Design {
    int bombs, bazzles, eggs;
    std::vector<Row> rows;
};

TZNLevelWrapper Build(const Design& d, const std::string& picture) {
    TZNLevelWrapper level;
    level.MaxBombs = d.bombs;
    level.BazzleVisits = d.bazzles;
    level.EggCount = d.eggs;
    level.PictureName = picture;
    int rowIndex = 0;
    for (const Row& row : d.rows) {
        const int spacing = 704 / row.count;
        for (int k = 0; k < row.count; ++k) {
            TZNGull g;
            g.X = -64 + k * spacing + (rowIndex * 37) % spacing;
            g.Y = row.y;
            g.DX = row.dx;
            g.DY = (k % 2 == 0) ? row.dy : -row.dy;
            // Tough gulls spread along the row: every (count / tough)-th one.
            g.AGull = row.tough > 0 && k % std::max(1, row.count / row.tough) == 0 &&
                              k / std::max(1, row.count / row.tough) < row.tough
                          ? 1
                          : 0;
            g.MinY = row.band > 0 ? row.y - row.band : 0;
            g.MaxY = row.band > 0 ? row.y + row.band : 0;
            level.GullRecords.Add(g);
        }
        ++rowIndex;
    }
    level.GullCount = level.GullRecords.Count;
    return level;
}

TZNLevelList BuildAll(const std::vector<Design>& designs, std::size_t first) {
    TZNLevelList levels;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        levels.Add(Build(designs[i], LevelScenes()[first + i].file));
    }
    return levels;
}

void WriteLevelFile(const std::filesystem::path& path, const TZNLevelList& levels) {
    if (!levelformat::WriteFileText(path, levelformat::WriteLevelText(levels))) {
        throw std::runtime_error("Unable to write level file " + path.string());
    }
}

}  // namespace

TZNLevelList PackLevels() {
    // {bombs, bazzles, eggs, {{count, y, dx, tough, band, dy}, ...}}
    static const std::vector<Design> designs = {
        {1, 2, 3, {{4, 90, -70, 0, 0, 0}}},                         // 1 first flight
        {1, 2, 3, {{3, 70, -80, 0, 0, 0}, {3, 150, 80, 0, 0, 0}}},  // 2 both ways
        {1, 2, 4, {{6, 110, -85, 0, 30, 40}}},                      // 3 bobbing
        {1, 3, 4, {{5, 60, 90, 0, 0, 0}, {1, 160, -70, 1, 0, 0}}},  // 4 the first helmet
        {2, 3, 4, {{3, 50, -90, 0, 0, 0}, {3, 120, 100, 0, 0, 0}, {3, 190, -80, 0, 0, 0}}},
        {2, 3, 4, {{6, 90, -100, 2, 0, 0}, {3, 180, 90, 0, 0, 0}}},    // 6 helmets in line
        {2, 3, 5, {{8, 130, 110, 0, 50, 60}}},                         // 7 the swell
        {2, 3, 4, {{5, 70, -120, 1, 0, 0}, {5, 170, 120, 1, 0, 0}}},   // 8 crossfire
        {2, 3, 5, {{4, 110, -90, 4, 0, 0}, {4, 40, 110, 0, 0, 0}}},    // 9 steel wing
        {2, 4, 6, {{5, 60, -70, 0, 0, 0}, {5, 140, 70, 0, 20, 30}}},   // 10 a breather
        {3, 3, 5, {{6, 80, -110, 0, 50, 70}, {4, 200, 80, 4, 0, 0}}},  // 11 high and low
        {3, 3, 5, {{4, 40, 130, 1, 0, 0}, {4, 110, -130, 1, 0, 0}, {3, 180, 100, 1, 0, 0}}},
        {3, 3, 5, {{12, 120, -100, 3, 70, 50}}},                       // 13 the flock
        {3, 4, 6, {{6, 60, 140, 2, 0, 0}, {6, 170, -90, 2, 40, 60}}},  // 14 fast lane
        {3, 3, 5, {{4, 30, -80, 4, 0, 0}, {4, 100, 120, 0, 0, 0}, {4, 170, -120, 0, 0, 0}}},
        {3, 4, 6, {{7, 90, 120, 3, 60, 80}, {6, 200, -100, 0, 30, 40}}},  // 16 the storm
        {4, 3, 5, {{7, 50, -150, 2, 0, 0}, {7, 150, 150, 2, 0, 0}}},      // 17 jet stream
        {4, 4, 6, {{5, 40, 90, 5, 0, 0}, {5, 120, -110, 0, 40, 60}, {4, 210, 90, 1, 0, 0}}},
        {4, 4, 6, {{15, 130, -120, 5, 90, 70}}},                          // 19 the great flock
        {4, 4, 7, {{8, 60, 130, 4, 30, 50}, {8, 180, -130, 2, 40, 60}}},  // 20 two flocks
        {4, 4, 6, {{6, 30, -160, 2, 0, 0}, {5, 110, 140, 3, 50, 90}, {5, 200, -100, 2, 0, 0}}},
        {5, 4, 7, {{9, 80, 150, 5, 50, 80}, {8, 190, -120, 3, 40, 70}}},  // 22 gale
        {5, 4, 7, {{6, 40, -170, 3, 0, 0}, {6, 120, 170, 3, 0, 0}, {6, 200, -140, 3, 30, 60}}},
        {5, 5, 7, {{10, 70, -140, 6, 40, 90}, {8, 180, 150, 4, 60, 100}}},  // 24 hurricane
        {5, 5, 8, {{7, 40, 170, 5, 0, 0}, {7, 120, -160, 5, 50, 90}, {6, 200, 140, 4, 40, 80}}},
    };
    return BuildAll(designs, 0);
}

TZNLevelList FileLevels() {
    static const std::vector<Design> designs = {
        {1, 2, 3, {{3, 100, 60, 0, 0, 0}}},                             // 1 harbour mouth
        {1, 2, 3, {{5, 80, -80, 0, 0, 0}}},                             // 2 along the quay
        {1, 3, 4, {{3, 60, 90, 0, 0, 0}, {3, 160, -90, 0, 30, 40}}},    // 3 masts and rigging
        {2, 3, 4, {{6, 120, -100, 1, 40, 50}}},                         // 4 a helmet in the flock
        {2, 3, 4, {{4, 50, 110, 1, 0, 0}, {4, 150, -110, 1, 0, 0}}},    // 5 crossing lanes
        {2, 3, 5, {{9, 110, 100, 2, 60, 60}}},                          // 6 swell at the pier
        {2, 3, 5, {{5, 40, -130, 2, 0, 0}, {5, 180, 100, 1, 40, 50}}},  // 7 evening traffic
        {3, 3, 5, {{6, 70, 120, 3, 40, 70}, {5, 190, -120, 1, 0, 0}}},  // 8 the dusk patrol
        {3, 4, 6, {{4, 40, -100, 4, 0, 0}, {4, 120, 140, 0, 0, 0}, {4, 200, -140, 2, 30, 50}}},
        {3, 4, 6, {{8, 80, -140, 4, 50, 80}, {6, 190, 130, 3, 40, 60}}},  // 10 dawn raid
    };
    return BuildAll(designs, kPackScenes);
}

void WriteLevelFiles(const std::filesystem::path& packFolder,
                     const std::filesystem::path& gameFolder) {
    WriteLevelFile(packFolder / kPackLevelFile, PackLevels());
    WriteLevelFile(gameFolder / kLevelFile, FileLevels());
}

}  // namespace bake
