// Fuzz target: the level file reader (built with ZINTREL_FUZZ_PACK, the level pack reader)
// answers any bytes with levels or its error.
#include <exception>

#include "fuzz_file.h"
#include "support/level_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelFields fields;
    try {
#ifdef ZINTREL_FUZZ_PACK
        ReadLevelPack(fields.Set(), FuzzFile(data, size, ".znk").Name());
#else
        ReadLevelFile(fields.Set(), FuzzFile(data, size, ".znl").Name());
#endif
    } catch (const std::exception&) {
    }
    return 0;
}
