// The program's icon: a gull over the paddle and a ball, for the desktop's menus and launchers.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>
#include <vector>

namespace bake {

// The pixel sizes of the icon theme's fixed-size folders.
const std::vector<int>& IconSizes();

// Paints the icon on a square of 64 by 64 units at the origin of `cr`, transparent around its
// rounded corners.
void PaintIcon(cairo_t* cr);

// Writes the icon as `name`.png at every size in the theme's "NxN/apps" folders under `out`,
// and as `name`.svg in "scalable/apps".
void WriteIcons(const std::filesystem::path& out, const std::string& name);

}  // namespace bake
