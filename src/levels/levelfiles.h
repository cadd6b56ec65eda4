// Finding the level packs and level files beside the program.
#pragma once

#include <string>
#include <vector>

// The names matching "*.zn?" in the current directory, in the directory search's order.
std::vector<std::string> FindLevelFiles();
