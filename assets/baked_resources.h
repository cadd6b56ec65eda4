// The sprite sheets and sounds baked into the program, as the table FindResourceA searches.
#pragma once

#include <span>

#include "platform/api/resources.h"

std::span<const platform::ResourceEntry> BakedResources();
