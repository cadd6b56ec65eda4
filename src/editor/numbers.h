// The numbers a level maker types: each field's name and the range the game plays, and the
// reading of a typed line into them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "levelformat/records.h"

namespace editor {

struct NumberField {
    const char* Name;
    std::int32_t Low;
    std::int32_t High;
};

// A gull's place may lie a screen beyond each edge (its band brings it in, the wrap brings it
// across); a second of its flight at most crosses the screen about once and a half.
inline constexpr NumberField kGullX{"X", -640, 1280};
inline constexpr NumberField kGullY{"Y", -480, 960};
inline constexpr NumberField kGullDX{"DX", -1000, 1000};
inline constexpr NumberField kGullDY{"DY", -1000, 1000};
inline constexpr NumberField kGullFields[] = {
    kGullX, kGullY, kGullDX, kGullDY, {"AGull", 0, 1}, {"MinY", -480, 960}, {"MaxY", -480, 960}};
inline constexpr NumberField kMaxBombs[] = {{"MaxBombs", 0, 10}};
inline constexpr NumberField kBazzleVisits[] = {{"BazzleVisits", 0, 10}};
inline constexpr NumberField kEggCount[] = {{"EggCount", 0, 30}};

// The fields' names separated by commas: "X,Y,DX".
std::string NamesOf(std::span<const NumberField> fields);
// The fields with their ranges, as the prompt names them: "X -640..1280  Y -480..960".
std::string RangesOf(std::span<const NumberField> fields);

// The typed numbers, one per field, separated by commas or spaces; or what is wrong with them,
// naming the field.
struct TypedNumbers {
    std::vector<std::int32_t> Values;
    std::string Problem;  // empty when every value is taken
};
TypedNumbers ReadTyped(const std::string& typed, std::span<const NumberField> fields);

// The gull's seven numbers in record order, separated by commas, as they are typed in.
std::string GullNumbers(const TZNGull& gull);

}  // namespace editor
