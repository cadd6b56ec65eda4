// Fuzz target: the level file reader (built with ZINTREL_FUZZ_PACK, the level pack reader)
// answers any bytes with levels or its error.
#include <exception>

#include "fuzz_file.h"
#include "support/level_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelFields fields;
    try {
        (kFuzzPack ? ReadLevelPack : ReadLevelFile)(
            fields.Set(), FuzzFile(data, size, kFuzzLevelExtension).Name());
    } catch (const std::exception&) {
    }
    return 0;
}
