// Fuzz target: the level pack reader must answer any bytes with levels or its error.
#include <exception>

#include "fuzz_file.h"
#include "level_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzFile file(data, size, ".znk");
    FuzzLevelSet set;
    try {
        ReadLevelPack(set.View(), file.Name());
    } catch (const std::exception&) {
    }
    return 0;
}
