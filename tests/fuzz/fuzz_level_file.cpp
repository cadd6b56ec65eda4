// Fuzz target: the level file reader must answer any text with levels or its error.
#include <exception>

#include "fuzz_file.h"
#include "support/level_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzFile file(data, size, ".znl");
    LevelFields fields;
    try {
        ReadLevelFile(fields.Set(), file.Name());
    } catch (const std::exception&) {
    }
    return 0;
}
