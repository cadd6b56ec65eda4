// Files of the current directory: the wildcard search and existence tests.
#pragma once

#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace platform {

// Names of the regular, visible files in the current directory matching the pattern ("*" any
// run, "?" one character, compared without regard to case), sorted by name without regard to
// case, as the original file system kept them.
std::vector<std::string> FindFiles(const std::string& pattern);

// The path to open for a file name in a directory: the entry of exactly that name, or else the
// one whose name matches without regard to case, as the original file system would have opened.
std::string ResolveFileName(const std::string& name, const std::string& directory = ".");

// Whether a regular file of that name, in any letter case, is in the current directory.
bool FileExists(const std::string& name);

// The process's current directory.
std::string CurrentDirectory();

}  // namespace platform
