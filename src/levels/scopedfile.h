// ScopedFile: a C stream closed on every path out of the reader that opened it.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/api/files.h"

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ScopedFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file for reading its bytes as they are; null when it cannot be opened.
inline ScopedFile OpenForReading(const std::string& fileName) {
    return ScopedFile(std::fopen(platform::ResolveFileName(fileName).c_str(), "rb"));
}
