#include "interchange/obj_material_name.h"

#include "interchange/text_numbers.h"

#include <charconv>
#include <vector>

namespace kavlen {

namespace {

// Corner code of a triangle's corner, and back.
constexpr char kCornerCode[8] = {'1', '5', '4', '6', '2', '7', '3', '8'};
constexpr std::uint8_t kCornerOfCode[9] = {0, 0, 4, 6, 2, 1, 3, 5, 7};

// Leading decimal digits (at most `maxDigits` of them) as a number; nothing when
// there are none or too many.
std::optional<long> leadingNumber(std::string_view text, std::size_t maxDigits, bool wholeText) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || digits > maxDigits || (wholeText && digits != text.size()))
        return std::nullopt;
    long value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    return negative ? -value : value;
}

} // namespace

std::string objMaterialName(const MeshFace& face) {
    std::string name = faceMirrored(face) ? "FLIPED_" : "TEXTUR_";
    std::string number = std::to_string(faceSampleIndex(face));
    if (number.size() < 4)
        number.insert(0, 4 - number.size(), '0');
    name += number;
    name += '_';
    name += face.isQuad() ? '0' : kCornerCode[(face.texture >> 12) & 7];
    name += '_';
    name += std::to_string(face.attributes);
    return name;
}

std::uint16_t ObjFaceWords::textureWord(bool asQuad) const {
    if (asQuad) {
        const int value = mirrored ? -int(sample) : int(sample);
        return static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    }
    TextureWordInfo info;
    info.index = static_cast<std::uint16_t>(sample & 0x0FFF);
    info.corner = quad ? 0 : corner;
    info.mirrored = mirrored;
    return encodeTextureWord(info);
}

std::optional<ObjFaceWords> parseObjMaterialName(std::string_view name) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; fields.size() < 4;) {
        const std::size_t end = name.find('_', start);
        if (end == std::string_view::npos || fields.size() == 3) {
            fields.push_back(name.substr(start));
            break;
        }
        fields.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() != 4)
        return std::nullopt;
    ObjFaceWords words;
    const std::string prefix = upperAscii(fields[0]);
    if (prefix != "TEXTUR" && prefix != "FLIPED")
        return std::nullopt;
    words.mirrored = prefix == "FLIPED";
    const auto sample = leadingNumber(fields[1], 5, true);
    if (fields[2].size() != 1 || fields[2][0] < '0' || fields[2][0] > '8')
        return std::nullopt;
    const int code = fields[2][0] - '0';
    words.quad = code == 0;
    words.corner = kCornerOfCode[code];
    if (!sample || *sample < 0 || *sample > (words.quad ? 32768 : 4095))
        return std::nullopt;
    if (words.quad && *sample == 32768 && !words.mirrored)
        return std::nullopt;
    words.sample = static_cast<std::uint16_t>(*sample);
    // The attribute word, as written (0..65535) or as a signed 16-bit number.
    const auto attributes = leadingNumber(fields[3], 5, false);
    if (!attributes || *attributes < -32768 || *attributes > 65535)
        return std::nullopt;
    words.attributes = static_cast<std::uint16_t>(*attributes & 0xFFFF);
    return words;
}

} // namespace kavlen
