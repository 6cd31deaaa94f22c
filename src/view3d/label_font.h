// The 8 x 13 bitmap font of the view's labels, compiled into display lists
// kLabelFontListBase + c for the printable character codes c (32 .. 126).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kavlen {

inline constexpr unsigned kLabelFontListBase = 1000;
inline constexpr int kLabelGlyphWidth = 8;
inline constexpr int kLabelGlyphHeight = 13;
inline constexpr int kLabelFirstChar = 32;
inline constexpr int kLabelLastChar = 126;

using LabelGlyph = std::array<std::uint8_t, kLabelGlyphHeight>; // bottom row first, bit 7 left

// Glyph of a printable character code, or nullptr for other codes.
const LabelGlyph* labelGlyph(int code);

// Compiles the font lists; the context must be current.
void buildLabelFont();
void releaseLabelFont();
// Draws text at the current raster position in the current colour.
void drawLabel(std::string_view text);

} // namespace kavlen
