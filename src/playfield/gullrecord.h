// TZNGull: one gull as a level declares it, the record a gull sprite is built from.
#pragma once

#include <cstdint>

// One gull of a level, in the order of a "Gull=" line and of a pack's 28-byte gull record.
struct TZNGull {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t DX = 0;  // negative flies leftwards
    std::int32_t DY = 0;
    std::int32_t AGull = 0;  // non-zero: a gull of the second kind
    std::int32_t MinY = 0;
    std::int32_t MaxY = 0;  // not above MinY: level flight

    bool operator==(const TZNGull&) const = default;
};
