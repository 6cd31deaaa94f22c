// DirectDraw Surface pictures: the top mipmap level of DXT1, DXT3 and DXT5
// (decompressed with libsquish) and of uncompressed RGB, RGBA and luminance
// surfaces of 8 to 32 bits per pixel described by bit masks.
#pragma once

#include "textures/image32.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kavlen {

struct DdsHeader {
    enum class Kind { Dxt1, Dxt3, Dxt5, Masked };
    Kind kind = Kind::Masked;
    int width = 0;
    int height = 0;
    int bitCount = 0;                     // Masked only
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha (alpha 0: opaque)
    bool luminance = false;               // one grey value through the red mask
    std::size_t dataBytes = 0;            // bytes of the top level after the 128-byte header
};

// Reads and checks the header: a known pixel format, a size within limits, and
// enough data behind it for the top level. Nothing when the file does not qualify.
std::optional<DdsHeader> readDdsHeader(std::span<const std::uint8_t> bytes);

std::optional<Image32> decodeDds(std::span<const std::uint8_t> bytes);

} // namespace kavlen
