// znpack: builds a level pack from a level file and its pictures, and unpacks one again.
#include <cstdio>
#include <cstring>
#include <exception>

#include "level_pack.h"

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  znpack pack <level file> <pack file>\n"
    "      Builds a level pack (.znk) from a level file and the JPEG pictures its\n"
    "      \"Level=\" lines name; the pictures are looked up beside the level file.\n"
    "  znpack unpack <pack file> <level file>\n"
    "      Writes the pack's levels as a level file and its pictures beside it,\n"
    "      named after the level file: <name>01.jpg, <name>02.jpg, ...\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool pack = argc == 4 && std::strcmp(argv[1], "pack") == 0;
    const bool unpack = argc == 4 && std::strcmp(argv[1], "unpack") == 0;
    if (!pack && !unpack) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (pack) {
            znpack::PackLevelFile(argv[2], argv[3]);
        } else {
            znpack::UnpackToLevelFile(argv[2], argv[3]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "znpack: %s\n", error.what());
        return 1;
    }
    return 0;
}
