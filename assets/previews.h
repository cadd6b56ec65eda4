// Review pictures: enlarged contact sheets of every sprite sheet and a composed play scene.
#pragma once

#include <filesystem>

namespace bake {

void WritePreviews(const std::filesystem::path& folder);

}  // namespace bake
