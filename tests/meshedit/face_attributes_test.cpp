#include "meshedit/face_attributes.h"
#include "test_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using test::addQuad;
using test::addTriangle;

std::uint16_t word(int signedValue) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(signedValue));
}

// One triangle (0x6003), quads -3 and 0, lit with normals.
struct FaceFixture : ::testing::Test {
    std::unique_ptr<Package> wad = test::makeBarePackage();
    int slot = test::addMesh(*wad, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    Mesh& mesh = wad->meshes[slot];
    void SetUp() override {
        mesh.normalCount = 4;
        addTriangle(mesh, 0, 1, 2, 0x6003, 0x0001);
        addQuad(mesh, 0, 1, 3, 2, word(-3), 0x0FF0);
        addQuad(mesh, 3, 2, 1, 0, 0, 0x007F);
    }
};

TEST_F(FaceFixture, TextureAllKeepsMirroringAndTriangleCorner) {
    const MeshEditResult r = textureAll(*wad, slot, 7);
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(mesh.faces[0].texture, 0x6007);
    EXPECT_EQ(mesh.faces[1].texture, word(-7));
    EXPECT_EQ(mesh.faces[2].texture, 7);
    EXPECT_EQ(textureAllQuestion(),
              (Message{MessageKind::Warning,
                       "This will destroy current texturing.\rPress OK to continue."}));
}

TEST_F(FaceFixture, TextureAllRefusesSamplesThePackageLacks) {
    for (int sample : {-1, 10, 5000}) {
        const MeshEditResult r = textureAll(*wad, slot, sample);
        EXPECT_FALSE(r.changed);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
    }
    EXPECT_EQ(mesh.faces[0].texture, 0x6003);
}

TEST_F(FaceFixture, ShineAllReplacesEverythingButTransparency) {
    MeshEditResult r = shineAll(*wad, slot, 31);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Status, "Shine set to 31 for all faces."}}));
    EXPECT_EQ(mesh.faces[0].attributes, 0x007F);
    EXPECT_EQ(mesh.faces[1].attributes, 0x007E);
    EXPECT_EQ(mesh.faces[2].attributes, 0x007F);
    r = shineAll(*wad, slot, 0);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Status, "Shine set to 0 for all faces."}}));
    EXPECT_EQ(mesh.faces[2].attributes, 0x0001);
    EXPECT_EQ(mesh.faces[1].attributes, 0x0000);
    // Read as an unsigned 16-bit number and held at 31.
    shineAll(*wad, slot, -1);
    EXPECT_EQ(mesh.faces[1].attributes, 0x007E);
    r = shineAll(*wad, slot, 40);
    EXPECT_EQ(r.messages[0].text, "Shine set to 31 for all faces.");
    shineAll(*wad, slot, 65536 + 5); // low 16 bits: 5
    EXPECT_EQ(mesh.faces[1].attributes, (5 << 2) | 2);
}

TEST_F(FaceFixture, ShineAllOnStaticLightingOnlyClears) {
    mesh.normalCount = -4;
    MeshEditResult r = shineAll(*wad, slot, 3);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages,
              (Messages{{MessageKind::Information, "Static lighting.\rDo not apply shine."}}));
    EXPECT_EQ(mesh.faces[2].attributes, 0x007F);
    r = shineAll(*wad, slot, 0);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(mesh.faces[2].attributes, 0x0001);
    EXPECT_EQ(mesh.faces[1].attributes, 0x0000);
}

TEST_F(FaceFixture, OpaqueAllSetsBitZeroOnly) {
    MeshEditResult r = opaqueAll(*wad, slot, OpacityChoice::Opaque);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Status, "All faces set to opaque."}}));
    EXPECT_EQ(mesh.faces[0].attributes, 0x0000);
    EXPECT_EQ(mesh.faces[1].attributes, 0x0FF0);
    EXPECT_EQ(mesh.faces[2].attributes, 0x007E);
    r = opaqueAll(*wad, slot, OpacityChoice::SemiTransparent);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Status, "All faces set to semi-transparent."}}));
    EXPECT_EQ(mesh.faces[1].attributes, 0x0FF1);
    r = opaqueAll(*wad, slot, OpacityChoice::None);
    EXPECT_FALSE(r.changed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(mesh.faces[1].attributes, 0x0FF1);
}

