// The game record's level set: the readers' view of its fields, the reader chosen when a game
// begins, and a pack's picture at a level start.
#include "game/znform.h"

TZNLevelSet TKestovForm::LevelSet() {
    return {Levels,       PackPictures, FirstPictureOffset, PictureCount,
            PictureMagic, PackName,     PackLoaded};
}

void TKestovForm::ReadChosenLevels() {
    const bool listed = PackIndex >= 0 && static_cast<std::size_t>(PackIndex) < PackFiles->size();
    ReadLevelSet(LevelSet(), listed ? (*PackFiles)[static_cast<std::size_t>(PackIndex)] : "");
}

void TKestovForm::LoadPackPicture(std::int32_t index) {
    ::LoadPackPicture(LevelSet(), *Background, DirectDraw, index);
}
