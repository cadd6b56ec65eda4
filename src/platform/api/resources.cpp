// The executable's resource table and the Win32-style lookups over it.
#include "platform/api/resources.h"

#include <strings.h>

#include <string>

namespace {

std::span<const platform::ResourceEntry> g_table;

bool SameName(std::string_view a, const char* b) {
    const std::string owned(a);
    return b != nullptr && strcasecmp(owned.c_str(), b) == 0;
}

}  // namespace

void platform::SetModuleResources(std::span<const ResourceEntry> table) {
    g_table = table;
}

HRSRC FindResourceA(HMODULE, const char* name, const char* type) {
    for (const auto& entry : g_table) {
        if (SameName(entry.name, name) && SameName(entry.type, type)) {
            return &entry;
        }
    }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    return resource;
}

const void* LockResource(HGLOBAL loaded) {
    return loaded != nullptr ? loaded->bytes.data() : nullptr;
}

std::uint32_t SizeofResource(HMODULE, HRSRC resource) {
    return resource != nullptr ? static_cast<std::uint32_t>(resource->bytes.size()) : 0;
}
