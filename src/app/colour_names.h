// Colours in the settings file: a colour name ("clRed", "clBtnFace", ...) when
// the colour has one, otherwise "$" and eight hexadecimal digits of 0x00BBGGRR.
// Reading also accepts plain decimal numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavlen {

// System colours carry this tag in the high byte and the platform's colour index
// in the low byte; they stand for the desktop's current colour of that role.
inline constexpr std::uint32_t kSystemColourTag = 0xFF000000u;

inline bool isSystemColour(std::uint32_t colour) {
    return (colour & 0xFF000000u) == kSystemColourTag;
}

// Index of each system colour (the low byte of its value).
enum class SystemColour : std::uint8_t {
    ScrollBar = 0,
    Background = 1,
    ActiveCaption = 2,
    InactiveCaption = 3,
    Menu = 4,
    Window = 5,
    WindowFrame = 6,
    MenuText = 7,
    WindowText = 8,
    CaptionText = 9,
    ActiveBorder = 10,
    InactiveBorder = 11,
    AppWorkSpace = 12,
    Highlight = 13,
    HighlightText = 14,
    BtnFace = 15,
    BtnShadow = 16,
    GrayText = 17,
    BtnText = 18,
    InactiveCaptionText = 19,
    BtnHighlight = 20,
    DkShadow3D = 21,
    Light3D = 22,
    InfoText = 23,
    InfoBk = 24,
    HotLight = 26,
    GradientActiveCaption = 27,
    GradientInactiveCaption = 28,
    MenuHighlight = 29,
    MenuBar = 30,
};

// The colour written for a value: its name or "$" + 8 hex digits.
std::string colourToText(std::uint32_t colour);
// A colour name, "$" + 1 to 8 hex digits, or a decimal number (negative numbers
// as the 32-bit pattern); nullopt for anything else.
std::optional<std::uint32_t> colourFromText(std::string_view text);

// An integer as the settings file holds it: decimal, or "$" (or "0x") and up to
// eight hex digits read as a 32-bit pattern.
std::optional<std::int64_t> integerFromText(std::string_view text);

} // namespace kavlen
