// What the fuzz targets share: the input written to a file of its own, for the readers that
// take a file name; the kind of level file a target reads; a fault said before the abort.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Built with ZINTREL_FUZZ_PACK, a target reads level packs, else level files.
#ifdef ZINTREL_FUZZ_PACK
constexpr bool kFuzzPack = true;
#else
constexpr bool kFuzzPack = false;
#endif
constexpr const char* kFuzzLevelExtension = kFuzzPack ? ".znk" : ".znl";

[[noreturn]] inline void FuzzFault(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

class FuzzFile {
  public:
    FuzzFile(const std::uint8_t* data, std::size_t size, const char* extension)
        : name_("/tmp/zintrel-fuzz-" + std::to_string(getpid()) + extension) {
        if (std::FILE* file = std::fopen(name_.c_str(), "wb")) {
            std::fwrite(data, 1, size, file);
            std::fclose(file);
        }
    }
    ~FuzzFile() { std::remove(name_.c_str()); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    const std::string& Name() const { return name_; }

  private:
    std::string name_;
};
