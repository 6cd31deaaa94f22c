// Truevision Targa pictures (every variant: true colour, grey, colour-mapped,
// RLE, either row order) through stb_image.
#pragma once

#include "textures/image32.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kavlen {

std::optional<Image32> decodeTga(std::span<const std::uint8_t> bytes);

} // namespace kavlen
