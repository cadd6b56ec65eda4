// Fuzz target: any score file fills the Hall of Fame with names it can write back.
#include "fuzz_file.h"
#include "game/halloffame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzFile file(data, size, ".hof");
    THallOfFame table;
    SetDefaultHallOfFame(table);
    ReadHallOfFameFile(file.Name(), table);
    for (const THighScore& entry : table) {
        if (entry.Name.size() > 255) {
            FuzzFault("a name longer than can be written back");
        }
    }
    return 0;
}
