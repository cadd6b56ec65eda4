// Dropped files: the page writes each into a folder of its own and names it in a queue; here the
// level format's readers judge it, and the game's folder keeps it when they accept it. A file
// the readers refuse is answered with their message and not kept.
#include "platform/sdl/web_drops.h"

#include <emscripten.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>

#include "levelformat/files.h"
#include "levelformat/levelpack.h"
#include "levelformat/leveltext.h"
#include "platform/api/files.h"
#include "platform/api/gamefolders.h"
#include "platform/api/services.h"

namespace platform {

namespace {

constexpr const char* kDropFolder = "/tmp/drops";
// The largest file taken: far beyond any level pack.
constexpr std::size_t kLargestFile = 64 << 20;

// Copies the next file's name into `into`; 0 when the queue is empty.
EM_JS(int, zintrel_next_drop, (char* into, int size), {
    var queue = Module["zintrelDropped"];
    if (!queue || queue.length == 0) {
        return 0;
    }
    stringToUTF8(queue.shift(), into, size);
    return 1;
});

// The answer for a file: an empty problem when it was kept.
EM_JS(void, zintrel_drop_answered, (const char* name, const char* problem, int inPlay),
      { Module["zintrelDropAnswered"](UTF8ToString(name), UTF8ToString(problem), inPlay != 0); });

std::string Extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// What the readers say of the file; empty when they accept it.
std::string Judge(const std::string& name, const levelformat::Bytes& bytes) {
    const std::string extension = Extension(name);
    if (extension == "znk") {
        return levelformat::ReadPack(bytes, name).Error;
    }
    if (extension.size() == 3 && extension.compare(0, 2, "zn") == 0) {
        const std::string text(bytes.begin(), bytes.end());
        return levelformat::ReadLevelText(text, name).Error;
    }
    if (extension == "jpg" || extension == "jpeg") {
        const bool jpeg = bytes.size() > 3 && bytes[0] == 0xFF && bytes[1] == 0xD8;
        return jpeg ? "" : name + " is not a JPEG picture";
    }
    return name + " is not a level file (.zn?), a level pack (.znk) or a JPEG picture";
}

std::string Take(const std::string& name) {
    const std::string staged = std::string(kDropFolder) + "/" + name;
    std::optional<levelformat::Bytes> bytes;
    try {
        bytes = levelformat::ReadFileBytes(staged);
    } catch (const std::bad_alloc&) {
    }
    std::remove(staged.c_str());
    if (!bytes || bytes->size() > kLargestFile) {
        return name + " cannot be read, or is larger than any level pack";
    }
    if (std::string problem = Judge(name, *bytes); !problem.empty()) {
        return problem;
    }
    const std::optional<std::string> path = WritableFileName(name);
    if (!path) {
        return name + " cannot be kept: " + ActiveGameFolders().problem;
    }
    return ReplaceFileContents(*path, std::string(bytes->begin(), bytes->end()));
}

}  // namespace

void TakeDroppedFiles() {
    char name[256];
    while (zintrel_next_drop(name, sizeof name) != 0) {
        const std::string problem = Take(name);
        zintrel_drop_answered(name, problem.c_str(), System().gameInPlay ? 1 : 0);
    }
}

}  // namespace platform
