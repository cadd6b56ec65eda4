// Whole files in and out: level files and packs for the programs that read and write them on
// disk, and the pictures and tunes the game reads.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "levelformat/levelpack.h"

namespace levelformat {

// The file's bytes as they are; nothing when it cannot be opened or read. Throws std::bad_alloc
// when it does not fit in memory.
std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path);
std::optional<std::string> ReadFileText(const std::filesystem::path& path);

// Replaces the file's contents with the bytes; false when they cannot all be written.
bool WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
bool WriteFileText(const std::filesystem::path& path, std::string_view text);

}  // namespace levelformat
