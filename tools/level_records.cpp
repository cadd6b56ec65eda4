// Reading and writing the text level file.
#include "level_records.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace znpack {
namespace {

constexpr std::size_t kMaxLine = 1023;

// Splits at commas as strtok does: empty pieces do not exist.
std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : text) {
        if (c == ',') {
            if (!piece.empty()) {
                pieces.push_back(piece);
            }
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) {
        pieces.push_back(piece);
    }
    return pieces;
}

std::int32_t Integer(const std::string& piece) {
    return static_cast<std::int32_t>(std::strtol(piece.c_str(), nullptr, 10));
}

// Reads one line of at most kMaxLine characters, its line feed included when it fits.
bool NextLine(std::istream& in, std::string& line) {
    line.clear();
    char c = 0;
    while (line.size() < kMaxLine && in.get(c)) {
        line += c;
        if (c == '\n') {
            break;
        }
    }
    return !line.empty();
}

LevelRecord ParseLevel(const std::string& body) {
    LevelRecord level;
    std::int32_t* fields[] = {&level.MaxBombs, &level.BazzleVisits, &level.EggCount,
                              &level.GullCount};
    std::size_t pos = 0;
    std::size_t field = 0;
    while (field < 4) {
        while (pos < body.size() && body[pos] == ',') {
            ++pos;
        }
        if (pos >= body.size()) {
            return level;
        }
        const std::size_t comma = body.find(',', pos);
        const std::size_t end = comma == std::string::npos ? body.size() : comma;
        *fields[field++] = Integer(body.substr(pos, end - pos));
        pos = comma == std::string::npos ? body.size() : comma + 1;
    }
    std::string name = body.substr(std::min(pos, body.size()));
    const std::size_t cut = name.find_last_of("\\:");
    level.PictureName = cut == std::string::npos ? name : name.substr(cut + 1);
    return level;
}

}  // namespace

std::vector<LevelRecord> ReadLevelFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw LevelError("Unable to open level file " + path.string());
    }
    std::string line;
    NextLine(in, line);
    if (line != std::string(kLevelFileHeader) + "\n" &&
        line != std::string(kLevelFileHeader) + "\r\n") {
        throw LevelError(path.string() + " is not a valid Zintrel Level File");
    }
    std::vector<LevelRecord> levels;
    GullRecord gull;
    while (NextLine(in, line)) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.pop_back();
        }
        if (line.rfind("Level=", 0) == 0) {
            levels.push_back(ParseLevel(line.substr(6)));
        } else if (!levels.empty() && line.rfind("Gull=", 0) == 0) {
            std::int32_t* fields[] = {&gull.X,     &gull.Y,    &gull.DX,  &gull.DY,
                                      &gull.AGull, &gull.MinY, &gull.MaxY};
            const std::vector<std::string> pieces = Pieces(line.substr(5));
            for (std::size_t k = 0; k < pieces.size() && k < 7; ++k) {
                *fields[k] = Integer(pieces[k]);
                if (k == 1) {
                    gull.MinY = gull.MaxY = gull.Y;
                }
            }
            levels.back().Gulls.push_back(gull);
        }
    }
    return levels;
}

void WriteLevelFile(const std::filesystem::path& path, const std::vector<LevelRecord>& levels) {
    std::ostringstream text;
    text << kLevelFileHeader << "\r\n";
    for (const LevelRecord& level : levels) {
        text << "Level=" << level.MaxBombs << ',' << level.BazzleVisits << ',' << level.EggCount
             << ',' << level.Gulls.size();
        if (!level.PictureName.empty()) {
            text << ',' << level.PictureName;
        }
        text << "\r\n";
        for (const GullRecord& g : level.Gulls) {
            text << "Gull=" << g.X << ',' << g.Y << ',' << g.DX << ',' << g.DY << ',' << g.AGull
                 << ',' << g.MinY << ',' << g.MaxY << "\r\n";
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text.str();
    if (!out.flush()) {
        throw LevelError("Unable to write level file " + path.string());
    }
}

}  // namespace znpack
