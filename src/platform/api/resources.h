// The executable's resources: named, typed blobs baked in at build time, found like Win32
// resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

struct ResourceEntry {
    std::string_view name;  // "BmpGulls", "BallBounce", ...
    std::string_view type;  // "BITMAP" (a whole .bmp file) or "WAV" (a whole RIFF file)
    std::span<const std::uint8_t> bytes;
};

// Installs the table that FindResourceA searches. The program installs the baked table at start;
// tests install their own. The table must outlive every lookup.
void SetModuleResources(std::span<const ResourceEntry> table);

}  // namespace platform

using HMODULE = void*;
using HRSRC = const platform::ResourceEntry*;
using HGLOBAL = const platform::ResourceEntry*;

// Resource types, as the game passes them.
inline constexpr const char* RT_BITMAP = "BITMAP";

// Name and type compare without regard to case, as on the original platform. Null when absent.
HRSRC FindResourceA(HMODULE module, const char* name, const char* type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL loaded);
std::uint32_t SizeofResource(HMODULE module, HRSRC resource);
