#include "document/package.h"

namespace kavlen {

namespace {

using UV = TextureWordInfo::UV;

// Sample corners of triangle vertices 0, 1, 2 by corner (0, 2, 4, 6) and mirroring.
constexpr UV kCornerPairs[4][2][3] = {
    {{{0, 0}, {1, 0}, {0, 1}}, {{1, 0}, {0, 0}, {1, 1}}},
    {{{1, 0}, {1, 1}, {0, 0}}, {{0, 0}, {0, 1}, {1, 0}}},
    {{{1, 1}, {0, 1}, {1, 0}}, {{0, 1}, {1, 1}, {0, 0}}},
    {{{0, 1}, {0, 0}, {1, 1}}, {{1, 1}, {1, 0}, {0, 1}}},
};

} // namespace

TextureWordInfo decodeTextureWord(std::uint16_t word) {
    TextureWordInfo info;
    info.index = word & 0x0FFF;
    info.corner = static_cast<std::uint8_t>((word & 0x7000) >> 12);
    info.mirrored = (word & 0x8000) != 0;
    if (info.corner % 2 == 0) {
        const auto& pairs = kCornerPairs[info.corner / 2][info.mirrored ? 1 : 0];
        info.pairs = {pairs[0], pairs[1], pairs[2]};
    }
    return info;
}

std::uint16_t encodeTextureWord(const TextureWordInfo& info) {
    return static_cast<std::uint16_t>((info.mirrored ? 0x8000 : 0) | ((info.corner & 7) << 12) |
                                      (info.index & 0x0FFF));
}

void setTextureWordHighBits(std::uint16_t& word, std::uint16_t highBits) {
    word = static_cast<std::uint16_t>((word & 0x0FFF) | highBits);
}

std::uint16_t faceSampleIndex(const MeshFace& face) {
    if (face.shape == kShapeQuad) {
        const int value = static_cast<std::int16_t>(face.texture);
        return static_cast<std::uint16_t>(value < 0 ? -value : value);
    }
    return face.texture & 0x0FFF;
}

bool faceMirrored(const MeshFace& face) {
    if (face.shape == kShapeQuad)
        return static_cast<std::int16_t>(face.texture) < 0;
    return (face.texture & 0x8000) != 0;
}

void assignFaceSample(MeshFace& face, std::uint16_t sample) {
    if (face.shape == kShapeQuad) {
        const bool mirrored = static_cast<std::int16_t>(face.texture) < 0;
        const int value = mirrored ? -int(sample) : int(sample);
        face.texture = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    } else {
        face.texture = static_cast<std::uint16_t>((face.texture & 0xF000) | (sample & 0x0FFF));
    }
}

} // namespace kavlen
