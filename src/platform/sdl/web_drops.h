// Files a player drops on the page (or chooses with its file button): level files, level packs
// and pictures, each checked by the level format's readers before the game's folder keeps it.
// Internal to the platform layer.
#pragma once

namespace platform {

// Takes the files the page has put down since the last call: keeps those the readers accept
// in the folder the game writes in, and gives the page each one's answer.
void TakeDroppedFiles();

}  // namespace platform