TEST_F(FaceFixture, RotateAllTurnsQuadsInFourStepsTrianglesInThree) {
    const auto tri = mesh.faces[0].vertexIndex, quad = mesh.faces[1].vertexIndex;
    rotateAll(*wad, slot);
    EXPECT_EQ(mesh.faces[0].vertexIndex, (std::array<std::uint16_t, 4>{2, 0, 1, 0}));
    EXPECT_EQ(mesh.faces[1].vertexIndex, (std::array<std::uint16_t, 4>{2, 0, 1, 3}));
    EXPECT_EQ(mesh.faces[1].texture, word(-3));
    rotateAll(*wad, slot);
    rotateAll(*wad, slot);
    EXPECT_EQ(mesh.faces[0].vertexIndex, tri);
    EXPECT_NE(mesh.faces[1].vertexIndex, quad);
    rotateAll(*wad, slot);
    EXPECT_EQ(mesh.faces[1].vertexIndex, quad);
}

TEST_F(FaceFixture, UnhideShowsEveryFaceOnlyWhenSomeWereHidden) {
    mesh.faces[1].visible = 0;
    EXPECT_FALSE(unhideFaces(*wad, slot).changed); // flag not set: nothing happens
    EXPECT_EQ(mesh.faces[1].visible, 0);
    mesh.hasHiddenFaces = 1;
    EXPECT_TRUE(unhideFaces(*wad, slot).changed);
    EXPECT_EQ(mesh.faces[1].visible, 1);
    EXPECT_EQ(mesh.hasHiddenFaces, 0);
}

TEST_F(FaceFixture, CommandsNeedAPackageAndAMeshWithFaces) {
    const Messages noWad{{MessageKind::Error, "No wad opened."}};
    const Mesh before = mesh;
    wad->version = 0;
    EXPECT_EQ(textureAll(*wad, slot, 1).messages, noWad);
    EXPECT_EQ(shineAll(*wad, slot, 1).messages, noWad);
    EXPECT_EQ(opaqueAll(*wad, slot, OpacityChoice::Opaque).messages, noWad);
    EXPECT_EQ(rotateAll(*wad, slot).messages, noWad);
    EXPECT_EQ(unhideFaces(*wad, slot).messages, noWad);
    EXPECT_TRUE(test::sameMesh(mesh, before));

    wad->version = 130;
    const int empty = test::addMesh(*wad, {{0, 0, 0}});
    for (int s : {-1, empty, 99}) {
        EXPECT_FALSE(textureAll(*wad, s, 1).changed);
        EXPECT_FALSE(shineAll(*wad, s, 1).changed);
        EXPECT_TRUE(shineAll(*wad, s, 1).messages.empty());
        EXPECT_FALSE(opaqueAll(*wad, s, OpacityChoice::Opaque).changed);
        EXPECT_FALSE(rotateAll(*wad, s).changed);
        EXPECT_FALSE(unhideFaces(*wad, s).changed);
    }
}

TEST(HairHighlight, VertexSets) {
    EXPECT_TRUE(hairVertexIndices(HairHighlight::None).empty());
    EXPECT_EQ(hairVertexIndices(HairHighlight::Lara).size(), 4u);
    EXPECT_TRUE(isHairVertex(HairHighlight::Lara, 37));
    EXPECT_TRUE(isHairVertex(HairHighlight::Lara, 40));
    EXPECT_FALSE(isHairVertex(HairHighlight::Lara, 41));
    for (int v : {68, 71, 76, 79})
        EXPECT_TRUE(isHairVertex(HairHighlight::YoungLara, v)) << v;
    for (int v : {67, 72, 75, 80, 38})
        EXPECT_FALSE(isHairVertex(HairHighlight::YoungLara, v)) << v;
    EXPECT_FALSE(isHairVertex(HairHighlight::None, 37));
}

} // namespace
} // namespace kavlen
