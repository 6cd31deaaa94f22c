// Colours of the view are stored as 0x00BBGGRR (red in the low byte).
#pragma once

#include <cstdint>

namespace kavlen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb rgbOf(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour & 0xFF),
            static_cast<std::uint8_t>((colour >> 8) & 0xFF),
            static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

inline constexpr std::uint32_t colourOf(Rgb rgb) {
    return static_cast<std::uint32_t>(rgb.r) | (static_cast<std::uint32_t>(rgb.g) << 8) |
           (static_cast<std::uint32_t>(rgb.b) << 16);
}

// Sets the current GL colour.
void glColourOf(std::uint32_t colour);

} // namespace kavlen
