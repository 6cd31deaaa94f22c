// The composite image of Photoshop files (".psd", ".pdd"): RGB or greyscale,
// 8 or 16 bits per channel, raw or PackBits-compressed, with an alpha channel
// when the file has one. Photoshop mattes the composite's partly transparent
// pixels with white; the matte is taken out again.
#pragma once

#include "textures/image32.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kavlen {

std::optional<Image32> decodePsd(std::span<const std::uint8_t> bytes);

} // namespace kavlen
