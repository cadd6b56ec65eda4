// The resource table over the baked files that the generated assembly embeds with .incbin.
#include "assets/baked_resources.h"

#include <cstdint>

#define ZINTREL_RESOURCE(name, type)                   \
    extern "C" const std::uint8_t zr_##name##_begin[]; \
    extern "C" const std::uint8_t zr_##name##_end[];
#include "baked_list.inc"
#undef ZINTREL_RESOURCE

std::span<const platform::ResourceEntry> BakedResources() {
#define ZINTREL_RESOURCE(name, type) {#name, type, {zr_##name##_begin, zr_##name##_end}},
    static const platform::ResourceEntry table[] = {
#include "baked_list.inc"
    };
#undef ZINTREL_RESOURCE
    return table;
}
