// Fuzz target: the level pack reader must answer any bytes with levels or its error.
#include <exception>

#include "fuzz_file.h"
#include "support/level_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzFile file(data, size, ".znk");
    LevelFields fields;
    try {
        ReadLevelPack(fields.Set(), file.Name());
    } catch (const std::exception&) {
    }
    return 0;
}
