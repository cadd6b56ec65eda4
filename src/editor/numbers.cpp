// Reading typed numbers into named fields within their ranges.
#include "editor/numbers.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace editor {

std::string NamesOf(std::span<const NumberField> fields) {
    std::string names;
    for (const NumberField& field : fields) {
        if (!names.empty()) {
            names.push_back(',');
        }
        names.append(field.Name);
    }
    return names;
}

std::string RangesOf(std::span<const NumberField> fields) {
    std::string text;
    for (const NumberField& field : fields) {
        if (!text.empty()) {
            text += "  ";
        }
        text += std::string(field.Name) + " " + std::to_string(field.Low) + ".." +
                std::to_string(field.High);
    }
    return text;
}

TypedNumbers ReadTyped(const std::string& typed, std::span<const NumberField> fields) {
    std::string spaced = typed;
    for (char& c : spaced) {
        if (c == ',') {
            c = ' ';
        }
    }
    std::istringstream words(spaced);
    std::vector<std::string> pieces;
    for (std::string piece; words >> piece;) {
        pieces.push_back(piece);
    }
    TypedNumbers read;
    if (pieces.size() != fields.size()) {
        read.Problem = "Not taken: type " +
                       (fields.size() == 1 ? std::string("one number: ")
                                           : std::to_string(fields.size()) + " numbers: ") +
                       NamesOf(fields) + ", or Esc";
        return read;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const NumberField& field = fields[i];
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(pieces[i].c_str(), &end, 10);
        if (*end != '\0' || errno == ERANGE || value < field.Low || value > field.High) {
            read.Problem = "Not taken: " + std::string(field.Name) +
                           " must be a whole number from " + std::to_string(field.Low) + " to " +
                           std::to_string(field.High);
            read.Values.clear();
            return read;
        }
        read.Values.push_back(static_cast<std::int32_t>(value));
    }
    return read;
}

std::string GullNumbers(const TZNGull& gull) {
    std::string numbers;
    for (const std::int32_t value :
         {gull.X, gull.Y, gull.DX, gull.DY, gull.AGull, gull.MinY, gull.MaxY}) {
        if (!numbers.empty()) {
            numbers.push_back(',');
        }
        numbers.append(std::to_string(value));
    }
    return numbers;
}

}  // namespace editor
