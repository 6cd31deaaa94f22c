#include "app/colour_names.h"

#include "app/ini_file.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace kavlen {

namespace {

struct NamedColour {
    std::string_view name;
    std::uint32_t value;
};

constexpr std::uint32_t sys(SystemColour c) {
    return kSystemColourTag | static_cast<std::uint32_t>(c);
}

constexpr std::array kNamedColours = {
    NamedColour{"clBlack", 0x000000},
    NamedColour{"clMaroon", 0x000080},
    NamedColour{"clGreen", 0x008000},
    NamedColour{"clOlive", 0x008080},
    NamedColour{"clNavy", 0x800000},
    NamedColour{"clPurple", 0x800080},
    NamedColour{"clTeal", 0x808000},
    NamedColour{"clGray", 0x808080},
    NamedColour{"clSilver", 0xC0C0C0},
    NamedColour{"clRed", 0x0000FF},
    NamedColour{"clLime", 0x00FF00},
    NamedColour{"clYellow", 0x00FFFF},
    NamedColour{"clBlue", 0xFF0000},
    NamedColour{"clFuchsia", 0xFF00FF},
    NamedColour{"clAqua", 0xFFFF00},
    NamedColour{"clWhite", 0xFFFFFF},
    NamedColour{"clMoneyGreen", 0xC0DCC0},
    NamedColour{"clSkyBlue", 0xF0CAA6},
    NamedColour{"clCream", 0xF0FBFF},
    NamedColour{"clMedGray", 0xA4A0A0},
    NamedColour{"clScrollBar", sys(SystemColour::ScrollBar)},
    NamedColour{"clBackground", sys(SystemColour::Background)},
    NamedColour{"clActiveCaption", sys(SystemColour::ActiveCaption)},
    NamedColour{"clInactiveCaption", sys(SystemColour::InactiveCaption)},
    NamedColour{"clMenu", sys(SystemColour::Menu)},
    NamedColour{"clWindow", sys(SystemColour::Window)},
    NamedColour{"clWindowFrame", sys(SystemColour::WindowFrame)},
    NamedColour{"clMenuText", sys(SystemColour::MenuText)},
    NamedColour{"clWindowText", sys(SystemColour::WindowText)},
    NamedColour{"clCaptionText", sys(SystemColour::CaptionText)},
    NamedColour{"clActiveBorder", sys(SystemColour::ActiveBorder)},
    NamedColour{"clInactiveBorder", sys(SystemColour::InactiveBorder)},
    NamedColour{"clAppWorkSpace", sys(SystemColour::AppWorkSpace)},
    NamedColour{"clHighlight", sys(SystemColour::Highlight)},
    NamedColour{"clHighlightText", sys(SystemColour::HighlightText)},
    NamedColour{"clBtnFace", sys(SystemColour::BtnFace)},
    NamedColour{"clBtnShadow", sys(SystemColour::BtnShadow)},
    NamedColour{"clGrayText", sys(SystemColour::GrayText)},
    NamedColour{"clBtnText", sys(SystemColour::BtnText)},
    NamedColour{"clInactiveCaptionText", sys(SystemColour::InactiveCaptionText)},
    NamedColour{"clBtnHighlight", sys(SystemColour::BtnHighlight)},
    NamedColour{"cl3DDkShadow", sys(SystemColour::DkShadow3D)},
    NamedColour{"cl3DLight", sys(SystemColour::Light3D)},
    NamedColour{"clInfoText", sys(SystemColour::InfoText)},
    NamedColour{"clInfoBk", sys(SystemColour::InfoBk)},
    NamedColour{"clHotLight", sys(SystemColour::HotLight)},
    NamedColour{"clGradientActiveCaption", sys(SystemColour::GradientActiveCaption)},
    NamedColour{"clGradientInactiveCaption", sys(SystemColour::GradientInactiveCaption)},
    NamedColour{"clMenuHighlight", sys(SystemColour::MenuHighlight)},
    NamedColour{"clMenuBar", sys(SystemColour::MenuBar)},
};

} // namespace

std::string colourToText(std::uint32_t colour) {
    for (const NamedColour& c : kNamedColours)
        if (c.value == colour)
            return std::string(c.name);
    char text[10];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour));
    return text;
}

std::optional<std::int64_t> integerFromText(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const bool hex =
        *first == '$' || (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X")));
    if (hex) {
        first += *first == '$' ? 1 : 2;
        if (first == last || last - first > 8)
            return std::nullopt;
        std::uint32_t value = 0;
        const auto [p, ec] = std::from_chars(first, last, value, 16);
        if (ec != std::errc() || p != last)
            return std::nullopt;
        // Eight hex digits are a 32-bit pattern, as the decimal form below.
        return static_cast<std::int32_t>(value);
    }
    if (*first == '+' && ++first != last && *first == '-')
        return std::nullopt;
    std::int64_t value = 0;
    const auto [p, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || p != last || value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> colourFromText(std::string_view text) {
    for (const NamedColour& c : kNamedColours)
        if (sameName(c.name, text))
            return c.value;
    if (const auto number = integerFromText(text))
        return static_cast<std::uint32_t>(*number);
    return std::nullopt;
}

} // namespace kavlen
