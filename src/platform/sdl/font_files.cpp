// Font faces found through fontconfig, which resolves "Arial" to the metric-compatible
// Liberation Sans.
#include "platform/sdl/font_files.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace platform {

const FaceFile* FindFace(const char* family, bool bold, bool italic) {
    static std::map<std::tuple<std::string, bool, bool>, FaceFile> found;
    std::string key(family);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto entry = std::make_tuple(key, bold, italic);
    if (auto known = found.find(entry); known != found.end()) {
        return &known->second;
    }
    if (FcInit() == FcFalse) {
        return nullptr;
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return nullptr;
    }
    FcChar8* file = nullptr;
    FaceFile face;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        face.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &face.index);
    }
    FcPatternDestroy(match);
    if (face.path.empty()) {
        return nullptr;
    }
    return &found.emplace(entry, face).first->second;
}

}  // namespace platform
