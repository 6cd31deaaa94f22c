// Colours of the 3D view. Stored colours are 0x00BBGGRR (red in the low byte);
// the drawing code works with separate red, green and blue bytes.
#pragma once

#include <cstdint>

namespace kavlen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb rgbOfColorRef(std::uint32_t color) {
    return {static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
            static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}

inline constexpr std::uint32_t colorRefOf(Rgb c) {
    return std::uint32_t(c.r) | (std::uint32_t(c.g) << 8) | (std::uint32_t(c.b) << 16);
}

inline constexpr Rgb kRgbWhite{255, 255, 255};
inline constexpr Rgb kRgbRed{255, 0, 0};
inline constexpr Rgb kRgbLime{0, 255, 0};
inline constexpr Rgb kRgbBlue{0, 0, 255};
inline constexpr Rgb kRgbYellow{255, 255, 0};

// Default view colours (background belongs to the GL view).
inline constexpr std::uint32_t kDefaultBackgroundColor = 0x005A411E; // red 30, green 65, blue 90
inline constexpr std::uint32_t kColorAqua = 0x00FFFF00;
inline constexpr std::uint32_t kColorYellow = 0x0000FFFF;
inline constexpr std::uint32_t kColorGreen = 0x00008000;
inline constexpr std::uint32_t kColorLime = 0x0000FF00;
inline constexpr std::uint32_t kColorRed = 0x000000FF;
inline constexpr std::uint32_t kColorGray = 0x00808080;

} // namespace kavlen
