// The 640 by 480 pictures: level scenes of the coast at different hours, and the title picture.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace bake {

enum class Hour { Dawn, Morning, Noon, Afternoon, Sunset, Dusk, Night, Overcast };
enum class Shore { Beach, Dunes, Cliffs, Harbour, Lighthouse, Pier, Rocks, Island };

struct Scene {
    std::string file;  // the JPEG's file name
    Hour hour;
    Shore shore;
    std::uint32_t seed;

    Image Render() const;
};

// Every level picture: the first 25 go into the shipped pack, the rest beside the level file.
const std::vector<Scene>& LevelScenes();
inline constexpr std::size_t kPackScenes = 25;

Image RenderTitle();

inline constexpr int kJpegQuality = 88;

}  // namespace bake
