// Files of the game's folders: the wildcard search, opening by name and the file to write.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/api/wintypes.h"

namespace platform {

// Names of the regular, visible files in the game's folders matching the pattern ("*" any
// run, "?" one character, compared without regard to case), sorted by name without regard to
// case, as the original file system kept them. A name held by several folders is listed once,
// as the first folder spells it. A replay finds what the recorded game found.
std::vector<std::string> FindFiles(const std::string& pattern);

// The path to open for a file name in a directory: the entry of exactly that name, or else the
// one whose name matches without regard to case, as the original file system would have opened.
std::string ResolveFileName(const std::string& name, const std::string& directory);

// The first of the game's folders that holds a regular file of that name, in any letter case;
// the first folder when none does.
std::string FolderHolding(const std::string& name);

// The path to open for a file name of the game, in the folder that holds it. A recording notes
// the file as one that decided its game.
std::string ResolveFileName(const std::string& name);

// The path to write a file name of the game to, in the folder the game writes in (an entry
// named in another letter case is replaced); none when nothing may be written.
std::optional<std::string> WritableFileName(const std::string& name);

// Whether a regular file of that name, in any letter case, is in the game's folders.
bool FileExists(const std::string& name);

// Writes the text to the file whole or not at all: into a new file beside it (its name with
// ".new" added), flushed to the disk, which then takes the file's place. Returns what went
// wrong, in a few words with the file's name and the system's reason, or an empty text.
std::string ReplaceFileContents(const std::string& path, const std::string& text);

}  // namespace platform
