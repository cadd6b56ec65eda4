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

bool FileExists(const std::string& name);

// The process's current directory.
std::string CurrentDirectory();

}  // namespace platform
