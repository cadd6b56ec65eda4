// The Hall of Fame table: its defaults and the score file.
#include "game/halloffame.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <vector>

#include "platform/api/files.h"

namespace {

constexpr std::size_t kMaxNameLength = 255;
// The most a file of 24 lines as the game writes them holds: each the longest score
// ("-2147483648"), a space, the longest name and CR LF. Nothing past it is read.
constexpr std::size_t kMaxFileBytes = kHallOfFameSize * (11 + 1 + kMaxNameLength + 2);

bool IsBlank(unsigned char c) {
    return c <= 32;
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

std::string Trimmed(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(static_cast<unsigned char>(text[first]))) {
        ++first;
    }
    while (last > first && IsBlank(static_cast<unsigned char>(text[last - 1]))) {
        --last;
    }
    return text.substr(first, last - first);
}

// Reads the file's lines the way the C library's "%d" and a bounded line read would: the number
// after any white space (line ends included), then the rest of the line, at most 255
// characters, line end included.
class ScoreReader {
  public:
    explicit ScoreReader(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

    bool AtEnd() const { return position_ >= bytes_.size(); }

    void SkipBlanks() {
        while (!AtEnd() && std::isspace(static_cast<unsigned char>(bytes_[position_])) != 0) {
            ++position_;
        }
    }

    // The decimal number here, clamped to the 32-bit range; false when none starts here.
    bool Number(std::int32_t& value) {
        std::size_t at = position_;
        bool negative = false;
        if (at < bytes_.size() && (bytes_[at] == '-' || bytes_[at] == '+')) {
            negative = bytes_[at] == '-';
            ++at;
        }
        if (at >= bytes_.size() || !IsDigit(static_cast<unsigned char>(bytes_[at]))) {
            return false;
        }
        std::int64_t magnitude = 0;
        constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        while (at < bytes_.size() && IsDigit(static_cast<unsigned char>(bytes_[at]))) {
            magnitude = std::min(kLimit, magnitude * 10 + (bytes_[at] - '0'));
            ++at;
        }
        const std::int64_t signedValue = negative ? -magnitude : magnitude;
        value = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(signedValue, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
        position_ = at;
        return true;
    }

    std::string RestOfLine() {
        std::string line;
        while (!AtEnd() && line.size() < kMaxNameLength) {
            const char c = bytes_[position_++];
            line.push_back(c);
            if (c == '\n') {
                break;
            }
        }
        return line;
    }

  private:
    std::vector<char> bytes_;
    std::size_t position_ = 0;
};

// The file's first bytes, up to kMaxFileBytes; none when it is not a regular file or cannot be
// read. It is opened without waiting, so that a pipe of that name cannot hold the game up.
std::vector<char> ScoreFileBytes(const std::string& fileName) {
    const int file = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        return {};
    }
    std::vector<char> bytes;
    struct stat info {};
    if (::fstat(file, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.resize(kMaxFileBytes);
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const ssize_t got = ::read(file, bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                filled = 0;
            }
            if (got <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        bytes.resize(filled);
    }
    ::close(file);
    return bytes;
}

}  // namespace

void SetDefaultHallOfFame(THallOfFame& table) {
    for (int i = 0; i < kHallOfFameSize; ++i) {
        table[i].Score = (kHallOfFameSize - i) * 200;
        table[i].Name = "Nobody yet!";
    }
}

void ReadHallOfFameFile(const std::string& fileName, THallOfFame& table) {
    ScoreReader reader{ScoreFileBytes(fileName)};
    for (int i = 0; i < kHallOfFameSize && !reader.AtEnd(); ++i) {
        reader.SkipBlanks();
        if (reader.AtEnd()) {
            break;
        }
        std::int32_t score = 0;
        if (reader.Number(score)) {
            table[i].Score = score;
        }
        table[i].Name = Trimmed(reader.RestOfLine());
    }
}

std::string WriteHallOfFameFile(const std::string& fileName, const THallOfFame& table) {
    std::string text;
    for (const THighScore& entry : table) {
        text += std::to_string(entry.Score) + ' ' + entry.Name + "\r\n";
    }
    return platform::ReplaceFileContents(fileName, text);
}
