// Fuzz target: the level file reader must answer any text with levels or its error.
#include <exception>

#include "fuzz_file.h"
#include "level_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzFile file(data, size, ".znl");
    FuzzLevelSet set;
    try {
        ReadLevelFile(set.View(), file.Name());
    } catch (const std::exception&) {
    }
    return 0;
}
