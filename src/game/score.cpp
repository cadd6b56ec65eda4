// The form's scoring: points, the place reached in the Hall of Fame, and new entries.
#include "game/znform.h"

#include <cstdio>
#include <optional>
#include <string>

#include "platform/api/files.h"

void TKestovForm::ReadHallOfFame() {
    ReadHallOfFameFile(platform::ResolveFileName(kScoreFileName), HallOfFame);
}

// Written in the folder the game writes in; where none may be written (the reason was told at
// start) the table is not kept. A table that cannot be written is named with the reason.
void TKestovForm::WriteHallOfFame() {
    if (const std::optional<std::string> path = platform::WritableFileName(kScoreFileName)) {
        const std::string problem = WriteHallOfFameFile(*path, HallOfFame);
        if (!problem.empty()) {
            std::fprintf(stderr, "zintrel: the Hall of Fame is not kept: %s\n", problem.c_str());
        }
    }
}

void TKestovForm::AddScore(std::int32_t points) {
    Score += points;
    if (CheatMode) {
        return;
    }
    while (HofRank >= 1 && HallOfFame[HofRank - 1].Score < Score) {
        Fanfare->Play();
        --HofRank;
    }
}

void TKestovForm::InsertHighScore(const std::string& name) {
    // A score that reached no place has nowhere to go.
    if (HofRank < 0 || HofRank >= kHallOfFameSize) {
        return;
    }
    for (int j = kHallOfFameSize - 1; j > HofRank; --j) {
        HallOfFame[j] = HallOfFame[j - 1];
    }
    HallOfFame[HofRank] = THighScore{Score, name};
    HofChanged = true;
}
