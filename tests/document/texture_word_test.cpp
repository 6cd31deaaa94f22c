#include "document/package.h"

#include <gtest/gtest.h>

using namespace kavlen;
using UV = TextureWordInfo::UV;

TEST(TextureWord, DecodesEveryCornerAndMirroring) {
    struct Case {
        int corner;
        bool mirrored;
        UV v0, v1, v2;
    };
    const Case cases[] = {
        {0, false, {0, 0}, {1, 0}, {0, 1}}, {0, true, {1, 0}, {0, 0}, {1, 1}},
        {2, false, {1, 0}, {1, 1}, {0, 0}}, {2, true, {0, 0}, {0, 1}, {1, 0}},
        {4, false, {1, 1}, {0, 1}, {1, 0}}, {4, true, {0, 1}, {1, 1}, {0, 0}},
        {6, false, {0, 1}, {0, 0}, {1, 1}}, {6, true, {1, 1}, {1, 0}, {0, 1}},
    };
    for (const Case& c : cases) {
        const std::uint16_t word =
            static_cast<std::uint16_t>((c.mirrored ? 0x8000 : 0) | (c.corner << 12) | 123);
        const TextureWordInfo info = decodeTextureWord(word);
        SCOPED_TRACE(::testing::Message() << "corner " << c.corner << " mirrored " << c.mirrored);
        EXPECT_EQ(info.index, 123);
        EXPECT_EQ(info.corner, c.corner);
        EXPECT_EQ(info.mirrored, c.mirrored);
        EXPECT_EQ(info.pairs[0], c.v0);
        EXPECT_EQ(info.pairs[1], c.v1);
        EXPECT_EQ(info.pairs[2], c.v2);
        EXPECT_EQ(encodeTextureWord(info), word);
    }
}

TEST(TextureWord, OddCornersGiveZeroPairs) {
    const TextureWordInfo info = decodeTextureWord(0x9005);
    EXPECT_EQ(info.index, 5);
    EXPECT_EQ(info.corner, 1);
    EXPECT_TRUE(info.mirrored);
    for (const UV& p : info.pairs)
        EXPECT_EQ(p, (UV{0, 0}));
}

TEST(TextureWord, EncodeAndHighBits) {
    TextureWordInfo info;
    info.index = 7;
    info.corner = 4;
    info.mirrored = true;
    EXPECT_EQ(encodeTextureWord(info), 0xC007);

    std::uint16_t word = 0x9ABC;
    setTextureWordHighBits(word, 0x6000);
    EXPECT_EQ(word, 0x6ABC);
}

TEST(TextureWord, QuadWordsAreSigned) {
    MeshFace quad;
    quad.shape = kShapeQuad;
    quad.texture = static_cast<std::uint16_t>(-5);
    EXPECT_EQ(faceSampleIndex(quad), 5);
    EXPECT_TRUE(faceMirrored(quad));

    assignFaceSample(quad, 9); // keeps the mirroring
    EXPECT_EQ(static_cast<std::int16_t>(quad.texture), -9);

    quad.texture = 3;
    assignFaceSample(quad, 12);
    EXPECT_EQ(quad.texture, 12);
    EXPECT_FALSE(faceMirrored(quad));
}

TEST(TextureWord, AssigningToTriangleKeepsCornerAndMirror) {
    MeshFace tri;
    tri.shape = kShapeTriangle;
    tri.texture = 0xE123;
    assignFaceSample(tri, 0x456);
    EXPECT_EQ(tri.texture, 0xE456);
    EXPECT_EQ(faceSampleIndex(tri), 0x456);
    EXPECT_TRUE(faceMirrored(tri));
}

TEST(AttributeWord, ShineAndTransparency) {
    EXPECT_EQ(withShine(0xFF81, 5), 0x0001 | (5 << 2) | 2); // high bits cleared, opacity kept
    EXPECT_EQ(withShine(0xFF80, 0), 0);
    EXPECT_EQ(shineStrength(withShine(0, 31)), 31);
    EXPECT_EQ(shineStrength(0x007C), 0); // strength without the shine bit means off
    EXPECT_EQ(withTransparency(0x0100, true), 0x0101);
    EXPECT_EQ(withTransparency(0x0103, false), 0x0102);
}
