// Truevision Targa (every variant: true colour, grey, colour-mapped, RLE,
// either row order) and Photoshop composite images through stb_image.
#pragma once

#include "textures/image32.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kavlen {

std::optional<Image32> decodeTga(std::span<const std::uint8_t> bytes);
std::optional<Image32> decodePsd(std::span<const std::uint8_t> bytes);

} // namespace kavlen
