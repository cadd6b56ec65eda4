// Where the file of a font face is found: through fontconfig on the desktop, among the faces the
// page ships in the browser. Internal to the platform layer.
#pragma once

#include <string>

namespace platform {

struct FaceFile {
    std::string path;
    int index = 0;  // of the face within the file
};

// The file for a face name, weight and slant; null when there is none. Remembered, because the
// screens create their fonts anew each time they draw.
const FaceFile* FindFace(const char* family, bool bold, bool italic);

}  // namespace platform
