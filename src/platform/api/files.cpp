// The directory search: wildcard names without regard to case, sorted like the original's.
#include "platform/api/files.h"

#include <strings.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <filesystem>
#include <system_error>

#include "platform/api/gamefolders.h"
#include "platform/session/session.h"

namespace platform {

namespace {

char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Matches(const char* pattern, const char* name) {
    // Iterative wildcard match with one backtrack point for the last "*".
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name != 0) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern != 0 && Fold(*pattern) == Fold(*name))) {
            ++pattern;
            ++name;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') {
        ++pattern;
    }
    return *pattern == 0;
}

bool FoldedLess(const std::string& a, const std::string& b) {
    const auto folded = [](const std::string& s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(), Fold);
        return out;
    };
    const std::string fa = folded(a);
    const std::string fb = folded(b);
    return fa != fb ? fa < fb : a < b;
}

}  // namespace

std::vector<std::string> FindFiles(const std::string& pattern) {
    std::vector<std::string> names;
    for (const std::string& folder : ActiveGameFolders().search) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            if (name.empty() || name[0] == '.' || !entry.is_regular_file(error) ||
                !Matches(pattern.c_str(), name.c_str())) {
                continue;
            }
            const bool listed = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
                return strcasecmp(n.c_str(), name.c_str()) == 0;
            });
            if (!listed) {
                names.push_back(name);
            }
        }
    }
    std::sort(names.begin(), names.end(), FoldedLess);
    return SessionFilesFound(pattern, std::move(names));
}

std::string ResolveFileName(const std::string& name, const std::string& directory) {
    const std::filesystem::path exact = std::filesystem::path(directory) / name;
    std::error_code error;
    if (name.empty() || name.find('/') != std::string::npos ||
        std::filesystem::exists(exact, error)) {
        return exact.string();
    }
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (strcasecmp(entry.path().filename().c_str(), name.c_str()) == 0) {
            return entry.path().string();
        }
    }
    return exact.string();
}

std::string FolderHolding(const std::string& name) {
    const std::vector<std::string>& folders = ActiveGameFolders().search;
    for (const std::string& folder : folders) {
        std::error_code error;
        if (std::filesystem::is_regular_file(ResolveFileName(name, folder), error)) {
            return folder;
        }
    }
    return folders.empty() ? std::string(".") : folders.front();
}

std::string ResolveFileName(const std::string& name) {
    return SessionFileOpened(name, ResolveFileName(name, FolderHolding(name)));
}

std::optional<std::string> WritableFileName(const std::string& name) {
    const std::string& folder = ActiveGameFolders().write;
    if (folder.empty()) {
        return std::nullopt;
    }
    return ResolveFileName(name, folder);
}

bool FileExists(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(ResolveFileName(name, FolderHolding(name)), error);
}

std::string ReplaceFileContents(const std::string& path, const std::string& text) {
    const std::string fresh = path + ".new";
    std::FILE* file = std::fopen(fresh.c_str(), "wb");
    if (file == nullptr) {
        return "cannot write " + fresh + " (" + std::strerror(errno) + ")";
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = ::fsync(fileno(file)) == 0 && written;
    const int savedErrno = errno;
    written = std::fclose(file) == 0 && written;
    std::error_code error;
    if (!written) {
        std::filesystem::remove(fresh, error);
        return "cannot write " + fresh + " (" + std::strerror(savedErrno) + ")";
    }
    std::filesystem::rename(fresh, path, error);
    if (error) {
        const std::string reason = error.message();
        std::filesystem::remove(fresh, error);
        return "cannot replace " + path + " (" + reason + ")";
    }
    return {};
}

}  // namespace platform
