// The files that decided a recorded game, noted by a recording and served to its replay.
#include "platform/session/carried_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/api/files.h"
#include "platform/api/forms.h"
#include "platform/api/services.h"
#include "platform/session/record_text.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// The bytes of a file; none when it cannot be read.
std::optional<std::string> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// A level pack's fingerprint: its size and a 64-bit hash of its bytes.
std::string Fingerprint(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(bytes.size()) + " " + text;
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What of a file the game opens decides a recorded game. A pack is too large to carry, and a
// picture only shows: a replay checks that they are there.
enum class FileRole { Carried, Pack, Picture };

FileRole RoleOf(const std::string& name) {
    const std::string lower = LowerCase(name);
    if (EndsWith(lower, ".znk")) {
        return FileRole::Pack;
    }
    for (const char* picture : {".bmp", ".jpg", ".jpeg", ".jpe", ".jfif"}) {
        if (EndsWith(lower, picture)) {
            return FileRole::Picture;
        }
    }
    return FileRole::Carried;
}

// A record's line of the words.
std::string Line(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        line.append(line.empty() ? "" : " ").append(word);
    }
    return line;
}

// A MIDI file of one empty track: what a replay plays for a recorded tune it does not have.
constexpr char kSilentTune[] =
    "MThd\0\0\0\6\0\0\0\1\0\x60"
    "MTrk\0\0\0\4\0\xFF\x2F\0";

}  // namespace

std::optional<std::string> FileNotes::Opened(const std::string& name, const std::string& path) {
    if (!opened_.insert(LowerCase(name)).second) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = FileBytes(path);
    switch (RoleOf(name)) {
        case FileRole::Pack:
            if (bytes) {
                return Line({"pack", Escape(name), Fingerprint(*bytes)});
            }
            break;
        case FileRole::Picture:
            if (bytes) {
                return Line({"needs", Escape(name)});
            }
            break;
        case FileRole::Carried:
            return Line({"carry", Escape(name), Escape(bytes.value_or(""))});
    }
    return std::nullopt;
}

std::string FileNotes::Found(const std::string& pattern, const std::vector<std::string>& names) {
    std::vector<std::string> words{"files", Escape(pattern)};
    for (const std::string& name : names) {
        words.push_back(Escape(name));
    }
    return Line(words);
}

CarriedFiles::~CarriedFiles() {
    std::error_code error;
    if (!folder_.empty()) {
        fs::remove_all(folder_, error);
    }
}

bool CarriedFiles::IsFileLine(const std::string& first) {
    return first == "carry" || first == "pack" || first == "needs" || first == "files";
}

bool CarriedFiles::Read(const std::vector<std::string>& w) {
    std::vector<std::string> plain;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const std::optional<std::string> text = Unescape(w[i]);
        if (!text) {
            return false;
        }
        plain.push_back(*text);
    }
    // Names are of files in a folder, never a path.
    const bool carry = w[0] == "carry";
    for (std::size_t i = 0; i < plain.size() && !(carry && i == 1); ++i) {
        if (plain[i].empty() || plain[i].find('/') != std::string::npos) {
            return false;
        }
    }
    if (carry && (plain.size() == 1 || plain.size() == 2)) {
        carried_.emplace_back(plain[0], plain.size() == 2 ? plain[1] : "");
        return true;
    }
    if (w[0] == "pack" && plain.size() == 3) {
        packs_.emplace_back(plain[0], plain[1] + " " + plain[2]);
        return true;
    }
    if (w[0] == "needs" && plain.size() == 1) {
        pictures_.push_back(plain[0]);
        return true;
    }
    if (w[0] == "files" && !plain.empty()) {
        found_[plain[0]].emplace_back(plain.begin() + 1, plain.end());
        return true;
    }
    return false;
}

void CarriedFiles::Check() const {
    for (const std::string& name : pictures_) {
        if (!FileExists(name)) {
            throw Exception("The recorded game showed the picture " + name +
                            ", which is not in the game's folders.");
        }
    }
    for (const auto& [name, fingerprint] : packs_) {
        const std::string path = ResolveFileName(name, FolderHolding(name));
        const std::optional<std::string> bytes = FileBytes(path);
        if (!FileExists(name) || !bytes) {
            throw Exception("The recorded game played the level pack " + name +
                            ", which is not in the game's folders.");
        }
        if (Fingerprint(*bytes) != fingerprint) {
            throw Exception(path + " is another level pack than the recorded game played (" +
                            "size and fingerprint " + Fingerprint(*bytes) + "; recorded " +
                            fingerprint + ").");
        }
    }
}

void CarriedFiles::Serve(const GameFolders& folders) {
    Check();
    std::vector<std::pair<std::string, std::string>> served = carried_;
    for (const auto& [pattern, searches] : found_) {
        if (pattern != "*.mid" && pattern != "*.rmi") {
            continue;
        }
        for (const std::vector<std::string>& names : searches) {
            for (const std::string& name : names) {
                if (!FileExists(name)) {
                    served.emplace_back(name, std::string(kSilentTune, sizeof kSilentTune - 1));
                }
            }
        }
    }
    if (served.empty()) {
        return;
    }
    std::error_code error;
    std::string folder = (fs::temp_directory_path(error) / "zintrel-replay-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        throw Exception("Cannot make a folder for the record's files: " +
                        std::string(std::strerror(errno)));
    }
    folder_ = folder;
    for (const auto& [name, bytes] : served) {
        std::ofstream file(fs::path(folder) / name, std::ios::binary | std::ios::trunc);
        file << bytes;
        if (!file) {
            throw Exception("Cannot write the record's file " + name + " to " + folder + ".");
        }
    }
    GameFolders searched = folders;
    searched.search.insert(searched.search.begin(), folder);
    UseGameFolders(searched);
}

std::vector<std::string> CarriedFiles::Found(const std::string& pattern,
                                             std::vector<std::string> live) {
    const auto found = found_.find(pattern);
    if (found == found_.end() || found->second.empty()) {
        return live;
    }
    std::vector<std::string> names = std::move(found->second.front());
    found->second.pop_front();
    return names;
}

}  // namespace platform
