// The game record after a frame of play as a digest and as a full dump, and the comparison of
// two dumps.
#include "platform/session/dumps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace platform {

namespace {

// The values a parted replay names at most.
constexpr std::size_t kDifferencesShown = 12;

// Folds values, by their exact bits, into a short hash shown as eight hex digits.
class DigestHash {
  public:
    void Add(std::int64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF)) *
                    1099511628211ull;
        }
    }
    void Add(double value) {
        std::int64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Add(bits);
    }
    std::string Text() const { return Hex(static_cast<std::uint32_t>((hash_ >> 32) ^ hash_)); }
    static std::string Hex(std::uint32_t value) {
        char text[9];
        std::snprintf(text, sizeof text, "%08x", value);
        return text;
    }

  private:
    std::uint64_t hash_ = 14695981039346656037ull;
};

}  // namespace

void FrameRecord::Show(const char* name, std::int64_t value, bool hex) {
    groups_.push_back({name, false});
    sprite_ = kNone;
    Append(name, hex ? Kind::Hex : Kind::Integer, value, 0);
}

void FrameRecord::Group(const char* name) {
    groups_.push_back({name, true});
    sprite_ = kNone;
}

void FrameRecord::Sprite(int index) {
    sprite_ = index;
}

void FrameRecord::Count(std::int64_t count) {
    entries_.push_back({groups_.size() - 1, kSingle, "count", Kind::Integer, count, 0});
}

void FrameRecord::Add(const char* name, std::int64_t value) {
    Append(name, Kind::Integer, value, 0);
}

void FrameRecord::Add(const char* name, double value) {
    Append(name, Kind::Real, 0, value);
}

void FrameRecord::Append(const char* name, Kind kind, std::int64_t integer, double real) {
    entries_.push_back({groups_.size() - 1, sprite_, name, kind, integer, real});
}

FrameDigest FrameRecord::Digest() const {
    FrameDigest digest;
    auto entry = entries_.begin();
    for (std::size_t group = 0; group < groups_.size(); ++group) {
        if (!groups_[group].hashed) {
            digest.push_back({groups_[group].name, Value(*entry++)});
            continue;
        }
        DigestHash hash;
        for (; entry != entries_.end() && entry->group == group; ++entry) {
            if (entry->kind == Kind::Real) {
                hash.Add(entry->real);
            } else {
                hash.Add(entry->integer);
            }
        }
        digest.push_back({groups_[group].name, hash.Text(), true});
    }
    return digest;
}

FrameDigest FrameRecord::Dump() const {
    FrameDigest dump;
    dump.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        dump.push_back({Name(entry), Value(entry)});
    }
    return dump;
}

std::string FrameRecord::Name(const Entry& entry) const {
    if (entry.sprite == kNone) {
        return entry.name;
    }
    std::string name = groups_[entry.group].name;
    if (entry.sprite != kSingle) {
        name.append("[").append(std::to_string(entry.sprite)).append("]");
    }
    return name + "." + entry.name;
}

std::string ShortestText(double value) {
    if (std::isnan(value) || std::isinf(value)) {
        return std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
                                 : (value < 0 ? "-inf" : "inf");
    }
    // The fewest significant digits that read back as the value: printf rounds to the nearest,
    // and where any number of so many digits reads back, the nearest does.
    char scientific[40];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
        if (std::strtod(scientific, nullptr) == value) {
            break;
        }
    }
    // "-d.ddde+XX": the sign, the digits without the point, the exponent.
    const std::string text = scientific;
    const std::size_t mark = text.find('e');
    const std::string sign = std::signbit(value) ? "-" : "";
    std::string digits = text.substr(sign.size(), mark - sign.size());
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const int exponent = std::atoi(text.c_str() + mark + 1);
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (digits.size() <= static_cast<std::size_t>(exponent) + 1) {
        // A whole number: of the texts as long, the one nearest the value is the value itself.
        char whole[320];
        std::snprintf(whole, sizeof whole, "%.0f", std::fabs(value));
        fixed = whole;
    } else {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
                digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    // The shorter of the two; fixed where they are as long.
    return fixed.size() <= text.size() - sign.size() ? sign + fixed : text;
}

std::string FrameRecord::Value(const Entry& entry) {
    switch (entry.kind) {
        case Kind::Hex:
            return DigestHash::Hex(static_cast<std::uint32_t>(entry.integer));
        case Kind::Real:
            return ShortestText(entry.real);
        case Kind::Integer:
            break;
    }
    return std::to_string(entry.integer);
}

std::string DumpDifferences(const FrameDigest& recorded, const FrameDigest& replayed) {
    std::map<std::string, const std::string*> was, is;
    for (const DigestField& field : recorded) {
        was.emplace(field.name, &field.value);
    }
    for (const DigestField& field : replayed) {
        is.emplace(field.name, &field.value);
    }
    std::vector<std::string> differences;
    std::set<std::string> compared;
    const auto compare = [&](const std::string& name) {
        if (!compared.insert(name).second) {
            return;
        }
        const auto recordedValue = was.find(name);
        const auto replayedValue = is.find(name);
        const std::string a = recordedValue == was.end() ? "nothing" : *recordedValue->second;
        const std::string b = replayedValue == is.end() ? "nothing" : *replayedValue->second;
        if (a != b) {
            differences.push_back(name + " recorded " + a + ", replayed " + b);
        }
    };
    // Both dumps come from the same enumeration: what one of them lacks (a sprite more in a
    // list) takes its place between the names they share.
    std::size_t r = 0;
    std::size_t p = 0;
    while (r < recorded.size() || p < replayed.size()) {
        if (r < recorded.size() && (p == replayed.size() || !is.count(recorded[r].name))) {
            compare(recorded[r++].name);
        } else if (p < replayed.size() && (r == recorded.size() || !was.count(replayed[p].name))) {
            compare(replayed[p++].name);
        } else {
            compare(recorded[r++].name);
            compare(replayed[p++].name);
        }
    }
    if (differences.empty()) {
        return "every value matches the record";
    }
    std::string text;
    for (std::size_t i = 0; i < std::min(differences.size(), kDifferencesShown); ++i) {
        text += (i == 0 ? "" : "; ") + differences[i];
    }
    if (differences.size() > kDifferencesShown) {
        text += "; and " + std::to_string(differences.size() - kDifferencesShown) + " more";
    }
    return text;
}

}  // namespace platform
