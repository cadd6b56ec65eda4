// The form's scoring: points, the place reached in the Hall of Fame, and new entries.
#include "game/znform.h"

void TKestovForm::ReadHallOfFame() {
    ReadHallOfFameFile(kScoreFileName, HallOfFame);
}

void TKestovForm::WriteHallOfFame() {
    WriteHallOfFameFile(kScoreFileName, HallOfFame);
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
