// ReadLevelFile: the text level file, read line by line and split by the C library's rules.
#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

#include "levels/levelset.h"
#include "levels/scopedfile.h"
#include "platform/forms.h"

namespace {

constexpr std::string_view kHeaderLine = "Zintrel Level File Version 1.0\n";
constexpr std::size_t kMaxLine = 1023;

// Reads up to kMaxLine characters, through the first line feed. A carriage return before a line
// feed is dropped first, as a text-mode read does, so both line ends read alike. False when
// nothing could be read.
bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    while (line.size() < kMaxLine) {
        int c = std::getc(file);
        if (c == EOF) {
            break;
        }
        if (c == '\r') {
            const int next = std::getc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        line.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    return !line.empty();
}

// Splits a text at commas the way strtok does: commas at the start and runs of commas separate
// once, so an empty piece never exists.
class CommaPieces {
  public:
    explicit CommaPieces(std::string_view text) : text_(text) {}

    // The next piece; false when only commas are left.
    bool Next(std::string_view& piece) {
        const std::size_t start = text_.find_first_not_of(',', position_);
        if (start == std::string_view::npos) {
            position_ = text_.size();
            return false;
        }
        const std::size_t end = std::min(text_.find(',', start), text_.size());
        piece = text_.substr(start, end - start);
        position_ = std::min(end + 1, text_.size());
        return true;
    }

    // The text after the comma that ended the last piece; empty when that piece ran to the end.
    std::string_view Rest() const { return text_.substr(position_); }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Reads an integer as atoi does: white space, one optional sign, then decimal digits up to the
// first other character; a piece without digits is 0. Values are not range-checked: they wrap
// at 32 bits.
std::int32_t ReadInteger(std::string_view piece) {
    std::size_t i = 0;
    while (i < piece.size() && std::isspace(static_cast<unsigned char>(piece[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
        negative = piece[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < piece.size() && std::isdigit(static_cast<unsigned char>(piece[i])); ++i) {
        value = value * 10 + static_cast<std::uint32_t>(piece[i] - '0');
    }
    return static_cast<std::int32_t>(negative ? 0 - value : value);
}

// The text after "Level=": four integers, then the picture name up to the line feed, without
// any directory before the last backslash or colon. Fields the line does not reach keep the
// record's initial values.
TZNLevelWrapper ReadLevelLine(std::string_view text) {
    TZNLevelWrapper level;
    CommaPieces pieces(text);
    for (std::int32_t* field :
         {&level.MaxBombs, &level.BazzleVisits, &level.EggCount, &level.GullCount}) {
        std::string_view piece;
        if (!pieces.Next(piece)) {
            return level;
        }
        *field = ReadInteger(piece);
    }
    std::string_view name = pieces.Rest();
    if (!name.empty() && name.back() == '\n') {
        name.remove_suffix(1);
    }
    const std::size_t directory = name.find_last_of("\\:");
    if (directory != std::string_view::npos) {
        name.remove_prefix(directory + 1);
    }
    level.PictureName = name;
    return level;
}

// The text after "Gull=": up to seven integers into the reader's gull record, which keeps what
// earlier lines gave to the fields this line does not reach. The height also opens the band,
// before the band's own pieces are read.
void ReadGullLine(std::string_view text, TZNGull& gull) {
    std::int32_t* const fields[] = {&gull.X,     &gull.Y,    &gull.DX,  &gull.DY,
                                    &gull.AGull, &gull.MinY, &gull.MaxY};
    CommaPieces pieces(text);
    std::string_view piece;
    for (std::size_t k = 0; k < std::size(fields) && pieces.Next(piece); ++k) {
        *fields[k] = ReadInteger(piece);
        if (k == 1) {
            gull.MinY = gull.Y;
            gull.MaxY = gull.Y;
        }
    }
}

}  // namespace

void ReadLevelFile(const TZNLevelSet& set, const std::string& fileName) {
    const ScopedFile file = OpenForReading(fileName);
    if (!file) {
        throw Exception("Unable to open level file");
    }
    set.Levels.Clear();
    std::string line;
    if (!ReadLine(file.get(), line) || line != kHeaderLine) {
        throw Exception(fileName + " is not a valid Zintrel Level File");
    }
    TZNGull gull;
    std::int32_t level = -1;
    while (ReadLine(file.get(), line)) {
        const std::string_view text = line;
        if (text.starts_with("Level=")) {
            set.Levels.Add(ReadLevelLine(text.substr(6)));
            ++level;
        } else if (level != -1 && text.starts_with("Gull=")) {
            ReadGullLine(text.substr(5), gull);
            set.Levels.Items(level).GullRecords.Add(gull);
        }
    }
    set.PackLoaded = false;
}
