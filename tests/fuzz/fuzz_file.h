// A fuzz input written to a file of its own, for the readers that take a file name.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

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
