// ReadLevelText and WriteLevelText: the level file's lines, split by the C library's rules.
#include "levelformat/leveltext.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>

namespace levelformat {
namespace {

constexpr std::size_t kMaxLine = 1023;

// Hands out the lines of a text as fgets would in text mode: up to kMaxLine characters, through
// the first line feed. A carriage return before a line feed is dropped before counting, so both
// line ends read alike.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}

    // False when the text is used up.
    bool Next(std::string& line) {
        line.clear();
        while (line.size() < kMaxLine && position_ < text_.size()) {
            char c = text_[position_++];
            if (c == '\r' && position_ < text_.size() && text_[position_] == '\n') {
                c = '\n';
                ++position_;
            }
            line.push_back(c);
            if (c == '\n') {
                break;
            }
        }
        return !line.empty();
    }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

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

constexpr std::string_view kLineEnd = "\r\n";

void AppendNumbers(std::string& text, std::initializer_list<std::int32_t> numbers) {
    const char* separator = "";
    for (const std::int32_t number : numbers) {
        text += separator;
        text += std::to_string(number);
        separator = ",";
    }
}

}  // namespace

ReadResult<TZNLevelList> ReadLevelText(std::string_view text, const std::string& fileName) {
    ReadResult<TZNLevelList> result;
    Lines lines(text);
    std::string line;
    if (!lines.Next(line) || line != std::string(kLevelFileHeader) + "\n") {
        result.Error = fileName + " is not a valid Zintrel Level File";
        return result;
    }
    TZNLevelList& levels = result.Value;
    TZNGull gull;
    while (lines.Next(line)) {
        const std::string_view body = line;
        if (body.starts_with("Level=")) {
            levels.Add(ReadLevelLine(body.substr(6)));
        } else if (levels.Count > 0 && body.starts_with("Gull=")) {
            ReadGullLine(body.substr(5), gull);
            levels.Items(levels.Count - 1).GullRecords.Add(gull);
        }
    }
    return result;
}

std::string WriteLevelText(const TZNLevelList& levels) {
    std::string text(kLevelFileHeader);
    text += kLineEnd;
    for (const TZNLevelWrapper& level : levels) {
        text += "Level=";
        AppendNumbers(
            text, {level.MaxBombs, level.BazzleVisits, level.EggCount, level.GullRecords.Count});
        if (!level.PictureName.empty()) {
            text += ',';
            text += level.PictureName;
        }
        text += kLineEnd;
        for (const TZNGull& gull : level.GullRecords) {
            text += "Gull=";
            AppendNumbers(text,
                          {gull.X, gull.Y, gull.DX, gull.DY, gull.AGull, gull.MinY, gull.MaxY});
            text += kLineEnd;
        }
    }
    return text;
}

}  // namespace levelformat
